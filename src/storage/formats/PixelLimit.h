#pragma once
// The largest picture, in pixels, that any reader decodes. A file declaring
// more is refused before its pixels are touched, so that a small hostile
// file cannot make the program allocate and fill gigabytes.
//
// The limit is 179 million pixels, raised (or lowered) by the setting
// "Paint Option"/"Max Megapixels" (whole millions, passed in by the program)
// and by the environment variable ZOZI_MAX_PIXELS (pixels), which wins.

#include <cstdint>
#include <string>

constexpr uint64_t kDefaultMaxPixels = 179'000'000;
constexpr int kDefaultMaxMegapixels = 179;

// The limit in force.
uint64_t GetMaxPixels();
// The setting's value in millions of pixels; 0 or less restores the default.
void SetMaxMegapixels(int nMegapixels);

// True when a picture of w × h pixels may be decoded. A refusal is
// remembered (per thread) for the message of IMPEXP_ERR_TOO_MANY_PIXELS.
bool CheckPixelLimit(int64_t nWidth, int64_t nHeight);
// The reason text of the last refusal: the picture's size and the limit.
std::string PixelLimitText();
