#include "imaging/ApplyToneCurve.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

void ApplyToneCurve(CDib& dib, const uint8_t* pLut, int nChannelMask) {
    if (dib.GetBitCount() != 24) AfxThrowNotSupportedException();
    // Per byte of a pixel (blue, green, red): the table, or identity when not masked.
    uint8_t tables[3][256];
    const int bits[3] = {4, 2, 1};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i) tables[c][i] = (nChannelMask & bits[c]) ? pLut[i] : uint8_t(i);
    const int w = dib.GetWidth();
    for (int y = 0; y < dib.GetHeight(); ++y) {
        uint8_t* p = dib.GetRow(y);
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = tables[0][p[0]];
            p[1] = tables[1][p[1]];
            p[2] = tables[2][p[2]];
        }
    }
}
