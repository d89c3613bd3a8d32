#pragma once
#include "imaging/CTArithmatic.h"

// abs(Image1 - Image2).
class CTDifference : public CTArithmatic {
    DECLARE_DYNAMIC(CTDifference)
public:
    CTDifference(CDib* pImage1, CDib* pImage2, CDib* pTarget) : CTArithmatic(pImage1, pImage2, pTarget) {}

protected:
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;
};
