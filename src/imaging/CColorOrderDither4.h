#pragma once
// Ordered dither into the eight-colour palette with the 255-step magic-square
// matrix. Source 8 bits or more, destination 4-bit (or 8-bit, one pixel a byte).

#include "imaging/CDither.h"

class CColorOrderDither4 : public CDither {
    DECLARE_DYNAMIC(CColorOrderDither4)
public:
    using CDither::CDither;
    using CDither::DitherRow;
    void Dither() override;
    void DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow) override;
};
