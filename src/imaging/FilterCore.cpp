#include "imaging/FilterCore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

// The hot loops are built twice on x86-64: for AVX2 where the processor has
// it (wider integer vectors, 32-bit multiplies) and for the baseline.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ZOZI_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ZOZI_VECTOR_CLONES
#endif

namespace {

void CopyRows(const CRows24& src, const CRows24& dst, int yFirst, int yEnd) {
    const size_t nBytes = size_t(src.m_nWidth) * 3;
    for (int y = std::max(yFirst, 0); y < yEnd && y < src.m_nHeight; ++y)
        if (dst.m_ppRows[y] != src.m_ppRows[y]) std::memcpy(dst.m_ppRows[y], src.m_ppRows[y], nBytes);
}

// Rows 0 and h - 1 and the first and last pixel of every other row come from
// the source; true when the picture is too small for anything else.
bool CopyBorder3x3(const CRows24& src, const CRows24& dst) {
    const int w = src.m_nWidth, h = src.m_nHeight;
    if (w < 3 || h < 3) {
        CopyRows(src, dst, 0, h);
        return true;
    }
    CopyRows(src, dst, 0, 1);
    CopyRows(src, dst, h - 1, h);
    for (int y = 1; y < h - 1; ++y) {
        std::memcpy(dst.m_ppRows[y], src.m_ppRows[y], 3);
        std::memcpy(dst.m_ppRows[y] + 3 * (w - 1), src.m_ppRows[y] + 3 * (w - 1), 3);
    }
    return false;
}

// ---- convolution ----

// A kernel known when compiling: the compiler drops the zero terms and turns
// the division into multiplications. All sums of these kernels fit 16 bits.
struct KernelSpec {
    int k[9];
    int nDivisor;
    int nOffset;
    bool bInvert;
};

template <KernelSpec K>
[[gnu::always_inline]] inline void ConvolveRowFixed(const uint8_t* a, const uint8_t* m, const uint8_t* b,
                                                    uint8_t* d, int nEnd) {
    for (int j = 3; j < nEnd; ++j) {
        const int s = K.k[0] * a[j - 3] + K.k[1] * a[j] + K.k[2] * a[j + 3] + K.k[3] * m[j - 3] +
                      K.k[4] * m[j] + K.k[5] * m[j + 3] + K.k[6] * b[j - 3] + K.k[7] * b[j] +
                      K.k[8] * b[j + 3];
        int v = static_cast<int16_t>(s) / K.nDivisor + K.nOffset;
        v = v < 0 ? 0 : (v > 255 ? 255 : v);
        if (K.bInvert) v = 255 - v;
        d[j] = static_cast<uint8_t>(v);
    }
}

// Any other kernel: 32-bit sums as the record holds them (wrapping, never
// undefined), a divisor of 0 taken as 1.
void ConvolveRowGeneric(const uint8_t* a, const uint8_t* m, const uint8_t* b, uint8_t* d, int nEnd,
                        const KernelType& K) {
    const int nDivisor = K[kKernelDivisor] == 0 ? 1 : K[kKernelDivisor];
    const int64_t nOffset = K[kKernelOffset];
    const bool bInvert = K[kKernelInvert] != 0;
    for (int j = 3; j < nEnd; ++j) {
        uint32_t s = 0;
        const uint8_t* rows[3] = {a, m, b};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) s += uint32_t(K[r * 3 + c]) * rows[r][j + 3 * (c - 1)];
        const int32_t ss = static_cast<int32_t>(s);
        int64_t v = (nDivisor == -1 ? -int64_t(ss) : int64_t(ss / nDivisor)) + nOffset;
        v = v < 0 ? 0 : (v > 255 ? 255 : v);
        if (bInvert) v = 255 - v;
        d[j] = static_cast<uint8_t>(v);
    }
}

