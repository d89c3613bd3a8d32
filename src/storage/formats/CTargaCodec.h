#pragma once
// Truevision Targa files: colour-mapped, true-colour (16, 24, 32 bits) and
// grey, uncompressed or run-length encoded on reading; uncompressed on writing.

#include "storage/formats/CRaster.h"

#include <vector>

class CTargaCodec {
public:
    // True when the 18-byte header is a plausible Targa header.
    static bool Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    // 8 (colour-mapped), 16 (5-5-5), 24 or 32 bits.
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
