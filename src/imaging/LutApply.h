#pragma once
// Row loops that map bytes through 256-entry tables. Source and destination
// may be the same memory (in-place operations).

#include <cstddef>
#include <cstdint>

// dst[i] = lut[src[i]] for n bytes.
void ApplyLutBytes(const uint8_t* pSrc, uint8_t* pDst, size_t n, const uint8_t* pLut);

// nPixels pixels of blue, green, red: each channel through its own table.
void ApplyLutsBGR(const uint8_t* pSrc, uint8_t* pDst, size_t nPixels, const uint8_t* pLutB,
                  const uint8_t* pLutG, const uint8_t* pLutR);
