#include "imaging/PointTables.h"

#include "framework/CException.h"

#include <cmath>

namespace {

// Steps 5 and 6 and the jump at 26/27 are as the control has always shown them.
constexpr double kGammaValues[kGammaStepCount] = {
    0.1,  0.12, 0.14, 0.16, 0.18, 0.21, 0.21, 0.24, 0.27, 0.3,  0.33, 0.37, 0.41, 0.46,
    0.51, 0.62, 0.68, 0.75, 0.83, 0.91, 1.0,  1.1,  1.21, 1.33, 1.47, 1.62, 1.97, 1.98,
    2.19, 2.43, 2.7,  3.01, 3.36, 3.76, 4.23, 4.78, 5.43, 6.21, 7.14, 8.28, 9.7};

uint8_t ClampToByte(double v) {
    // Truncation toward zero first, then the clamp.
    if (!(v > -1.0)) return 0; // also NaN
    if (v >= 256.0) return 255;
    const int n = static_cast<int>(v);
    return static_cast<uint8_t>(n < 0 ? 0 : (n > 255 ? 255 : n));
}

} // namespace

double GetGammaValue(int nStep) {
    if (nStep < 0 || nStep >= kGammaStepCount) AfxThrowNotSupportedException();
    return kGammaValues[nStep];
}

void MakeContrastTable(int nBrightness, int nContrast, uint8_t table[256]) {
    if (nBrightness < 0 || nBrightness > 100 || nContrast < 0 || nContrast > 90)
        AfxThrowNotSupportedException();
    const double b = nBrightness - 50;
    // tan 0 and tan 90 degrees are no lines to turn to.
    const int nAngle = nContrast == 0 ? 1 : (nContrast == 90 ? 89 : nContrast);
    const double theta = nAngle * 0.017453;
    const double t = std::tan(theta);
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    for (int i = 0; i < 256; ++i) {
        const double v = i * t + 127 + b * c - (127 - b * s) * t;
        table[i] = ClampToByte(v + 0.5);
    }
}

void MakeGammaTable(double dGamma, uint8_t table[256]) {
    const double e = 1.0 / dGamma;
    for (int i = 0; i < 256; ++i) table[i] = ClampToByte(std::pow(i / 255.0, e) * 255.5 + 0.5);
}

void MakePosterizeTable(int nLevels, uint8_t table[256]) {
    if (nLevels < 2 || nLevels > 256) AfxThrowNotSupportedException();
    const int nStep = (nLevels + 253) / (nLevels - 1);
    for (int i = 0; i < 256; ++i) {
        const int v = ((i + nStep - 1) / nStep) * nStep;
        table[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
}

void MakeSolarizeTable(int nMode, int nThreshold, uint8_t table[256]) {
    for (int i = 0; i < 256; ++i) {
        const bool bFlip = nMode == kSolarizeDarken ? i > nThreshold : i < nThreshold;
        table[i] = static_cast<uint8_t>(bFlip ? 255 - i : i);
    }
}

void MakeNegativeTable(uint8_t table[256]) {
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(255 - i);
}

void MakeIdentityTable(uint8_t table[256]) {
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
}
