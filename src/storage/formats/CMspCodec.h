#pragma once
// Microsoft Paint files: version 1 ("DanM", raw rows) and version 2 ("LinS",
// run-length rows with a table of row lengths); 1 bit per pixel, a set bit is white.

#include "storage/formats/CRaster.h"

#include <vector>

class CMspCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    // Writes version 2 from a 1-bit picture.
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
