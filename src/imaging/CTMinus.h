#pragma once
#include "imaging/CTArithmatic.h"

// Image1 - Image2 (halved toward zero with scale 2): negative results become
// 0, or with wrap the same formula with the images exchanged.
class CTMinus : public CTArithmatic {
    DECLARE_DYNAMIC(CTMinus)
public:
    CTMinus(CDib* pImage1, CDib* pImage2, CDib* pTarget, int nScale, bool bWrap)
        : CTArithmatic(pImage1, pImage2, pTarget), m_nScale(nScale), m_bWrap(bWrap) {}

protected:
    void Prepare() override;
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;

private:
    int m_nScale;
    bool m_bWrap;
};
