#pragma once
// Conversion of an image between red-green-blue and hue-saturation-lightness.
// In HLS form hue sits in the red byte, saturation in green, lightness in
// blue, each 0..255. Works on 24-bit pixels or on the colour table of 4- and
// 8-bit images.

#include "framework/CObject.h"

#include <cstdint>

class CDib;

class CColorModel : public CObject {
    DECLARE_DYNAMIC(CColorModel)
public:
    explicit CColorModel(CDib* pImage) : m_pImage(pImage) {}

    // CNotSupportedException for 1-, 16- and 32-bit images.
    void ToHLS();
    void FromHLS();
    // Hue wraps modulo 255; saturation and lightness are clamped (24-bit images).
    void Shift(int nHue, int nSaturation, int nLightness);

    static void RGBToHLS(uint8_t r, uint8_t g, uint8_t b, uint8_t& h, uint8_t& l, uint8_t& s);
    static void HLSToRGB(uint8_t h, uint8_t l, uint8_t s, uint8_t& r, uint8_t& g, uint8_t& b);
    // nPixels 24-bit pixels in place: HLS bytes (h in red, s in green, l in blue) to blue, green, red.
    static void HLSToRGBRow(uint8_t* pRow, int nPixels);

private:
    void Convert(bool bToHLS);

    CDib* m_pImage;
};
