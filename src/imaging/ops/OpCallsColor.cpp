// Tone and colour operations of the "Colors" menu, and the tone curve.

#include "framework/CException.h"
#include "imaging/ApplyToneCurve.h"
#include "imaging/CDib.h"
#include "imaging/CPointProcess.h"
#include "imaging/CSolarize.h"
#include "imaging/CTComplement.h"
#include "imaging/CTPosterize.h"
#include "imaging/CTRGBHist.h"
#include "imaging/CTonalAdjustCurve.h"
#include "imaging/CToneCurve.h"
#include "imaging/FalseColor.h"
#include "imaging/PointTables.h"
#include "imaging/ops/OpCalls.h"

namespace {

// --channel red|green|blue|all as a mask.
int ChannelMask(const COpValues& v) {
    static const int s_masks[] = {1, 2, 4, 7};
    return s_masks[v.Int("--channel") & 3];
}

} // namespace

namespace OpCalls {

void BrightnessContrast(COpContext& ctx) {
    const COpValues& v = ctx.m_values;
    CPointProcess(ctx.m_image.get())
        .ApplyBrightnessContrast(int(v.Int("B")), int(v.Int("C")), int(v.Int("GAMMASTEP")), ChannelMask(v));
}

void HueSaturation(COpContext& ctx) {
    const COpValues& v = ctx.m_values;
    CPointProcess(ctx.m_image.get()).ApplyHueSaturation(int(v.Int("H")), int(v.Int("S")), int(v.Int("L")));
}

void Negative(COpContext& ctx) {
    const int m = int(ctx.m_values.Int("--channels"));
    CTComplement(ctx.m_image.get(), ctx.m_image.get(), m & 1, m & 2, m & 4).Run();
}

void Posterize(COpContext& ctx) {
    const int m = int(ctx.m_values.Int("--channels"));
    CTPosterize(ctx.m_image.get(), ctx.m_image.get(), m & 1, m & 2, m & 4, int(ctx.m_values.Int("LEVELS")))
        .Run();
}

void Solarize(COpContext& ctx) {
    CSolarize(ctx.m_image.get(), ctx.m_image.get(),
              ctx.m_values.Has("--darken") ? kSolarizeDarken : kSolarizeLighten,
              int(ctx.m_values.Int("THRESHOLD")))
        .Run();
}

void Equalize(COpContext& ctx) {
    CTRGBHist(ctx.m_image.get(), true).Equalize();
}

void PseudoColor(COpContext& ctx) {
    ApplyFalseColor(*ctx.m_image, EFalseColor::PseudoColor);
}
void Spectrum(COpContext& ctx) {
    ApplyFalseColor(*ctx.m_image, EFalseColor::Spectrum);
}
void FireSky(COpContext& ctx) {
    ApplyFalseColor(*ctx.m_image, EFalseColor::FireSky);
}

void Curve(COpContext& ctx) {
    const std::string& path = ctx.m_values.Text("FILE.tac");
    CTonalAdjustCurve curve;
    if (!curve.Load(path)) AfxThrowFileException(CFileException::fileNotFound, -1, path);
    // As the dialog gives a loaded curve to the window: its mode and points,
    // smoothing when it has more than 16 samples.
    CToneCurve model;
    model.SetCurve(curve.m_points, CToneCurve::kAngularSamples, curve.m_nParamMode);
    model.SetSmoothing(curve.m_nSamples > CToneCurve::kAngularSamples);
    ApplyToneCurve(*ctx.m_image, model.GetLut(), ChannelMask(ctx.m_values));
}

} // namespace OpCalls
