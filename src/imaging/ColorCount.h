#pragma once
// Counting the distinct colours of an image.

#include <cstdint>

class CDib;

// The number of distinct (red, green, blue) triples over all pixels, any bit
// count (1-bit pixels are black and white, as GetRowRGB gives them).
uint32_t CountColors(CDib& image);
