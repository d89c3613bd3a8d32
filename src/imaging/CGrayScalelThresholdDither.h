#pragma once
// Black and white by threshold: white from 128 up. Source 8-bit, destination 1-bit.

#include "imaging/CDither.h"

class CGrayScalelThresholdDither : public CDither {
    DECLARE_DYNAMIC(CGrayScalelThresholdDither)
public:
    using CDither::CDither;
    using CDither::DitherRow;
    void Dither() override;
    void DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow) override;
};
