#pragma once
// The 3 x 3 kernels of the neighbourhood filters. A kernel record is 32
// signed integers: coefficients (only 0..8 used, the row above, the pixel's
// own row and the row below, each left to right), divisor, size, offset,
// strength, invert flag and one flag no filter reads.

#include <array>
#include <cstdint>

using KernelType = std::array<int32_t, 32>;

enum : int {
    kKernelDivisor = 25,
    kKernelWidth = 26,
    kKernelHeight = 27,
    kKernelOffset = 28,
    kKernelStrength = 29,
    kKernelInvert = 30,
    kKernelFlag = 31,
};

extern const KernelType g_kernelBlurSlight;
extern const KernelType g_kernelBlurMore;
extern const KernelType g_kernelBlurHeavy;
extern const KernelType g_kernelSharpenSlight;
extern const KernelType g_kernelSharpenMore;
extern const KernelType g_kernelSharpenHeavy;
extern const KernelType g_kernelEmboss;
extern const KernelType g_kernelEdgeThin;
extern const KernelType g_kernelEdgeHorizontal;
extern const KernelType g_kernelEdgeVertical;
extern const KernelType g_kernelEdgeHighlight;
// The highlight kernel marked with the flag of entry 31 ("thick" edges); the
// filter does not read the flag, so the result equals the highlight one.
extern const KernelType g_kernelEdgeThick;
