#pragma once
// The calls of the operation table, grouped by the enhancer's menus. Each
// runs on an image its command's enable rule allows.

#include "imaging/DibHelpers.h"
#include "imaging/ops/COperationTable.h"

class CDib;

// A new image of the source's size for a conversion, keeping its resolution.
std::unique_ptr<CDib> MakeDestination(const CDib& source, int nBitCount, const RGBQUAD* pColorTable);

namespace OpCalls {
// Change Depth
void BwPattern(COpContext& ctx);
void BwThreshold(COpContext& ctx);
void Grayscale(COpContext& ctx);
void GrayscalePalette(COpContext& ctx);
void Indexed16Diffused(COpContext& ctx);
void Indexed8Pattern(COpContext& ctx);
void Indexed256Pattern(COpContext& ctx);
void Indexed256Diffused(COpContext& ctx);
void Adaptive256(COpContext& ctx);
void TrueColor(COpContext& ctx);
// Geometry
void Mirror(COpContext& ctx);
void Flip(COpContext& ctx);
void Transpose(COpContext& ctx);
void Rotate90CW(COpContext& ctx);
void Rotate90CCW(COpContext& ctx);
void Rotate180(COpContext& ctx);
void Rotate(COpContext& ctx);
void Scale(COpContext& ctx);
void Crop(COpContext& ctx);
// Colors
void BrightnessContrast(COpContext& ctx);
void HueSaturation(COpContext& ctx);
void Negative(COpContext& ctx);
void Posterize(COpContext& ctx);
void Solarize(COpContext& ctx);
void Equalize(COpContext& ctx);
void PseudoColor(COpContext& ctx);
void Spectrum(COpContext& ctx);
void FireSky(COpContext& ctx);
void Curve(COpContext& ctx);
// Effects
void Emboss(COpContext& ctx);
void EdgeThin(COpContext& ctx);
void EdgeThick(COpContext& ctx);
void EdgeHorizontal(COpContext& ctx);
void EdgeVertical(COpContext& ctx);
void EdgeHighlight(COpContext& ctx);
void BlurSlight(COpContext& ctx);
void BlurMore(COpContext& ctx);
void BlurHeavy(COpContext& ctx);
void Gaussian(COpContext& ctx);
void SharpenSlight(COpContext& ctx);
void SharpenMore(COpContext& ctx);
void SharpenHeavy(COpContext& ctx);
void Minimum(COpContext& ctx);
void Maximum(COpContext& ctx);
void Median(COpContext& ctx);
void Warp(COpContext& ctx);
// Two pictures
void Add(COpContext& ctx);
void Subtract(COpContext& ctx);
void Difference(COpContext& ctx);
void Multiply(COpContext& ctx);
void Blend(COpContext& ctx);
} // namespace OpCalls
