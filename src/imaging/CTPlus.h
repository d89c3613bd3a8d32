#pragma once
#include "imaging/CTArithmatic.h"

// Image1 + Image2: scale 2 halves the sum; scale 1 clamps at 255, or with
// wrap gives a + b - 255.
class CTPlus : public CTArithmatic {
    DECLARE_DYNAMIC(CTPlus)
public:
    CTPlus(CDib* pImage1, CDib* pImage2, CDib* pTarget, int nScale, bool bWrap)
        : CTArithmatic(pImage1, pImage2, pTarget), m_nScale(nScale), m_bWrap(bWrap) {}

protected:
    void Prepare() override;
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;

private:
    int m_nScale;
    bool m_bWrap;
};
