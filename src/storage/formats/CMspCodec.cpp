#include "storage/formats/CMspCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

#include <cstring>

namespace {

constexpr uint16_t kV1Key1 = 0x6144, kV1Key2 = 0x4D6E; // "DanM"
constexpr uint16_t kV2Key1 = 0x694C, kV2Key2 = 0x536E; // "LinS"
constexpr size_t kHeaderSize = 32;

int ParseHeader(const uint8_t* p, size_t n, int& nVersion, int& nWidth, int& nHeight) {
    CByteReader r(p, n);
    uint16_t k1 = r.U16(), k2 = r.U16();
    nWidth = r.U16();
    nHeight = r.U16();
    if (r.Failed() || n < kHeaderSize) return IMPEXP_ERR_FILE_FORMAT;
    if (k1 == kV1Key1 && k2 == kV1Key2)
        nVersion = 1;
    else if (k1 == kV2Key1 && k2 == kV2Key2)
        nVersion = 2;
    else
        return IMPEXP_ERR_FILE_FORMAT;
    if (nWidth == 0 || nHeight == 0) return IMPEXP_ERR_INV_RANGE;
    return IMPEXP_SUCCESS;
}

// Paint's pixels are white when set; the picture keeps them as they are with
// a table that says so.
void SetTable(CRaster& out) {
    out.m_palette[0] = {0, 0, 0, 0};
    out.m_palette[1] = {255, 255, 255, 0};
}

} // namespace

bool CMspCodec::Sniff(const uint8_t* p, size_t n) {
    int v, w, h;
    return ParseHeader(p, n, v, w, h) != IMPEXP_ERR_FILE_FORMAT;
}

int CMspCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    int v;
    nBits = 1;
    return ParseHeader(p, n, v, nWidth, nHeight);
}

int CMspCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    int nVersion, w, h;
    int rc = ParseHeader(p, n, nVersion, w, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    const size_t nRow = (static_cast<size_t>(w) + 7) / 8;
    CByteReader r(p, n);
    r.Seek(kHeaderSize);
    if (nVersion == 1) {
        if (r.Remaining() < nRow * h) return IMPEXP_ERR_FILE_DAMAGED;
    } else {
        // The row-length table, then at least one byte per row.
        if (r.Remaining() < static_cast<uint64_t>(h) * 3) return IMPEXP_ERR_FILE_DAMAGED;
    }
    rc = out.Create(w, h, 1);
    if (rc != IMPEXP_SUCCESS) return rc;
    SetTable(out);
    if (nVersion == 1) {
        for (int y = 0; y < h; ++y) r.Bytes(out.Row(y), nRow);
        return IMPEXP_SUCCESS;
    }
    std::vector<uint16_t> lengths(h);
    for (int y = 0; y < h; ++y) lengths[y] = r.U16();
    for (int y = 0; y < h; ++y) {
        uint8_t* d = out.Row(y);
        size_t start = r.Position();
        if (lengths[y] == 0) {
            std::memset(d, 0xFF, nRow); // an empty row is white
            continue;
        }
        if (r.Remaining() < lengths[y]) return IMPEXP_ERR_FILE_DAMAGED;
        CByteReader row(p + start, lengths[y]);
        size_t x = 0;
        while (x < nRow && row.Remaining() > 0) {
            int type = row.U8();
            if (type == 0) {
                size_t count = row.U8();
                uint8_t value = row.U8();
                if (row.Failed()) break;
                count = std::min(count, nRow - x);
                std::memset(d + x, value, count);
                x += count;
            } else {
                size_t count = std::min<size_t>(type, nRow - x);
                if (!row.Bytes(d + x, count)) break;
                x += count;
                row.Skip(static_cast<size_t>(type) - count);
            }
        }
        if (x < nRow) std::memset(d + x, 0xFF, nRow - x);
        r.Skip(lengths[y]);
    }
    return IMPEXP_SUCCESS;
}

int CMspCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    if (in.GetBitCount() != 1) return IMPEXP_ERR_INV_BITS;
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    if (w > 0xFFFF || h > 0xFFFF) return IMPEXP_ERR_INV_RANGE;
    const size_t nRow = (static_cast<size_t>(w) + 7) / 8;
    // Set bits must be white: invert when entry 1 is the darker one.
    const CRasterColor& c0 = in.m_palette[0];
    const CRasterColor& c1 = in.m_palette[1];
    const bool bInvert = (c1.red + c1.green + c1.blue) < (c0.red + c0.green + c0.blue);
    out.clear();
    CByteWriter wr(out);
    uint16_t words[16] = {kV2Key1,
                          kV2Key2,
                          static_cast<uint16_t>(w),
                          static_cast<uint16_t>(h),
                          1,
                          1,
                          1,
                          1,
                          static_cast<uint16_t>(w),
                          static_cast<uint16_t>(h),
                          0,
                          0,
                          0,
                          0,
                          0,
                          0};
    uint16_t sum = 0;
    for (int i = 0; i < 12; ++i) sum ^= words[i];
    words[12] = sum;
    for (uint16_t v : words) wr.U16(v);
    const size_t nTable = out.size();
    wr.Fill(0, static_cast<size_t>(h) * 2);
    std::vector<uint8_t> row(nRow);
    for (int y = 0; y < h; ++y) {
        std::memcpy(row.data(), in.Row(y), nRow);
        if (bInvert)
            for (uint8_t& b : row) b = static_cast<uint8_t>(~b);
        if (w % 8) row[nRow - 1] |= static_cast<uint8_t>(0xFF >> (w % 8)); // padding is white
        size_t start = out.size();
        size_t x = 0;
        while (x < nRow) {
            size_t run = 1;
            while (x + run < nRow && run < 255 && row[x + run] == row[x]) ++run;
            if (run >= 3) {
                wr.U8(0), wr.U8(static_cast<unsigned>(run)), wr.U8(row[x]);
                x += run;
                continue;
            }
            // Literal bytes up to the next run of three.
            size_t lit = 0;
            while (x + lit < nRow && lit < 255) {
                if (x + lit + 2 < nRow && row[x + lit] == row[x + lit + 1] &&
                    row[x + lit] == row[x + lit + 2])
                    break;
                ++lit;
            }
            wr.U8(static_cast<unsigned>(lit));
            wr.Bytes(row.data() + x, lit);
            x += lit;
        }
        size_t len = out.size() - start;
        if (len > 0xFFFF) return IMPEXP_ERR_INV_RANGE;
        wr.PutU16At(nTable + 2 * static_cast<size_t>(y), static_cast<unsigned>(len));
    }
    return IMPEXP_SUCCESS;
}
