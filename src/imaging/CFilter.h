#pragma once
// Neighbourhood filters of 24-bit images: 3 x 3 convolutions, 3 x 3 rank
// filters and the separable Gaussian blur. The destination is a 24-bit image
// of the source's size.

#include "framework/CObject.h"
#include "imaging/FilterKernels.h"

#include <cstdint>

class CDib;

class CFilter : public CObject {
    DECLARE_DYNAMIC(CFilter)
public:
    // CNotSupportedException unless the source is 24-bit (and the destination
    // a 24-bit image of the same size).
    CFilter(CDib* pSource, CDib* pDest, const KernelType* pKernel);

    void Convolve();
    // 0 minimum, 1 maximum, 2 median (kRankMinimum ... of FilterCore.h).
    void RankFilter(int nMode);
    // 0 <= radius and 2 radius + 1 <= 101, else CNotSupportedException.
    void GaussianBlur(int nRadius);

private:
    CDib* m_pSource;
    CDib* m_pDest;
    const KernelType* m_pKernel;
    int32_t m_nWidth;
    int32_t m_nWidthM1;
    int32_t m_nHeightM1;
};
