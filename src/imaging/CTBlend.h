#pragma once
#include "imaging/CTArithmatic.h"

// (Image2 * (100 - p) + Image1 * p) / 100, rounded down; p 0..100.
class CTBlend : public CTArithmatic {
    DECLARE_DYNAMIC(CTBlend)
public:
    CTBlend(CDib* pImage1, CDib* pImage2, CDib* pTarget, int nPercent)
        : CTArithmatic(pImage1, pImage2, pTarget), m_nPercent(nPercent) {}

protected:
    void Prepare() override;
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;

private:
    int m_nPercent;
};