// The program's kernels, and their rows built for each of them.
const KernelType* const kFixedKernels[] = {
    &g_kernelBlurSlight,     &g_kernelBlurMore,     &g_kernelBlurHeavy,     &g_kernelSharpenSlight,
    &g_kernelSharpenMore,    &g_kernelSharpenHeavy, &g_kernelEmboss,        &g_kernelEdgeThin,
    &g_kernelEdgeHorizontal, &g_kernelEdgeVertical, &g_kernelEdgeHighlight,
};

// clang-format off
ZOZI_VECTOR_CLONES void ConvolveRowFixedIndex(int nIndex, const uint8_t* a, const uint8_t* m, const uint8_t* b,
                                              uint8_t* d, int nEnd) {
    switch (nIndex) {
    case 0: ConvolveRowFixed<KernelSpec{{ 1,  0,  1,   0, 4,  0,   1,  0,  1}, 8, 0, false}>(a, m, b, d, nEnd); break;
    case 1: ConvolveRowFixed<KernelSpec{{ 1,  1,  1,   1, 4,  1,   1,  1,  1}, 12, 0, false}>(a, m, b, d, nEnd); break;
    case 2: ConvolveRowFixed<KernelSpec{{ 1,  1,  1,   1, 1,  1,   1,  1,  1}, 9, 0, false}>(a, m, b, d, nEnd); break;
    case 3: ConvolveRowFixed<KernelSpec{{-1,  0, -1,   0, 7,  0,  -1,  0, -1}, 3, 0, false}>(a, m, b, d, nEnd); break;
    case 4: ConvolveRowFixed<KernelSpec{{-1,  0, -1,   0, 5,  0,  -1,  0, -1}, 1, 0, false}>(a, m, b, d, nEnd); break;
    case 5: ConvolveRowFixed<KernelSpec{{-1, -1, -1,  -1, 9, -1,  -1, -1, -1}, 1, 0, false}>(a, m, b, d, nEnd); break;
    case 6: ConvolveRowFixed<KernelSpec{{-1,  0,  0,   0, 0,  0,   0,  0,  1}, 1, 128, false}>(a, m, b, d, nEnd); break;
    case 7: ConvolveRowFixed<KernelSpec{{-1, -1, -1,  -1, 8, -1,  -1, -1, -1}, 1, 0, true}>(a, m, b, d, nEnd); break;
    case 8: ConvolveRowFixed<KernelSpec{{ 1,  2,  1,   0, 0,  0,  -1, -2, -1}, 1, 0, true}>(a, m, b, d, nEnd); break;
    case 9: ConvolveRowFixed<KernelSpec{{ 1,  0, -1,   2, 0, -2,   1,  0, -1}, 1, 0, true}>(a, m, b, d, nEnd); break;
    case 10: ConvolveRowFixed<KernelSpec{{-1, -2,  0,  -2, 0,  2,   0,  2,  1}, 1, 0, false}>(a, m, b, d, nEnd); break;
    }
}
// clang-format on

// The index of the program's kernel equal to the record in every entry the
// filter reads, or -1.
int FindFixedKernel(const KernelType& kernel) {
    for (int i = 0; i < int(std::size(kFixedKernels)); ++i) {
        const KernelType& k = *kFixedKernels[i];
        if (std::equal(k.begin(), k.begin() + 9, kernel.begin()) &&
            k[kKernelDivisor] == kernel[kKernelDivisor] && k[kKernelOffset] == kernel[kKernelOffset] &&
            (k[kKernelInvert] != 0) == (kernel[kKernelInvert] != 0))
            return i;
    }
    return -1;
}

// ---- rank filters ----

