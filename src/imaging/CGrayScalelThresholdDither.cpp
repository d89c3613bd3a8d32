#include "imaging/CGrayScalelThresholdDither.h"

#include "imaging/CDib.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CGrayScalelThresholdDither, CDither)

void CGrayScalelThresholdDither::Dither() {
    RequireDepths(m_pSource && m_pSource->GetBitCount() == 8, m_pDest && m_pDest->GetBitCount() == 1);
    RunRows(true);
}

void CGrayScalelThresholdDither::DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int) {
    int nWidth = m_pSource->GetWidth();
    std::memset(pDest, 0, (nWidth + 7) / 8);
    for (int x = nFirstColumn; x < nWidth; ++x)
        if (pSource[3 * x] >= 128) pDest[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
}
