#pragma once
// Writing MacPaint files: a 512-byte header with the patterns, then 720 rows
// of 576 pixels (a set bit is black), each row PackBits coded. Larger
// pictures are cut at the right and bottom, smaller ones padded with white.
// Reading goes through GraphicsMagick.

#include "storage/formats/CRaster.h"

#include <vector>

class CMacPaintCodec {
public:
    static constexpr int kWidth = 576;
    static constexpr int kHeight = 720;

    // A plausible MacPaint header (version 0, 2 or 3) followed by coded rows.
    static bool Sniff(const uint8_t* p, size_t n);
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
