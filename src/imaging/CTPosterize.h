#pragma once
#include "imaging/CTChannelMap.h"

// The flagged channels through the posterize table of 2..256 levels.
class CTPosterize : public CTChannelMap {
    DECLARE_DYNAMIC(CTPosterize)
public:
    CTPosterize(CDib* pImage, CDib* pTarget, bool bRed, bool bGreen, bool bBlue, int nLevels)
        : CTChannelMap(pImage, pTarget), m_bRed(bRed), m_bGreen(bGreen), m_bBlue(bBlue), m_nLevels(nLevels) {}

protected:
    void Prepare() override;

private:
    bool m_bRed, m_bGreen, m_bBlue;
    int m_nLevels;
};
