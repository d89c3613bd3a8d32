// Reflections, turns, arbitrary rotation, scale and crop.

#include "framework/CException.h"
#include "imaging/CCrop.h"
#include "imaging/CDib.h"
#include "imaging/CInterpolateScale.h"
#include "imaging/CResampleScale.h"
#include "imaging/CRotate.h"
#include "imaging/DibHelpers.h"
#include "imaging/ops/OpCalls.h"

namespace {

template <CDib* (CRotate::*Op)()> void Turn(COpContext& ctx) {
    CRotate rotate(ctx.m_image.get());
    ctx.m_image.reset((rotate.*Op)());
}

} // namespace

namespace OpCalls {

void Mirror(COpContext& ctx) {
    Turn<&CRotate::Mirror>(ctx);
}
void Flip(COpContext& ctx) {
    Turn<&CRotate::Flip>(ctx);
}
void Transpose(COpContext& ctx) {
    Turn<&CRotate::Transpose>(ctx);
}
void Rotate90CW(COpContext& ctx) {
    Turn<&CRotate::Rotate90CW>(ctx);
}
void Rotate90CCW(COpContext& ctx) {
    Turn<&CRotate::Rotate90CCW>(ctx);
}
void Rotate180(COpContext& ctx) {
    Turn<&CRotate::Rotate180>(ctx);
}

void Rotate(COpContext& ctx) {
    const float fAngle = float(ctx.m_values.Number("ANGLE"));
    if (fAngle == 0.0f) return; // an angle of 0 does nothing
    CRotate rotate(ctx.m_image.get());
    ctx.m_image.reset(rotate.RotateArbitrary(fAngle, ctx.m_values.Has("--clockwise")));
}

void Scale(COpContext& ctx) {
    CDib& image = *ctx.m_image;
    const int w = int(ctx.m_values.Int("W")), h = int(ctx.m_values.Int("H"));
    const bool bLow = ctx.m_values.Int("--quality") == 0;
    const int nBits = image.GetBitCount();
    if (!bLow && nBits <= 8) AfxThrowNotSupportedException(); // Medium and High are disabled below 9 bits
    // The destination as the dialog makes it: grey 8-bit for a grey image,
    // else the source's bit count and colour table.
    std::unique_ptr<CDib> dest;
    if (image.IsGray())
        dest = std::make_unique<CDib>(w, h, 8, 256, nullptr);
    else
        dest = std::make_unique<CDib>(nBits, w, h, image.GetColorTable());
    AdviseLargePages(*dest);
    CopyResolution(image, *dest);
    if (bLow)
        CResampleScale(&image, dest.get()).Scale();
    else
        CInterpolateScale(&image, dest.get()).Scale();
    ctx.m_image = std::move(dest);
}

void Crop(COpContext& ctx) {
    const COpValues& v = ctx.m_values;
    // Inclusive corners, as the crop tool gives them.
    const long long w = v.Int("RIGHT") - v.Int("LEFT") + 1, h = v.Int("BOTTOM") - v.Int("TOP") + 1;
    if (w <= 0 || h <= 0 || w > 1000000000LL || h > 1000000000LL) AfxThrowNotSupportedException();
    CCrop crop(ctx.m_image.get(), int(v.Int("LEFT")), int(v.Int("TOP")), int(w), int(h));
    ctx.m_image.reset(crop.Crop());
}

} // namespace OpCalls
