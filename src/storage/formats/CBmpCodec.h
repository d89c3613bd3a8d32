#pragma once
// Windows and OS/2 (version 1 header) bitmap files, uncompressed.

#include "storage/formats/CRaster.h"

#include <vector>

class CBmpCodec {
public:
    // Format code 6 (Windows) or 14 (OS/2), 0 when not a bitmap file.
    static int Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    // 1, 4, 8 or 24 bits; bOs2 writes the 12-byte header with 3-byte colour entries.
    static int Write(const CRaster& in, bool bOs2, std::vector<uint8_t>& out);
};
