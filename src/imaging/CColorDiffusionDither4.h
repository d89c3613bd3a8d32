#pragma once
// Error diffusion into the sixteen-colour palette. Source 4 bits or more,
// destination 4-bit (or 8-bit, one pixel a byte).

#include "imaging/CDither.h"

#include <cstdint>
#include <vector>

class CColorDiffusionDither4 : public CDither {
    DECLARE_DYNAMIC(CColorDiffusionDither4)
public:
    CColorDiffusionDither4(CDib* pSource, CDib* pDest);
    using CDither::DitherRow;
    void Dither() override;
    void DitherRow(const uint8_t* pSource, uint8_t* pDest) override;

protected:
    int m_nWidth;
    int m_nLast;
    std::vector<int32_t> m_current; // accumulated blue, green, red of the row being converted
    std::vector<int32_t> m_next;    // errors collected for the next row
};
