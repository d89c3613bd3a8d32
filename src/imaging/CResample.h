#pragma once
// One line of 24-bit pixels resampled under a monotone forward mapping F
// (F[i] = where input pixel i starts on the output line; n + 1 entries).
// Rows and columns use the same routine: pixels lie stride bytes apart in
// both the input and the output line.

#include <cstddef>
#include <cstdint>
#include <vector>

class CResample {
public:
    // Point sampling (bInterpolate false) or Fant's area-weighted method with
    // linear reconstruction. pMap holds n + 1 positions; pIn and pOut n pixels.
    void Resample(bool bInterpolate, const float* pMap, const uint8_t* pIn, uint8_t* pOut, int n,
                  ptrdiff_t nStride);

    // The inverse table: for every output position u = 0 … n − 1 the input
    // position that lands there; n + 1 entries, the last one 0. Positions are
    // kept within 0 … n so that a mapping that runs backwards or jumps stays
    // inside the line.
    static void InverseTable(const float* pMap, int n, float* pPos);

private:
    std::vector<float> m_pos; // work table, kept between lines
};
