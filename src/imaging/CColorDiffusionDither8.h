#pragma once
// Floyd–Steinberg error diffusion into the 256-entry display palette.
// Source 8 bits or more, destination 8-bit.

#include "imaging/CDither.h"

#include <cstdint>
#include <vector>

class CColorDiffusionDither8 : public CDither {
    DECLARE_DYNAMIC(CColorDiffusionDither8)
public:
    CColorDiffusionDither8(CDib* pSource, CDib* pDest);
    using CDither::DitherRow;
    void Dither() override;
    void DitherRow(const uint8_t* pSource, uint8_t* pDest) override;

protected:
    int m_nWidth;
    int m_nLast;
    std::vector<int32_t> m_current; // accumulated blue, green, red of the row being converted
    std::vector<int32_t> m_next;    // errors collected for the next row
};
