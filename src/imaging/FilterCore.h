#pragma once
// The neighbourhood filters on 24-bit rows given by row pointers (row 0 at
// the top). CFilter runs them on images; they are kept apart so that the
// inner loops see plain pointers.

#include "imaging/FilterKernels.h"

#include <cstdint>

struct CRows24 {
    uint8_t* const* m_ppRows; // m_ppRows[y] = first byte of row y
    int m_nWidth;
    int m_nHeight;
};

// 3 x 3 convolution: outermost rows and columns copied; pictures smaller than
// 3 x 3 copied unchanged. Source and destination must not share rows.
void Convolve24(const CRows24& src, const CRows24& dst, const KernelType& kernel);

enum : int { kRankMinimum = 0, kRankMaximum = 1, kRankMedian = 2 };
// 3 x 3 rank filter by the key red + green + blue; the whole pixel is copied.
void RankFilter24(const CRows24& src, const CRows24& dst, int nMode);

// The integer weights of the Gaussian blur: w[r] = 1000, w[r +- k] =
// ceil(1000 * exp(-k^2 / (2 r^2))). pWeights holds 2r + 1 entries; returns their sum.
int64_t MakeGaussianWeights(int nRadius, int32_t* pWeights);

// Separable Gaussian blur, nRadius 0..50 (radius 0 copies). The vertical
// pass keeps one intermediate row at a time. Source and destination must
// not share rows.
void GaussianBlur24(const CRows24& src, const CRows24& dst, int nRadius);
