#pragma once
// Maps the masked channels of a 24-bit image through a 256-entry table (the
// tone curve's output table): red 1, green 2, blue 4, all 7.

#include <cstdint>

class CDib;

// The not-supported exception unless the image is 24-bit.
void ApplyToneCurve(CDib& dib, const uint8_t* pLut, int nChannelMask);
