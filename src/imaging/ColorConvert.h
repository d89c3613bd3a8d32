#pragma once
// Grey and true-colour conversions. Grey is (30 R + 59 G + 11 B) / 100.

#include <cstdint>

class CDib;

// Grey level of a colour, integer division.
inline uint8_t GrayOf(unsigned r, unsigned g, unsigned b) {
    return static_cast<uint8_t>((30 * r + 59 * g + 11 * b) / 100);
}

// Destination: 8-bit grey image of 256 levels; source: not 1-bit. Else CNotSupportedException.
void ConvertToGray(CDib& source, CDib& dest);
// Colour table to grey (images of 8 bits or less; deeper ones: CNotSupportedException).
void MakeGrayPalette(CDib& image);
// Destination: 24-bit. Every row through GetRowRGB.
void ConvertToTrueColor(CDib& source, CDib& dest);
