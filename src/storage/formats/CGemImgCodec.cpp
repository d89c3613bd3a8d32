#include "storage/formats/CGemImgCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

#include <algorithm>
#include <cstring>

namespace {

struct GemHeader {
    unsigned nVersion, nHeaderWords, nPlanes, nPatternLength, nPixelW, nPixelH, nWidth, nHeight;
};

int ParseHeader(const uint8_t* p, size_t n, GemHeader& h) {
    CByteReader r(p, n);
    h.nVersion = r.U16BE();
    h.nHeaderWords = r.U16BE();
    h.nPlanes = r.U16BE();
    h.nPatternLength = r.U16BE();
    h.nPixelW = r.U16BE();
    h.nPixelH = r.U16BE();
    h.nWidth = r.U16BE();
    h.nHeight = r.U16BE();
    if (r.Failed() || h.nVersion > 2 || h.nHeaderWords < 8 || h.nHeaderWords > 64 ||
        static_cast<size_t>(h.nHeaderWords) * 2 > n)
        return IMPEXP_ERR_FILE_FORMAT;
    if (h.nPlanes != 1 && h.nPlanes != 4 && h.nPlanes != 8) return IMPEXP_ERR_IMAGE_TYPE;
    if (h.nPatternLength < 1 || h.nPatternLength > 8) return IMPEXP_ERR_FILE_FORMAT;
    if (h.nWidth == 0 || h.nHeight == 0) return IMPEXP_ERR_INV_RANGE;
    return IMPEXP_SUCCESS;
}

} // namespace

bool CGemImgCodec::Sniff(const uint8_t* p, size_t n) {
    GemHeader h;
    return n >= 16 && ParseHeader(p, n, h) == IMPEXP_SUCCESS;
}

int CGemImgCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    GemHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    nWidth = static_cast<int>(h.nWidth), nHeight = static_cast<int>(h.nHeight);
    nBits = h.nPlanes == 1 ? 1 : h.nPlanes == 4 ? 4 : 8;
    return IMPEXP_SUCCESS;
}

int CGemImgCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    GemHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    const int w = static_cast<int>(h.nWidth);
    const int ht = static_cast<int>(h.nHeight);
    const size_t nPlaneBytes = (static_cast<size_t>(w) + 7) / 8;
    const size_t nLine = nPlaneBytes * h.nPlanes;
    CByteReader r(p, n);
    r.Seek(static_cast<size_t>(h.nHeaderWords) * 2);
    // The least data that can code the picture: a repetition (4 bytes) per 255
    // rows, and per coded line one pattern run (3 bytes) per 255 × 8 bytes.
    const uint64_t nCodes = (static_cast<uint64_t>(ht) + 254) / 255;
    const uint64_t nLineCode = 3 * ((nLine + 2039) / 2040);
    if (r.Remaining() < nCodes * (4 + nLineCode) - 4) return IMPEXP_ERR_FILE_DAMAGED;
    const int nBits = h.nPlanes == 1 ? 1 : h.nPlanes == 4 ? 4 : 8;
    rc = out.Create(w, ht, nBits);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (nBits == 1) {
        out.m_palette[0] = {255, 255, 255, 0};
        out.m_palette[1] = {0, 0, 0, 0};
    } else {
        // Plane values as grey levels, 0 white.
        const size_t nEntries = out.m_palette.size();
        for (size_t i = 0; i < nEntries; ++i) {
            auto v = static_cast<uint8_t>(255 - i * 255 / (nEntries - 1));
            out.m_palette[i] = {v, v, v, 0};
        }
    }
    std::vector<uint8_t> line(nLine);
    int y = 0;
    bool failed = false;
    while (y < ht && !failed) {
        int repeat = 1;
        std::fill(line.begin(), line.end(), 0);
        size_t x = 0; // across all planes of the line
        while (x < nLine) {
            uint8_t c = r.U8();
            if (r.Failed()) {
                failed = true;
                break;
            }
            if (c == 0) {
                uint8_t k = r.U8();
                if (k == 0) {
                    // Row repetition: 00 00 FF count.
                    if (r.U8() != 0xFF) {
                        failed = true;
                        break;
                    }
                    repeat = std::max<int>(1, r.U8());
                    continue;
                }
                // Pattern run: k copies of the pattern.
                uint8_t pattern[8];
                if (!r.Bytes(pattern, h.nPatternLength)) {
                    failed = true;
                    break;
                }
                for (unsigned i = 0; i < k && x < nLine; ++i)
                    for (unsigned j = 0; j < h.nPatternLength && x < nLine; ++j) line[x++] = pattern[j];
            } else if (c == 0x80) {
                size_t k = r.U8();
                size_t take = std::min(k, nLine - x);
                if (!r.Bytes(line.data() + x, take)) {
                    failed = true;
                    break;
                }
                r.Skip(k - take);
                x += take;
            } else {
                size_t k = std::min<size_t>(c & 0x7F, nLine - x);
                std::memset(line.data() + x, (c & 0x80) ? 0xFF : 0x00, k);
                x += k;
            }
        }
        if (failed) break;
        for (int i = 0; i < repeat && y < ht; ++i, ++y) {
            uint8_t* d = out.Row(y);
            if (h.nPlanes == 1) {
                std::memcpy(d, line.data(), nPlaneBytes);
                continue;
            }
            for (int px = 0; px < w; ++px) {
                int v = 0;
                for (unsigned pl = 0; pl < h.nPlanes; ++pl)
                    v |= ((line[pl * nPlaneBytes + (px >> 3)] >> (7 - (px & 7))) & 1) << pl;
                if (nBits == 8)
                    d[px] = static_cast<uint8_t>(v);
                else
                    d[px >> 1] |= static_cast<uint8_t>((px & 1) ? v : v << 4);
            }
        }
    }
    return failed ? IMPEXP_ERR_FILE_DAMAGED : IMPEXP_SUCCESS;
}

int CGemImgCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    if (in.GetBitCount() != 1) return IMPEXP_ERR_INV_BITS;
    if (in.GetWidth() > 0xFFFF || in.GetHeight() > 0xFFFF) return IMPEXP_ERR_INV_RANGE;
    const CRasterColor& c0 = in.m_palette[0];
    const CRasterColor& c1 = in.m_palette[1];
    // Set bits are black: invert when entry 1 is the lighter one.
    const bool bInvert = (c1.red + c1.green + c1.blue) > (c0.red + c0.green + c0.blue);
    out.clear();
    CByteWriter wr(out);
    // Version 1, 8 header words, 1 plane, pattern length 1, 85 µm pixels (about 300 dpi).
    wr.U16BE(1), wr.U16BE(8), wr.U16BE(1), wr.U16BE(1), wr.U16BE(85), wr.U16BE(85);
    wr.U16BE(in.GetWidth()), wr.U16BE(in.GetHeight());
    const size_t nRow = (static_cast<size_t>(in.GetWidth()) + 7) / 8;
    std::vector<uint8_t> row(nRow);
    for (int y = 0; y < in.GetHeight(); ++y) {
        const uint8_t* s = in.Row(y);
        for (size_t i = 0; i < nRow; ++i) row[i] = bInvert ? static_cast<uint8_t>(~s[i]) : s[i];
        size_t x = 0;
        while (x < nRow) {
            if (row[x] == 0 || row[x] == 0xFF) {
                size_t run = 1;
                while (x + run < nRow && run < 127 && row[x + run] == row[x]) ++run;
                wr.U8((row[x] ? 0x80 : 0) | static_cast<unsigned>(run));
                x += run;
                continue;
            }
            size_t lit = 1;
            while (x + lit < nRow && lit < 255 && row[x + lit] != 0 && row[x + lit] != 0xFF) ++lit;
            wr.U8(0x80), wr.U8(static_cast<unsigned>(lit));
            wr.Bytes(row.data() + x, lit);
            x += lit;
        }
    }
    return IMPEXP_SUCCESS;
}
