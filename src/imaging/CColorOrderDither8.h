#pragma once
// Ordered dither into the 256-entry display palette (6 × 6 × 6 cube) with the
// 51-step magic-square matrix. Source 8 bits or more, destination 8-bit.

#include "imaging/CDither.h"

#include <vector>

class CColorOrderDither8 : public CDither {
    DECLARE_DYNAMIC(CColorOrderDither8)
public:
    using CDither::CDither;
    using CDither::DitherRow;
    void Dither() override;
    void DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow) override;

private:
    std::vector<uint8_t> m_contribution; // [channel][threshold][value], built on first use
};
