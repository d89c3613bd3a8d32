#pragma once
// Cropping: the rectangle (left, top, width, height) of an image of 8 or
// more bits per pixel, as a new image of the same bit count and colour table.

#include "framework/CObject.h"

class CDib;

class CCrop : public CObject {
    DECLARE_DYNAMIC(CCrop)
public:
    // The not-supported exception for fewer than 8 bits per pixel.
    CCrop(CDib* pSource, int nLeft, int nTop, int nWidth, int nHeight);

    // The new image (owned by the caller). The not-supported exception unless
    // width > 0, height > 0, left < W, top < H, left + width ≤ W and
    // top + height ≤ H (and left, top ≥ 0).
    CDib* Crop();

private:
    CDib* m_pSource;
    int m_nLeft, m_nTop, m_nWidth, m_nHeight;
};
