#include "imaging/FilterKernels.h"

namespace {

constexpr KernelType MakeKernel(std::array<int32_t, 9> coeff, int32_t nDivisor, int32_t nOffset, bool bInvert,
                                int32_t nFlag = 0) {
    KernelType k{};
    for (int i = 0; i < 9; ++i) k[i] = coeff[i];
    k[kKernelDivisor] = nDivisor;
    k[kKernelWidth] = 3;
    k[kKernelHeight] = 3;
    k[kKernelOffset] = nOffset;
    k[kKernelStrength] = 100;
    k[kKernelInvert] = bInvert ? 1 : 0;
    k[kKernelFlag] = nFlag;
    return k;
}

} // namespace

// clang-format off
const KernelType g_kernelBlurSlight      = MakeKernel({ 1,  0,  1,   0, 4,  0,   1,  0,  1}, 8, 0, false);
const KernelType g_kernelBlurMore        = MakeKernel({ 1,  1,  1,   1, 4,  1,   1,  1,  1}, 12, 0, false);
const KernelType g_kernelBlurHeavy       = MakeKernel({ 1,  1,  1,   1, 1,  1,   1,  1,  1}, 9, 0, false);
const KernelType g_kernelSharpenSlight   = MakeKernel({-1,  0, -1,   0, 7,  0,  -1,  0, -1}, 3, 0, false);
const KernelType g_kernelSharpenMore     = MakeKernel({-1,  0, -1,   0, 5,  0,  -1,  0, -1}, 1, 0, false);
const KernelType g_kernelSharpenHeavy    = MakeKernel({-1, -1, -1,  -1, 9, -1,  -1, -1, -1}, 1, 0, false);
const KernelType g_kernelEmboss          = MakeKernel({-1,  0,  0,   0, 0,  0,   0,  0,  1}, 1, 128, false);
const KernelType g_kernelEdgeThin        = MakeKernel({-1, -1, -1,  -1, 8, -1,  -1, -1, -1}, 1, 0, true);
const KernelType g_kernelEdgeHorizontal  = MakeKernel({ 1,  2,  1,   0, 0,  0,  -1, -2, -1}, 1, 0, true);
const KernelType g_kernelEdgeVertical    = MakeKernel({ 1,  0, -1,   2, 0, -2,   1,  0, -1}, 1, 0, true);
const KernelType g_kernelEdgeHighlight   = MakeKernel({-1, -2,  0,  -2, 0,  2,   0,  2,  1}, 1, 0, false);
const KernelType g_kernelEdgeThick       = MakeKernel({-1, -2,  0,  -2, 0,  2,   0,  2,  1}, 1, 0, false, 1);
// clang-format on