// Nine candidates per pixel as key * 16 + position (reading order from the
// upper left): one comparison orders by key and then by position, and the
// position of the winner names the pixel to copy.
template <int nMode>
void RankRowIndex(const int16_t* ka, const int16_t* km, const int16_t* kb, uint8_t* pIndex, int w) {
    for (int x = 1; x < w - 1; ++x) {
        int16_t p[9] = {ka[x - 1], ka[x],     ka[x + 1], km[x - 1], km[x],
                        km[x + 1], kb[x - 1], kb[x],     kb[x + 1]};
        if constexpr (nMode == kRankMinimum) {
            // Ties go to the first position.
            for (int i = 0; i < 9; ++i) p[i] = static_cast<int16_t>(p[i] * 16 + i);
            int16_t v = p[0];
            for (int i = 1; i < 9; ++i) v = std::min(v, p[i]);
            pIndex[x] = static_cast<uint8_t>(v & 15);
        } else if constexpr (nMode == kRankMaximum) {
            // Ties go to the first position: later positions weigh less.
            for (int i = 0; i < 9; ++i) p[i] = static_cast<int16_t>(p[i] * 16 + 15 - i);
            int16_t v = p[0];
            for (int i = 1; i < 9; ++i) v = std::max(v, p[i]);
            pIndex[x] = static_cast<uint8_t>(15 - (v & 15));
        } else {
            for (int i = 0; i < 9; ++i) p[i] = static_cast<int16_t>(p[i] * 16 + i);
            // Compare-exchange network for the fifth of nine.
            auto sort2 = [&p](int i, int j) {
                const int16_t lo = std::min(p[i], p[j]);
                const int16_t hi = std::max(p[i], p[j]);
                p[i] = lo;
                p[j] = hi;
            };
            sort2(1, 2), sort2(4, 5), sort2(7, 8);
            sort2(0, 1), sort2(3, 4), sort2(6, 7);
            sort2(1, 2), sort2(4, 5), sort2(7, 8);
            sort2(0, 3), sort2(5, 8), sort2(4, 7);
            sort2(3, 6), sort2(1, 4), sort2(2, 5);
            sort2(4, 7), sort2(4, 2), sort2(6, 4);
            sort2(4, 2);
            pIndex[x] = static_cast<uint8_t>(p[4] & 15);
        }
    }
}

void RankKeys(const uint8_t* pRow, int16_t* pKeys, int w) {
    for (int x = 0; x < w; ++x)
        pKeys[x] = static_cast<int16_t>(pRow[3 * x] + pRow[3 * x + 1] + pRow[3 * x + 2]);
}

// ---- Gaussian blur ----

// Weighted sums are gathered in 32-bit blocks small enough to stay in the
// first-level cache.
constexpr int kBlock = 1024;

// acc / S exactly: a float estimate, off by at most one, corrected.
inline uint8_t DivideExact(int32_t nAcc, int32_t nSum, float fInv) {
    int32_t q = static_cast<int32_t>(static_cast<float>(nAcc) * fInv);
    const int32_t r = nAcc - q * nSum;
    q += (r >= nSum) - (r < 0);
    return static_cast<uint8_t>(q);
}

// Weights are at most 1000 and samples at most 255: 16-bit factors with
// 32-bit products, which the vector units multiply directly.
template <size_t... K>
inline int32_t WeightedSum(const uint8_t* const* p, const int16_t* w, int j, std::index_sequence<K...>) {
    return ((int32_t(w[K]) * int32_t(int16_t(p[K][j]))) + ...);
}

// pDst[j] = sum over k of w[k] * pp[k][j], divided by S. One line of the
// vertical pass (pp[k] are rows) or of the horizontal one (pp[k] are one row
// shifted by k pixels). With the radius known when compiling, the sum stays
// in registers.
template <int R>
[[gnu::always_inline]] inline void WeightedLineFixed(const uint8_t* const* pp, const int16_t* pw,
                                                     uint8_t* __restrict pDst, int n, int32_t nSum,
                                                     float fInv) {
    const uint8_t* p[2 * R + 1];
    int16_t w[2 * R + 1];
    for (int k = 0; k <= 2 * R; ++k) p[k] = pp[k], w[k] = pw[k];
    // Sums and quotients in separate loops: each vectorises on its own.
    int32_t acc[kBlock];
    for (int j0 = 0; j0 < n; j0 += kBlock) {
        const int m = std::min(kBlock, n - j0);
        for (int j = 0; j < m; ++j) acc[j] = WeightedSum(p, w, j0 + j, std::make_index_sequence<2 * R + 1>());
        for (int j = 0; j < m; ++j) pDst[j0 + j] = DivideExact(acc[j], nSum, fInv);
    }
}

