#include "imaging/ColorConvert.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

#include <vector>

namespace {

// Weighted channels and the division by 100, as look-up tables.
struct CGrayTables {
    uint16_t r[256], g[256], b[256];
    uint8_t div[25501];
    CGrayTables() {
        for (int i = 0; i < 256; ++i) {
            r[i] = static_cast<uint16_t>(30 * i);
            g[i] = static_cast<uint16_t>(59 * i);
            b[i] = static_cast<uint16_t>(11 * i);
        }
        for (int i = 0; i <= 25500; ++i) div[i] = static_cast<uint8_t>(i / 100);
    }
};

const CGrayTables& Gray() {
    static const CGrayTables t;
    return t;
}

} // namespace

void ConvertToGray(CDib& source, CDib& dest) {
    if (dest.GetBitCount() != 8 || !dest.IsGray() || dest.GetGrayLevels() != 256 ||
        source.GetBitCount() == 1 || source.GetWidth() != dest.GetWidth() ||
        source.GetHeight() != dest.GetHeight())
        AfxThrowNotSupportedException();
    const CGrayTables& t = Gray();
    int nWidth = source.GetWidth(), nBits = source.GetBitCount();
    if (nBits <= 8) {
        // One grey level per colour-table entry, then a look-up per pixel.
        uint8_t map[256] = {0};
        const RGBQUAD* q = source.GetColorTable();
        for (int i = 0; i < source.GetNumColors(); ++i)
            map[i] = GrayOf(q[i].rgbRed, q[i].rgbGreen, q[i].rgbBlue);
        for (int y = 0; y < source.GetHeight(); ++y) {
            const uint8_t* s = source.GetRow(y);
            uint8_t* d = dest.GetRow(y);
            if (nBits == 8)
                for (int x = 0; x < nWidth; ++x) d[x] = map[s[x]];
            else
                for (int x = 0; x < nWidth; ++x) d[x] = map[(x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4)];
            dest.PutRow(y, d);
        }
        return;
    }
    std::vector<uint8_t> buf(static_cast<size_t>(nWidth) * 3);
    for (int y = 0; y < source.GetHeight(); ++y) {
        const uint8_t* s = source.GetRowRGB(y, nBits == 24 ? nullptr : buf.data());
        uint8_t* d = dest.GetRow(y);
        for (int x = 0; x < nWidth; ++x, s += 3) d[x] = t.div[t.b[s[0]] + t.g[s[1]] + t.r[s[2]]];
        dest.PutRow(y, d);
    }
}

void MakeGrayPalette(CDib& image) {
    if (image.GetBitCount() > 8) AfxThrowNotSupportedException();
    RGBQUAD* q = image.GetColorTable();
    for (int i = 0; i < image.GetNumColors(); ++i) {
        uint8_t v = GrayOf(q[i].rgbRed, q[i].rgbGreen, q[i].rgbBlue);
        q[i] = RGBQUAD{v, v, v, 0};
    }
    image.SetGray(true, image.GetNumColors());
}

void ConvertToTrueColor(CDib& source, CDib& dest) {
    if (dest.GetBitCount() != 24 || source.GetWidth() != dest.GetWidth() ||
        source.GetHeight() != dest.GetHeight())
        AfxThrowNotSupportedException();
    for (int y = 0; y < source.GetHeight(); ++y) {
        uint8_t* d = dest.GetRow(y);
        source.GetRowRGB(y, d);
        dest.PutRow(y, d);
    }
}
