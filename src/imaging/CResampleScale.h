#pragma once
// Nearest-neighbour scaling. Source and destination are both 24-bit or both
// 8-bit (the caller prepares the destination's colour table).

#include "imaging/CScale.h"

class CResampleScale : public CScale {
    DECLARE_DYNAMIC(CResampleScale)
public:
    using CScale::CScale;
    // The not-supported exception for other bit counts, before anything is written.
    void Scale() override;
};
