#pragma once
// The 256-entry tables of the point processes. Floating point is used only
// here, once per command; the pixels then go through the tables.

#include <cstdint>

// Gamma values chosen by the gamma step 0..40 (step 20 is 1.0).
constexpr int kGammaStepCount = 41;
constexpr int kGammaStepIdentity = 20;

// The gamma value of a step; CNotSupportedException outside 0..40.
double GetGammaValue(int nStep);

// Brightness 0..100 (50 unchanged) and contrast angle 0..90 degrees (45
// unchanged): the identity line turned about (127, 127) and moved by
// brightness - 50 at right angles. CNotSupportedException out of range.
void MakeContrastTable(int nBrightness, int nContrast, uint8_t table[256]);

// out(i) = (i / 255)^(1 / g) * 255.5 + 0.5, truncated and clamped.
void MakeGammaTable(double dGamma, uint8_t table[256]);

// Posterize to nLevels 2..256: step = (L + 253) / (L - 1), outputs rounded up
// to multiples of the step, limited to 255. CNotSupportedException out of range.
void MakePosterizeTable(int nLevels, uint8_t table[256]);

// Solarize methods as the arithmetic class numbers them.
enum : int { kSolarizeDarken = 0, kSolarizeLighten = 1 };
// Darken: values above the threshold become 255 - value; Lighten: values below it.
void MakeSolarizeTable(int nMode, int nThreshold, uint8_t table[256]);

// 255 - value.
void MakeNegativeTable(uint8_t table[256]);
void MakeIdentityTable(uint8_t table[256]);
