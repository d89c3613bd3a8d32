#pragma once
// Windows metafiles that hold a picture as a device-independent bitmap: a
// placeable header, the metafile header, the window origin and extent, one
// StretchDIB record and the end record. Reading finds the first bitmap
// record (StretchDIB, DIBStretchBlt or SetDIBitsToDevice) of any metafile.

#include "storage/formats/CRaster.h"

#include <vector>

class CWmfCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    // 1, 4, 8 or 24 bits; sides up to 32767.
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
