#pragma once
// Point processes: every pixel changes by a function of its own value, through
// 256-entry tables built once per command.

#include "framework/CObject.h"

#include <cstdint>

class CDib;

class CPointProcess : public CObject {
    DECLARE_DYNAMIC(CPointProcess)
public:
    explicit CPointProcess(CDib* pImage) : m_pImage(pImage) {}

    // Brightness 0..100, contrast 0..90: fills the image's contrast table and
    // remembers the offset brightness - 50 and the angle.
    // CNotSupportedException out of range.
    void SetBrightnessContrast(int nBrightness, int nContrast);
    // Fills the image's gamma table.
    void SetGamma(double dGamma);
    // Maps the channels of a 24-bit image through the tables (null: unchanged).
    void ApplyLuts(const uint8_t* pRed, const uint8_t* pGreen, const uint8_t* pBlue);

    // The brightness/contrast/gamma command: channel mask 1 red, 2 green, 4
    // blue (7 all), the tone tables filled and applied to the image.
    void ApplyBrightnessContrast(int nBrightness, int nContrast, int nGammaStep, int nChannelMask);
    // The hue/saturation/lightness command on a 24-bit image: hue -128..127,
    // saturation and lightness -255..255; CNotSupportedException otherwise.
    void ApplyHueSaturation(int nHue, int nSaturation, int nLightness);

    int GetBrightnessOffset() const { return m_nBrightness; }
    int GetContrastAngle() const { return m_nContrast; }

protected:
    CDib* m_pImage;
    int32_t m_nBrightness = 0;
    int32_t m_nContrast = 45;
};
