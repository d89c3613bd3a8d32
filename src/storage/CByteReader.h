#pragma once
// Bounded reading and writing of little- and big-endian fields in memory
// buffers. A read past the end sets the failed flag and yields 0, so a parser
// checks once after a group of fields.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class CByteReader {
public:
    CByteReader(const uint8_t* pData, size_t nSize) : m_p(pData), m_n(nSize) {}

    size_t Position() const { return m_pos; }
    size_t Size() const { return m_n; }
    size_t Remaining() const { return m_pos <= m_n ? m_n - m_pos : 0; }
    bool Failed() const { return m_bFailed; }
    void Seek(size_t pos) {
        if (pos > m_n)
            m_bFailed = true, m_pos = m_n;
        else
            m_pos = pos;
    }
    void Skip(size_t n) { Seek(n <= Remaining() ? m_pos + n : m_n + 1); }
    const uint8_t* Here() const { return m_p + m_pos; }

    uint8_t U8() {
        if (m_pos >= m_n) return Fail();
        return m_p[m_pos++];
    }
    uint16_t U16() {
        if (Remaining() < 2) return Fail();
        uint16_t v = static_cast<uint16_t>(m_p[m_pos] | (m_p[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint32_t U32() {
        if (Remaining() < 4) return Fail();
        uint32_t v = m_p[m_pos] | (m_p[m_pos + 1] << 8) | (m_p[m_pos + 2] << 16) |
                     (static_cast<uint32_t>(m_p[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    uint16_t U16BE() {
        if (Remaining() < 2) return Fail();
        uint16_t v = static_cast<uint16_t>((m_p[m_pos] << 8) | m_p[m_pos + 1]);
        m_pos += 2;
        return v;
    }
    uint32_t U32BE() {
        if (Remaining() < 4) return Fail();
        uint32_t v = (static_cast<uint32_t>(m_p[m_pos]) << 24) | (m_p[m_pos + 1] << 16) |
                     (m_p[m_pos + 2] << 8) | m_p[m_pos + 3];
        m_pos += 4;
        return v;
    }
    bool Bytes(void* pDest, size_t n) {
        if (Remaining() < n) {
            Fail();
            return false;
        }
        std::memcpy(pDest, m_p + m_pos, n);
        m_pos += n;
        return true;
    }

private:
    uint8_t Fail() {
        m_bFailed = true;
        m_pos = m_n;
        return 0;
    }
    const uint8_t* m_p;
    size_t m_n;
    size_t m_pos = 0;
    bool m_bFailed = false;
};

// Appends little- and big-endian fields to a byte vector.
class CByteWriter {
public:
    explicit CByteWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void U8(unsigned v) { m_out.push_back(static_cast<uint8_t>(v)); }
    void U16(unsigned v) { U8(v & 0xFF), U8((v >> 8) & 0xFF); }
    void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    void U16BE(unsigned v) { U8((v >> 8) & 0xFF), U8(v & 0xFF); }
    void U32BE(uint32_t v) { U16BE(v >> 16), U16BE(v & 0xFFFF); }
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        m_out.insert(m_out.end(), b, b + n);
    }
    void Fill(uint8_t v, size_t n) { m_out.insert(m_out.end(), n, v); }
    size_t Size() const { return m_out.size(); }
    void PutU16At(size_t pos, unsigned v) {
        m_out[pos] = static_cast<uint8_t>(v);
        m_out[pos + 1] = static_cast<uint8_t>(v >> 8);
    }
    void PutU32At(size_t pos, uint32_t v) {
        PutU16At(pos, v & 0xFFFF);
        PutU16At(pos + 2, v >> 16);
    }

private:
    std::vector<uint8_t>& m_out;
};
