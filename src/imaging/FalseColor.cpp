#include "imaging/FalseColor.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

#include <algorithm>

void ApplyFalseColor(CDib& image, EFalseColor which) {
    if (image.GetBitCount() != 8 || !image.IsGray() || image.GetGrayLevels() != 256)
        AfxThrowNotSupportedException();
    RGBQUAD* pTable = image.GetColorTable();
    bool bRamp = true;
    for (int i = 0; i < 256 && bRamp; ++i) bRamp = pTable[i].rgbRed == i;
    if (!bRamp) {
        // Pixels become grey levels first.
        uint8_t map[256];
        for (int i = 0; i < 256; ++i) map[i] = pTable[i].rgbRed;
        for (int y = 0; y < image.GetHeight(); ++y) {
            uint8_t* p = image.GetRow(y);
            for (int x = 0; x < image.GetWidth(); ++x) p[x] = map[p[x]];
            image.PutRow(y, p);
        }
    }
    std::copy_n(GetFalseColorPalette(which), 256, pTable);
    image.SetGray(false, 0);
}
