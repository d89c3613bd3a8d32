// apply: the geometry operations of the enhancer's menu (reflections, turns,
// arbitrary rotation, scale, crop). Each refuses the depths for which the
// menu entry is disabled.

#include "framework/CException.h"
#include "imaging/CCrop.h"
#include "imaging/CInterpolateScale.h"
#include "imaging/CResampleScale.h"
#include "imaging/CRotate.h"
#include "imaging/DibHelpers.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"

#include <cmath>
#include <cstdlib>

namespace {

void Require(bool bEnabled) {
    if (!bEnabled) AfxThrowNotSupportedException();
}

template <CDib* (CRotate::*Op)()>
void Turn(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    if (!args.empty()) throw CToolUsageError("this operation takes no arguments");
    Require(image->GetBitCount() == 24);
    CRotate rotate(image.get());
    image.reset((rotate.*Op)());
}

// A decimal angle 0 … 360, as the "Arbitrary Rotate" dialog accepts it.
float ParseAngle(const std::string& text) {
    char* end = nullptr;
    const float f = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(f) || f < 0.0f || f > 360.0f)
        throw CToolUsageError("ANGLE must be a number from 0 to 360: " + text);
    return f;
}

void Rotate(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {}, {"--clockwise"});
    a.Expect(1, 1);
    const float fAngle = ParseAngle(a[0]);
    Require(image->GetBitCount() == 24);
    if (fAngle == 0.0f) return; // an angle of 0 does nothing
    CRotate rotate(image.get());
    image.reset(rotate.RotateArbitrary(fAngle, a.Has("--clockwise")));
}

void Scale(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--quality"});
    a.Expect(2, 2);
    // The dialog accepts new sizes 1 … 9999.
    const int w = static_cast<int>(CToolArgs::ToInteger(a[0], 1, 9999));
    const int h = static_cast<int>(CToolArgs::ToInteger(a[1], 1, 9999));
    const std::string quality = a.Value("--quality", "low");
    if (quality != "low" && quality != "medium" && quality != "high")
        throw CToolUsageError("--quality is low, medium or high");
    const int nBits = image->GetBitCount();
    Require(nBits >= 8);
    Require(quality == "low" || nBits > 8); // Medium and High are disabled below 9 bits
    // The destination as the dialog makes it: grey 8-bit for a grey image,
    // else the source's bit count and colour table.
    std::unique_ptr<CDib> dest;
    if (image->IsGray())
        dest = std::make_unique<CDib>(w, h, 8, 256, nullptr);
    else
        dest = std::make_unique<CDib>(nBits, w, h, image->GetColorTable());
    AdviseLargePages(*dest);
    dest->GetInfo()->biXPelsPerMeter = image->GetInfo()->biXPelsPerMeter;
    dest->GetInfo()->biYPelsPerMeter = image->GetInfo()->biYPelsPerMeter;
    if (quality == "low")
        CResampleScale(image.get(), dest.get()).Scale();
    else
        CInterpolateScale(image.get(), dest.get()).Scale();
    image = std::move(dest);
}

void Crop(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(4, 4);
    long long v[4];
    for (int i = 0; i < 4; ++i) v[i] = CToolArgs::ToInteger(a[i], -1000000000LL, 1000000000LL);
    Require(image->GetBitCount() > 8);
    // Inclusive corners, as the crop tool gives them.
    const long long w = v[2] - v[0] + 1, h = v[3] - v[1] + 1;
    Require(w > 0 && h > 0 && w <= 1000000000LL && h <= 1000000000LL);
    CCrop crop(image.get(), int(v[0]), int(v[1]), int(w), int(h));
    image.reset(crop.Crop());
}

} // namespace

ZOZI_APPLY_OPERATION("mirror", 2031, "", Turn<&CRotate::Mirror>)
ZOZI_APPLY_OPERATION("flip", 2032, "", Turn<&CRotate::Flip>)
ZOZI_APPLY_OPERATION("transpose", 2033, "", Turn<&CRotate::Transpose>)
ZOZI_APPLY_OPERATION("rotate-cw", 2034, "", Turn<&CRotate::Rotate90CW>)
ZOZI_APPLY_OPERATION("rotate-ccw", 2035, "", Turn<&CRotate::Rotate90CCW>)
ZOZI_APPLY_OPERATION("rotate-180", 2036, "", Turn<&CRotate::Rotate180>)
ZOZI_APPLY_OPERATION("rotate", 2037, "ANGLE [--clockwise]", Rotate)
ZOZI_APPLY_OPERATION("scale", 2038, "W H [--quality low|medium|high]", Scale)
ZOZI_APPLY_OPERATION("crop", 2058, "LEFT TOP RIGHT BOTTOM", Crop)