[[gnu::always_inline]] inline void WeightedLineAny(const uint8_t* const* pp, const int16_t* pw, int nTaps,
                                                   uint8_t* __restrict pDst, int n, int32_t nSum,
                                                   float fInv) {
    int32_t acc[kBlock];
    for (int j0 = 0; j0 < n; j0 += kBlock) {
        const int m = std::min(kBlock, n - j0);
        for (int j = 0; j < m; ++j) acc[j] = 0;
        for (int k = 0; k < nTaps; ++k) {
            const uint8_t* s = pp[k] + j0;
            const int16_t wk = pw[k];
            for (int j = 0; j < m; ++j) acc[j] += int32_t(wk) * int32_t(int16_t(s[j]));
        }
        for (int j = 0; j < m; ++j) pDst[j0 + j] = DivideExact(acc[j], nSum, fInv);
    }
}

// One line of either pass; the radii of the blur dialog have their own loops.
ZOZI_VECTOR_CLONES void WeightedLine(int r, const uint8_t* const* pp, const int16_t* pw,
                                     uint8_t* __restrict pDst, int n, int32_t nSum, float fInv) {
    switch (r) {
    case 1:
        WeightedLineFixed<1>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 2:
        WeightedLineFixed<2>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 3:
        WeightedLineFixed<3>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 4:
        WeightedLineFixed<4>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 5:
        WeightedLineFixed<5>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 6:
        WeightedLineFixed<6>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 7:
        WeightedLineFixed<7>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 8:
        WeightedLineFixed<8>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 9:
        WeightedLineFixed<9>(pp, pw, pDst, n, nSum, fInv);
        break;
    case 10:
        WeightedLineFixed<10>(pp, pw, pDst, n, nSum, fInv);
        break;
    default:
        WeightedLineAny(pp, pw, 2 * r + 1, pDst, n, nSum, fInv);
        break;
    }
}

} // namespace

void Convolve24(const CRows24& src, const CRows24& dst, const KernelType& kernel) {
    if (CopyBorder3x3(src, dst)) return;
    const int w = src.m_nWidth, h = src.m_nHeight;
    const int nEnd = 3 * (w - 1);
    const int nFixed = FindFixedKernel(kernel);
    for (int y = 1; y < h - 1; ++y) {
        const uint8_t* a = src.m_ppRows[y - 1];
        const uint8_t* m = src.m_ppRows[y];
        const uint8_t* b = src.m_ppRows[y + 1];
        if (nFixed >= 0)
            ConvolveRowFixedIndex(nFixed, a, m, b, dst.m_ppRows[y], nEnd);
        else
            ConvolveRowGeneric(a, m, b, dst.m_ppRows[y], nEnd, kernel);
    }
}

