#pragma once
#include "imaging/CTChannelMap.h"

// The negative: 255 - value for the flagged channels.
class CTComplement : public CTChannelMap {
    DECLARE_DYNAMIC(CTComplement)
public:
    CTComplement(CDib* pImage, CDib* pTarget, bool bRed, bool bGreen, bool bBlue)
        : CTChannelMap(pImage, pTarget), m_bRed(bRed), m_bGreen(bGreen), m_bBlue(bBlue) {}

protected:
    void Prepare() override;
    // 255 - value is value XOR 255: no table needed.
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;

private:
    bool m_bRed, m_bGreen, m_bBlue;
    uint8_t m_mask[48]; // 16 pixels of XOR masks, blue, green, red
};
