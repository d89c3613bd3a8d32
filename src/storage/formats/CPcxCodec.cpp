#include "storage/formats/CPcxCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

#include <cstring>

namespace {

constexpr size_t kHeader = 128;

struct PcxHeader {
    int nVersion, nEncoding, nBitsPerPlane, nPlanes, nBytesPerLine;
    int nWidth, nHeight;
    int nXDpi, nYDpi;
};

int ParseHeader(const uint8_t* p, size_t n, PcxHeader& h) {
    CByteReader r(p, n);
    if (n < kHeader || r.U8() != 0x0A) return IMPEXP_ERR_FILE_FORMAT;
    h.nVersion = r.U8();
    h.nEncoding = r.U8();
    h.nBitsPerPlane = r.U8();
    int x0 = r.U16(), y0 = r.U16(), x1 = r.U16(), y1 = r.U16();
    h.nXDpi = r.U16();
    h.nYDpi = r.U16();
    r.Seek(65);
    h.nPlanes = r.U8();
    h.nBytesPerLine = r.U16();
    if (h.nVersion > 5 || h.nEncoding > 1) return IMPEXP_ERR_FILE_FORMAT;
    h.nWidth = x1 - x0 + 1;
    h.nHeight = y1 - y0 + 1;
    if (x1 < x0 || y1 < y0) return IMPEXP_ERR_INV_RANGE;
    const int bits = h.nBitsPerPlane * h.nPlanes;
    if (!((h.nBitsPerPlane == 1 && (h.nPlanes == 1 || h.nPlanes == 4)) ||
          (h.nBitsPerPlane == 8 && (h.nPlanes == 1 || h.nPlanes == 3))))
        return IMPEXP_ERR_IMAGE_TYPE;
    (void)bits;
    if (static_cast<int64_t>(h.nBytesPerLine) * 8 < static_cast<int64_t>(h.nWidth) * h.nBitsPerPlane)
        return IMPEXP_ERR_FILE_DAMAGED;
    return IMPEXP_SUCCESS;
}

int OutBits(const PcxHeader& h) {
    return h.nBitsPerPlane * h.nPlanes;
}

void EncodeLine(const uint8_t* p, size_t n, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < n) {
        uint8_t v = p[i];
        size_t run = 1;
        while (i + run < n && run < 63 && p[i + run] == v) ++run;
        if (run > 1 || v >= 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | run));
        out.push_back(v);
        i += run;
    }
}

} // namespace

bool CPcxCodec::Sniff(const uint8_t* p, size_t n) {
    PcxHeader h;
    return ParseHeader(p, n, h) != IMPEXP_ERR_FILE_FORMAT;
}

int CPcxCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    PcxHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    nWidth = h.nWidth, nHeight = h.nHeight, nBits = OutBits(h);
    return IMPEXP_SUCCESS;
}

int CPcxCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    PcxHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    const size_t nLine = static_cast<size_t>(h.nBytesPerLine) * h.nPlanes;
    // Each coded byte gives at most 63 bytes of the picture.
    if ((n - kHeader) * 63 < nLine * h.nHeight) return IMPEXP_ERR_FILE_DAMAGED;
    const int nBits = OutBits(h);
    rc = out.Create(h.nWidth, h.nHeight, nBits, nBits == 4);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (h.nXDpi > 0 && h.nYDpi > 0 && h.nXDpi < 10000 && h.nYDpi < 10000) {
        out.m_nXRes = static_cast<int>(h.nXDpi / 0.0254 + 0.5);
        out.m_nYRes = static_cast<int>(h.nYDpi / 0.0254 + 0.5);
    }
    if (nBits == 1) {
        out.m_palette[0] = {0, 0, 0, 0};
        out.m_palette[1] = {255, 255, 255, 0};
    } else if (nBits == 4) {
        for (int i = 0; i < 16; ++i)
            out.m_palette[i] = {p[16 + 3 * i + 2], p[16 + 3 * i + 1], p[16 + 3 * i], 0};
    } else if (nBits == 8) {
        if (n >= kHeader + 769 && p[n - 769] == 0x0C) {
            const uint8_t* m = p + n - 768;
            for (int i = 0; i < 256; ++i) out.m_palette[i] = {m[3 * i + 2], m[3 * i + 1], m[3 * i], 0};
        } else if (p[68] == 2) {
            out.SetGrayPalette(); // a grey picture may leave its map out
        } else {
            return IMPEXP_ERR_FILE_DAMAGED;
        }
    }
    std::vector<uint8_t> line(nLine);
    const uint8_t* s = p + kHeader;
    const uint8_t* end = p + n;
    const size_t nPlane = h.nBytesPerLine;
    const int w = h.nWidth;
    for (int y = 0; y < h.nHeight; ++y) {
        size_t x = 0;
        if (h.nEncoding == 0) {
            if (static_cast<size_t>(end - s) < nLine) return IMPEXP_ERR_FILE_DAMAGED;
            std::memcpy(line.data(), s, nLine);
            s += nLine;
        } else {
            while (x < nLine) {
                if (s >= end) return IMPEXP_ERR_FILE_DAMAGED;
                uint8_t c = *s++;
                if (c >= 0xC0) {
                    if (s >= end) return IMPEXP_ERR_FILE_DAMAGED;
                    size_t run = c & 0x3F;
                    uint8_t v = *s++;
                    if (run > nLine - x) run = nLine - x;
                    std::memset(line.data() + x, v, run);
                    x += run;
                } else {
                    line[x++] = c;
                }
            }
        }
        uint8_t* d = out.Row(y);
        if (nBits == 1 || nBits == 8) {
            std::memcpy(d, line.data(), (static_cast<size_t>(w) * nBits + 7) / 8);
        } else if (nBits == 24) {
            const uint8_t* r = line.data();
            const uint8_t* g = r + nPlane;
            const uint8_t* b = g + nPlane;
            for (int i = 0; i < w; ++i, d += 3) d[0] = b[i], d[1] = g[i], d[2] = r[i];
        } else {
            for (int i = 0; i < w; ++i) {
                int v = 0;
                for (int pl = 0; pl < 4; ++pl)
                    v |= ((line[pl * nPlane + (i >> 3)] >> (7 - (i & 7))) & 1) << pl;
                d[i >> 1] |= static_cast<uint8_t>((i & 1) ? v : v << 4);
            }
        }
    }
    return IMPEXP_SUCCESS;
}

int CPcxCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    const int nBits = in.GetBitCount();
    if (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24) return IMPEXP_ERR_INV_BITS;
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    if (w > 0xFFFF || h > 0xFFFF) return IMPEXP_ERR_INV_RANGE;
    const int nPlanes = nBits == 4 ? 4 : nBits == 24 ? 3 : 1;
    const int nBitsPerPlane = nBits == 8 || nBits == 24 ? 8 : 1;
    size_t nPlane = (static_cast<size_t>(w) * nBitsPerPlane + 7) / 8;
    nPlane += nPlane & 1; // even bytes per line
    out.clear();
    out.reserve(kHeader + static_cast<size_t>(h) * nPlane * nPlanes + 769);
    CByteWriter wr(out);
    wr.U8(0x0A), wr.U8(5), wr.U8(1), wr.U8(nBitsPerPlane);
    wr.U16(0), wr.U16(0), wr.U16(w - 1), wr.U16(h - 1);
    const int dpiX = in.m_nXRes > 0 ? static_cast<int>(in.m_nXRes * 0.0254 + 0.5) : 72;
    const int dpiY = in.m_nYRes > 0 ? static_cast<int>(in.m_nYRes * 0.0254 + 0.5) : 72;
    wr.U16(dpiX), wr.U16(dpiY);
    for (int i = 0; i < 16; ++i) {
        CRasterColor c =
            nBits <= 4 && i < static_cast<int>(in.m_palette.size()) ? in.m_palette[i] : CRasterColor{};
        wr.U8(c.red), wr.U8(c.green), wr.U8(c.blue);
    }
    wr.U8(0);
    wr.U8(nPlanes);
    wr.U16(static_cast<unsigned>(nPlane));
    wr.U16(nBits == 8 && in.HasGrayPalette() ? 2 : 1);
    wr.Fill(0, kHeader - out.size());
    std::vector<uint8_t> line(nPlane * nPlanes);
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = in.Row(y);
        std::fill(line.begin(), line.end(), 0);
        if (nBits == 1 || nBits == 8) {
            std::memcpy(line.data(), s, (static_cast<size_t>(w) * nBits + 7) / 8);
        } else if (nBits == 24) {
            uint8_t* r = line.data();
            uint8_t* g = r + nPlane;
            uint8_t* b = g + nPlane;
            for (int i = 0; i < w; ++i, s += 3) b[i] = s[0], g[i] = s[1], r[i] = s[2];
        } else {
            for (int i = 0; i < w; ++i) {
                int v = (i & 1) ? s[i >> 1] & 0x0F : s[i >> 1] >> 4;
                for (int pl = 0; pl < 4; ++pl)
                    if (v & (1 << pl)) line[pl * nPlane + (i >> 3)] |= static_cast<uint8_t>(0x80 >> (i & 7));
            }
        }
        for (int pl = 0; pl < nPlanes; ++pl) EncodeLine(line.data() + pl * nPlane, nPlane, out);
    }
    if (nBits == 8) {
        wr.U8(0x0C);
        for (int i = 0; i < 256; ++i)
            wr.U8(in.m_palette[i].red), wr.U8(in.m_palette[i].green), wr.U8(in.m_palette[i].blue);
    }
    return IMPEXP_SUCCESS;
}
