// The colour-depth conversions of the "Change Depth" menu.

#include "imaging/CBiLevelOrderedDither.h"
#include "imaging/CColorDiffusionDither4.h"
#include "imaging/CColorDiffusionDither8.h"
#include "imaging/CColorOrderDither4.h"
#include "imaging/CColorOrderDither8.h"
#include "imaging/CDib.h"
#include "imaging/CGrayScalelThresholdDither.h"
#include "imaging/CMedianCut.h"
#include "imaging/ColorConvert.h"
#include "imaging/FixedPalettes.h"
#include "imaging/ops/OpCalls.h"

std::unique_ptr<CDib> MakeDestination(const CDib& source, int nBitCount, const RGBQUAD* pColorTable) {
    auto p = std::make_unique<CDib>(nBitCount, source.GetWidth(), source.GetHeight(), pColorTable);
    CopyResolution(source, *p);
    return p;
}

namespace {

std::unique_ptr<CDib> MakeBiLevel(const CDib& src) {
    auto p = std::make_unique<CDib>(src.GetWidth(), src.GetHeight(), 1, 2, GetBWPalette());
    CopyResolution(src, *p);
    return p;
}

template <class TDither> void Dither(COpContext& ctx, std::unique_ptr<CDib> dest) {
    TDither(ctx.m_image.get(), dest.get()).Dither();
    ctx.m_image = std::move(dest);
}

} // namespace

namespace OpCalls {

void BwPattern(COpContext& ctx) {
    Dither<CBiLevelOrderedDither>(ctx, MakeBiLevel(*ctx.m_image));
}

void BwThreshold(COpContext& ctx) {
    Dither<CGrayScalelThresholdDither>(ctx, MakeBiLevel(*ctx.m_image));
}

void Grayscale(COpContext& ctx) {
    CDib& image = *ctx.m_image;
    auto dest = std::make_unique<CDib>(image.GetWidth(), image.GetHeight(), 8, 256, nullptr);
    CopyResolution(image, *dest);
    ConvertToGray(image, *dest);
    ctx.m_image = std::move(dest);
}

void GrayscalePalette(COpContext& ctx) {
    MakeGrayPalette(*ctx.m_image);
}

void Indexed16Diffused(COpContext& ctx) {
    Dither<CColorDiffusionDither4>(ctx, MakeDestination(*ctx.m_image, 4, GetSixteenColorPalette()));
}

void Indexed8Pattern(COpContext& ctx) {
    Dither<CColorOrderDither4>(ctx, MakeDestination(*ctx.m_image, 4, GetEightColorPalette()));
}

void Indexed256Pattern(COpContext& ctx) {
    Dither<CColorOrderDither8>(ctx, MakeDestination(*ctx.m_image, 8, GetDisplayPalette()));
}

void Indexed256Diffused(COpContext& ctx) {
    Dither<CColorDiffusionDither8>(ctx, MakeDestination(*ctx.m_image, 8, GetDisplayPalette()));
}

void Adaptive256(COpContext& ctx) {
    auto dest = MakeDestination(*ctx.m_image, 8, nullptr);
    CMedianCut(ctx.m_image.get(), dest.get())
        .Quantize(ctx.m_values.Has("--dither"), int(ctx.m_values.Int("COLORS")),
                  ctx.m_values.Has("--system-colors"));
    ctx.m_image = std::move(dest);
}

void TrueColor(COpContext& ctx) {
    auto dest = MakeDestination(*ctx.m_image, 24, nullptr);
    ConvertToTrueColor(*ctx.m_image, *dest);
    ctx.m_image = std::move(dest);
}

} // namespace OpCalls
