#pragma once
// Writing WordPerfect Graphics (version 1) files holding one bitmap of 1, 4
// or 8 bits with its colour map. Reading goes through GraphicsMagick.

#include "storage/formats/CRaster.h"

#include <vector>

class CWpgCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
