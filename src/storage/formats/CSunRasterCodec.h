#pragma once
// Writing Sun raster files (uncompressed): 1, 8 (with colour map), 24 and
// 32 bits. A 4-bit picture is written with 8 bits, the format having no 4-bit
// depth. Reading goes through GraphicsMagick.

#include "storage/formats/CRaster.h"

#include <vector>

class CSunRasterCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
