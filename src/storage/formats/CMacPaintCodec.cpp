#include "storage/formats/CMacPaintCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/CPackBits.h"
#include "storage/formats/ImpExpTables.h"

#include <algorithm>
#include <cstring>

bool CMacPaintCodec::Sniff(const uint8_t* p, size_t n) {
    if (n < 512 + 720 * 2) return false;
    CByteReader r(p, n);
    uint32_t version = r.U32BE();
    if (version != 0 && version != 2 && version != 3) return false;
    // Decode the rows: every one must come out at exactly 72 bytes.
    r.Seek(512);
    for (int y = 0; y < kHeight; ++y) {
        int got = 0;
        while (got < 72) {
            int c = r.U8();
            if (r.Failed()) return false;
            if (c < 128) {
                r.Skip(static_cast<size_t>(c) + 1);
                got += c + 1;
            } else if (c > 128) {
                r.U8();
                got += 257 - c;
            }
        }
        if (got != 72 || r.Failed()) return false;
    }
    return true;
}

int CMacPaintCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    if (in.GetBitCount() != 1) return IMPEXP_ERR_INV_BITS;
    const CRasterColor& c0 = in.m_palette[0];
    const CRasterColor& c1 = in.m_palette[1];
    // Set bits are black: invert when entry 1 is the lighter one.
    const bool bInvert = (c1.red + c1.green + c1.blue) > (c0.red + c0.green + c0.blue);
    out.assign(512, 0);
    out[3] = 2;
    // Pattern 0 … 37: all black, as a plain default set.
    for (size_t i = 4; i < 4 + 38 * 8; ++i) out[i] = 0xFF;
    const int w = std::min(in.GetWidth(), kWidth);
    const size_t nBytes = (static_cast<size_t>(w) + 7) / 8;
    uint8_t row[72];
    for (int y = 0; y < kHeight; ++y) {
        std::memset(row, 0, sizeof(row));
        if (y < in.GetHeight()) {
            const uint8_t* s = in.Row(y);
            for (size_t i = 0; i < nBytes; ++i) row[i] = bInvert ? static_cast<uint8_t>(~s[i]) : s[i];
            if (w % 8) row[nBytes - 1] &= static_cast<uint8_t>(0xFF << (8 - w % 8));
        }
        PackBitsEncode(row, sizeof(row), out);
    }
    return IMPEXP_SUCCESS;
}
