#include "storage/formats/CSunRasterCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

bool CSunRasterCodec::Sniff(const uint8_t* p, size_t n) {
    return n >= 32 && p[0] == 0x59 && p[1] == 0xA6 && p[2] == 0x6A && p[3] == 0x95;
}

int CSunRasterCodec::Write(const CRaster& source, std::vector<uint8_t>& out) {
    CRaster converted;
    const CRaster* pIn = &source;
    if (source.GetBitCount() == 4 || source.GetBitCount() == 16) {
        int rc = source.ConvertTo(source.GetBitCount() == 4 ? 8 : 24, converted);
        if (rc != IMPEXP_SUCCESS) return rc;
        pIn = &converted;
    }
    const CRaster& in = *pIn;
    const int nBits = in.GetBitCount();
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    const size_t nData = (static_cast<size_t>(w) * nBits + 7) / 8;
    const size_t nRow = (nData + 1) & ~size_t{1};
    const uint64_t nLength = static_cast<uint64_t>(nRow) * h;
    if (nLength > 0xFFFFFFFFull) return IMPEXP_ERR_INV_RANGE;
    out.clear();
    out.reserve(32 + 768 + nLength);
    CByteWriter wr(out);
    wr.U32BE(0x59A66A95);
    wr.U32BE(w), wr.U32BE(h), wr.U32BE(nBits);
    wr.U32BE(static_cast<uint32_t>(nLength));
    wr.U32BE(1); // standard type
    // 1-bit files have no map: a set bit is black.
    const bool bMap = nBits == 8;
    wr.U32BE(bMap ? 1 : 0);
    wr.U32BE(bMap ? 768 : 0);
    if (bMap) {
        for (int i = 0; i < 256; ++i) wr.U8(in.m_palette[i].red);
        for (int i = 0; i < 256; ++i) wr.U8(in.m_palette[i].green);
        for (int i = 0; i < 256; ++i) wr.U8(in.m_palette[i].blue);
    }
    bool bInvert = false;
    if (nBits == 1) {
        const CRasterColor& c0 = in.m_palette[0];
        const CRasterColor& c1 = in.m_palette[1];
        bInvert = (c1.red + c1.green + c1.blue) > (c0.red + c0.green + c0.blue);
    }
    std::vector<uint8_t> row(nRow, 0);
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = in.Row(y);
        if (nBits == 24) {
            // Standard type stores blue, green, red, as in memory.
            for (size_t i = 0; i < nData; ++i) row[i] = s[i];
        } else if (nBits == 32) {
            // 0, blue, green, red per pixel.
            for (int x = 0; x < w; ++x) {
                row[4 * x] = 0;
                row[4 * x + 1] = s[4 * x];
                row[4 * x + 2] = s[4 * x + 1];
                row[4 * x + 3] = s[4 * x + 2];
            }
        } else {
            for (size_t i = 0; i < nData; ++i) row[i] = bInvert ? static_cast<uint8_t>(~s[i]) : s[i];
        }
        wr.Bytes(row.data(), nRow);
    }
    return IMPEXP_SUCCESS;
}
