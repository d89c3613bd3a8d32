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

private:
    bool m_bRed, m_bGreen, m_bBlue;
};
