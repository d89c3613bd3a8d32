#pragma once
// PNG files through libpng's simplified interface: true colour as 24 bits,
// grey as 8 bits with a grey table, colour-mapped as 8 bits with its table.
// Transparency is dropped (composited on black by libpng).

#include "storage/formats/CRaster.h"

#include <vector>

class CPngCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    // 8-bit pictures are written colour-mapped, 24-bit as RGB; others are
    // converted first. (Export uses GraphicsMagick's encoder, which is faster.)
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
