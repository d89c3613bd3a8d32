#include "imaging/LutApply.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the word stores below assume little-endian bytes");

// Lookups are gathered into 64-bit words so that one store carries eight
// bytes; the loads are then the only per-byte work.

void ApplyLutBytes(const uint8_t* pSrc, uint8_t* pDst, size_t n, const uint8_t* pLut) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w = 0;
        for (int k = 0; k < 8; ++k) w |= uint64_t(pLut[pSrc[i + k]]) << (8 * k);
        std::memcpy(pDst + i, &w, 8); // little-endian byte order
    }
    for (; i < n; ++i) pDst[i] = pLut[pSrc[i]];
}

void ApplyLutsBGR(const uint8_t* pSrc, uint8_t* pDst, size_t nPixels, const uint8_t* pLutB,
                  const uint8_t* pLutG, const uint8_t* pLutR) {
    if (pLutB == pLutG && pLutG == pLutR) {
        ApplyLutBytes(pSrc, pDst, nPixels * 3, pLutB);
        return;
    }
    const uint8_t* luts[3] = {pLutB, pLutG, pLutR};
    const size_t n = nPixels * 3;
    size_t i = 0;
    // 24 bytes = 8 pixels = three words.
    for (; i + 24 <= n; i += 24) {
        uint64_t w[3] = {0, 0, 0};
        for (int k = 0; k < 24; ++k) w[k / 8] |= uint64_t(luts[k % 3][pSrc[i + k]]) << (8 * (k % 8));
        std::memcpy(pDst + i, w, 24);
    }
    for (int c = 0; i < n; ++i, c = (c + 1) % 3) pDst[i] = luts[c][pSrc[i]];
}
