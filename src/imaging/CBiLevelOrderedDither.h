#pragma once
// Black and white by the 16 × 16 Bayer pattern: white where the grey level
// exceeds the matrix value. Source 8-bit, destination 1-bit.

#include "imaging/CDither.h"

class CBiLevelOrderedDither : public CDither {
    DECLARE_DYNAMIC(CBiLevelOrderedDither)
public:
    using CDither::CDither;
    using CDither::DitherRow;
    void Dither() override;
    void DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow) override;
};
