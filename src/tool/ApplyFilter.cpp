// apply: the neighbourhood filters of the enhancer's "Effects" menu, each on
// a 24-bit picture into a new picture of its size.

#include "framework/CException.h"
#include "imaging/CFilter.h"
#include "imaging/FilterCore.h"
#include "imaging/FilterKernels.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"

namespace {

std::unique_ptr<CDib> Prepare(std::unique_ptr<CDib>& image, const std::vector<std::string>& args,
                              size_t nArgs) {
    CToolArgs a(args, {});
    a.Expect(nArgs, nArgs);
    if (image->GetBitCount() != 24) AfxThrowNotSupportedException();
    return MakeDestination(*image, 24, nullptr);
}

template <const KernelType* pKernel>
void Kernel(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    auto dest = Prepare(image, args, 0);
    CFilter(image.get(), dest.get(), pKernel).Convolve();
    image = std::move(dest);
}

template <int nMode> void Rank(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    auto dest = Prepare(image, args, 0);
    CFilter(image.get(), dest.get(), nullptr).RankFilter(nMode);
    image = std::move(dest);
}

void Gaussian(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    auto dest = Prepare(image, args, 1);
    const int nRadius = static_cast<int>(CToolArgs::ToInteger(args[0], 0, 50));
    CFilter(image.get(), dest.get(), nullptr).GaussianBlur(nRadius);
    image = std::move(dest);
}

} // namespace

ZOZI_APPLY_OPERATION("emboss", 2164, "", Kernel<&g_kernelEmboss>)
ZOZI_APPLY_OPERATION("edge-thin", 2186, "", Kernel<&g_kernelEdgeThin>)
ZOZI_APPLY_OPERATION("edge-thick", 2187, "", Kernel<&g_kernelEdgeThick>)
ZOZI_APPLY_OPERATION("edge-horizontal", 2188, "", Kernel<&g_kernelEdgeHorizontal>)
ZOZI_APPLY_OPERATION("edge-vertical", 2189, "", Kernel<&g_kernelEdgeVertical>)
ZOZI_APPLY_OPERATION("edge-highlight", 2190, "", Kernel<&g_kernelEdgeHighlight>)
ZOZI_APPLY_OPERATION("blur-slight", 2165, "", Kernel<&g_kernelBlurSlight>)
ZOZI_APPLY_OPERATION("blur-more", 2166, "", Kernel<&g_kernelBlurMore>)
ZOZI_APPLY_OPERATION("blur-heavy", 2167, "", Kernel<&g_kernelBlurHeavy>)
ZOZI_APPLY_OPERATION("gaussian", 2196, "RADIUS", Gaussian)
ZOZI_APPLY_OPERATION("sharpen-slight", 2168, "", Kernel<&g_kernelSharpenSlight>)
ZOZI_APPLY_OPERATION("sharpen-more", 2169, "", Kernel<&g_kernelSharpenMore>)
ZOZI_APPLY_OPERATION("sharpen-heavy", 2170, "", Kernel<&g_kernelSharpenHeavy>)
ZOZI_APPLY_OPERATION("min", 2171, "", Rank<kRankMinimum>)
ZOZI_APPLY_OPERATION("max", 2194, "", Rank<kRankMaximum>)
ZOZI_APPLY_OPERATION("median", 2195, "", Rank<kRankMedian>)
