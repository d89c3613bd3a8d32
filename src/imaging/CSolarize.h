#pragma once
#include "imaging/CTChannelMap.h"

// Mode 0 (darken): values above the threshold become 255 - value; mode 1
// (lighten): values below it. Every channel.
class CSolarize : public CTChannelMap {
    DECLARE_DYNAMIC(CSolarize)
public:
    CSolarize(CDib* pImage, CDib* pTarget, int nMode, int nThreshold)
        : CTChannelMap(pImage, pTarget), m_nMode(nMode), m_nThreshold(nThreshold) {}

protected:
    void Prepare() override;
    // One comparison per byte, the same for every channel.
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;

private:
    int m_nMode;
    int m_nThreshold;
};
