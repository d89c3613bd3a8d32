#pragma once
// Bilinear scaling into a 24-bit destination; the source is read as 24-bit.

#include "imaging/CScale.h"

class CInterpolateScale : public CScale {
    DECLARE_DYNAMIC(CInterpolateScale)
public:
    using CScale::CScale;
    // The not-supported exception unless the destination is 24-bit.
    void Scale() override;
};
