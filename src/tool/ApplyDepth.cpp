// apply: the colour-depth operations of the enhancer's "Change Depth" menu.
// Each refuses the depths for which the menu entry is disabled.

#include "framework/CException.h"
#include "imaging/CBiLevelOrderedDither.h"
#include "imaging/CColorDiffusionDither4.h"
#include "imaging/CColorDiffusionDither8.h"
#include "imaging/CColorOrderDither4.h"
#include "imaging/CColorOrderDither8.h"
#include "imaging/CGrayScalelThresholdDither.h"
#include "imaging/CMedianCut.h"
#include "imaging/ColorConvert.h"
#include "imaging/FixedPalettes.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"

namespace {

void NoArguments(const std::vector<std::string>& args) {
    if (!args.empty()) throw CToolUsageError("this operation takes no arguments");
}

void Require(bool bEnabled) {
    if (!bEnabled) AfxThrowNotSupportedException();
}

std::unique_ptr<CDib> MakeBiLevel(const CDib& src) {
    auto p = std::make_unique<CDib>(src.GetWidth(), src.GetHeight(), 1, 2, GetBWPalette());
    p->GetInfo()->biXPelsPerMeter = src.GetInfo()->biXPelsPerMeter;
    p->GetInfo()->biYPelsPerMeter = src.GetInfo()->biYPelsPerMeter;
    return p;
}

void BwPattern(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() == 8);
    auto dest = MakeBiLevel(*image);
    CBiLevelOrderedDither(image.get(), dest.get()).Dither();
    image = std::move(dest);
}

void BwThreshold(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() == 8);
    auto dest = MakeBiLevel(*image);
    CGrayScalelThresholdDither(image.get(), dest.get()).Dither();
    image = std::move(dest);
}

void Grayscale(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() >= 8);
    auto dest = std::make_unique<CDib>(image->GetWidth(), image->GetHeight(), 8, 256, nullptr);
    dest->GetInfo()->biXPelsPerMeter = image->GetInfo()->biXPelsPerMeter;
    dest->GetInfo()->biYPelsPerMeter = image->GetInfo()->biYPelsPerMeter;
    ConvertToGray(*image, *dest);
    image = std::move(dest);
}

void GrayscalePalette(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() == 8);
    MakeGrayPalette(*image);
}

void Indexed16Diffused(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() >= 4);
    auto dest = MakeDestination(*image, 4, GetSixteenColorPalette());
    CColorDiffusionDither4(image.get(), dest.get()).Dither();
    image = std::move(dest);
}

void Indexed8Pattern(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() >= 8);
    auto dest = MakeDestination(*image, 4, GetEightColorPalette());
    CColorOrderDither4(image.get(), dest.get()).Dither();
    image = std::move(dest);
}

void Indexed256Pattern(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() >= 8);
    auto dest = MakeDestination(*image, 8, GetDisplayPalette());
    CColorOrderDither8(image.get(), dest.get()).Dither();
    image = std::move(dest);
}

void Indexed256Diffused(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() >= 8);
    auto dest = MakeDestination(*image, 8, GetDisplayPalette());
    CColorDiffusionDither8(image.get(), dest.get()).Dither();
    image = std::move(dest);
}

void Adaptive256(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {}, {"--system-colors", "--dither"});
    a.Expect(1, 1);
    int nColors = static_cast<int>(CToolArgs::ToInteger(a[0], 8, 256)); // the dialog's range
    Require(image->GetBitCount() > 8);
    auto dest = MakeDestination(*image, 8, nullptr);
    CMedianCut(image.get(), dest.get()).Quantize(a.Has("--dither"), nColors, a.Has("--system-colors"));
    image = std::move(dest);
}

void TrueColor(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    NoArguments(args);
    Require(image->GetBitCount() != 24);
    auto dest = MakeDestination(*image, 24, nullptr);
    ConvertToTrueColor(*image, *dest);
    image = std::move(dest);
}

} // namespace

ZOZI_APPLY_OPERATION("bw-pattern", 2126, "", BwPattern)
ZOZI_APPLY_OPERATION("bw-threshold", 2052, "", BwThreshold)
ZOZI_APPLY_OPERATION("grayscale", 2046, "", Grayscale)
ZOZI_APPLY_OPERATION("grayscale-palette", 2051, "", GrayscalePalette)
ZOZI_APPLY_OPERATION("indexed16-diffused", 2054, "", Indexed16Diffused)
ZOZI_APPLY_OPERATION("indexed8-pattern", 2056, "", Indexed8Pattern)
ZOZI_APPLY_OPERATION("indexed256-pattern", 2049, "", Indexed256Pattern)
ZOZI_APPLY_OPERATION("indexed256-diffused", 2055, "", Indexed256Diffused)
ZOZI_APPLY_OPERATION("adaptive256", 2120, "COLORS [--system-colors] [--dither]", Adaptive256)
ZOZI_APPLY_OPERATION("truecolor", 2050, "", TrueColor)