void RankFilter24(const CRows24& src, const CRows24& dst, int nMode) {
    if (CopyBorder3x3(src, dst)) return;
    const int w = src.m_nWidth, h = src.m_nHeight;
    std::vector<int16_t> keys(size_t(w) * 3);
    std::vector<uint8_t> index(w);
    int16_t* pKeys[3] = {keys.data(), keys.data() + w, keys.data() + 2 * w};
    RankKeys(src.m_ppRows[0], pKeys[0], w);
    RankKeys(src.m_ppRows[1], pKeys[1], w);
    for (int y = 1; y < h - 1; ++y) {
        RankKeys(src.m_ppRows[y + 1], pKeys[(y + 1) % 3], w);
        const int16_t* ka = pKeys[(y - 1) % 3];
        const int16_t* km = pKeys[y % 3];
        const int16_t* kb = pKeys[(y + 1) % 3];
        if (nMode == kRankMinimum)
            RankRowIndex<kRankMinimum>(ka, km, kb, index.data(), w);
        else if (nMode == kRankMaximum)
            RankRowIndex<kRankMaximum>(ka, km, kb, index.data(), w);
        else
            RankRowIndex<kRankMedian>(ka, km, kb, index.data(), w);
        // base[i] + 3x is the candidate at position i for pixel x.
        const uint8_t* base[9];
        for (int i = 0; i < 9; ++i) base[i] = src.m_ppRows[y - 1 + i / 3] + 3 * (i % 3 - 1);
        uint8_t* d = dst.m_ppRows[y];
        for (int x = 1; x < w - 1; ++x) {
            const uint8_t* s = base[index[x]] + 3 * x;
            d[3 * x] = s[0];
            d[3 * x + 1] = s[1];
            d[3 * x + 2] = s[2];
        }
    }
}

int64_t MakeGaussianWeights(int nRadius, int32_t* pWeights) {
    const int r = nRadius;
    pWeights[r] = 1000;
    int64_t nSum = 1000;
    for (int k = 1; k <= r; ++k) {
        const double e = std::exp(-double(k) * k / (2.0 * r * r));
        const int32_t v = static_cast<int32_t>(std::ceil(1000.0 * e));
        pWeights[r + k] = pWeights[r - k] = v;
        nSum += 2 * int64_t(v);
    }
    return nSum;
}

void GaussianBlur24(const CRows24& src, const CRows24& dst, int nRadius) {
    const int w = src.m_nWidth, h = src.m_nHeight, r = nRadius;
    if (w <= 0 || h <= 0) return;
    if (r <= 0) {
        CopyRows(src, dst, 0, h);
        return;
    }
    const int nTaps = 2 * r + 1;
    std::vector<int32_t> weights(nTaps);
    const int64_t nSum64 = MakeGaussianWeights(r, weights.data());
    const int32_t nSum = nSum64 == 0 ? 1 : static_cast<int32_t>(nSum64);
    const float fInv = 1.0f / static_cast<float>(nSum);
    const std::vector<int16_t> weights16(weights.begin(), weights.end());
    std::vector<const uint8_t*> pp(nTaps);
    std::vector<uint8_t> temp(size_t(w) * 3);
    const int nLeft = std::min(r + 1, w);
    const int nRightStart = std::max(w - 1 - r, 0);
    const int nComputed = w - 2 * r - 1;

    // Each row of the vertical pass is used only by the same row of the
    // horizontal pass: one row of the intermediate image is enough.
    for (int y = 0; y < h; ++y) {
        // Vertical pass: the first r and the last r rows are copied; a window
        // of 2r + 1 row pointers slides down.
        const uint8_t* t;
        if (y < r || y >= h - r) {
            t = src.m_ppRows[y];
        } else {
            for (int k = 0; k < nTaps; ++k) pp[k] = src.m_ppRows[y - r + k];
            WeightedLine(r, pp.data(), weights16.data(), temp.data(), 3 * w, nSum, fInv);
            t = temp.data();
        }
        // Horizontal pass: pixels 0..r and w - 1 - r..w - 1 are copied,
        // pixels r..w - r - 2 computed.
        uint8_t* d = dst.m_ppRows[y];
        std::memcpy(d, t, size_t(nLeft) * 3);
        std::memcpy(d + 3 * nRightStart, t + 3 * nRightStart, size_t(w - nRightStart) * 3);
        if (nComputed <= 0) continue;
        for (int k = 0; k < nTaps; ++k) pp[k] = t + 3 * k;
        WeightedLine(r, pp.data(), weights16.data(), d + 3 * r, 3 * nComputed, nSum, fInv);
    }
}
