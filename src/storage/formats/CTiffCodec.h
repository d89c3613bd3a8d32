#pragma once
// TIFF files through libtiff: 1-bit pictures uncompressed, PackBits or in
// the CCITT codings, 8-bit colour-mapped or grey, 24-bit RGB. Sniff tells the
// CCITT codings apart.

#include "storage/formats/CRaster.h"

#include <vector>

class CTiffCodec {
public:
    enum class Compression { None, PackBits, CcittRle, Group3_1D, Group3_2D, Group4 };

    // Format code: 3, or 25, 27, 28, 29 for the CCITT codings; 0 when not TIFF.
    static int Sniff(const uint8_t* p, size_t n);
    // Bits per sample × samples per pixel of the first directory (24 when unknown).
    static int DeclaredBits(const uint8_t* p, size_t n);
    static int Write(const CRaster& in, Compression compression, std::vector<uint8_t>& out);
    // Reads strip-organised pictures of 1, 4 or 8 bits (grey or colour-mapped)
    // and 8-bit RGB; IMPEXP_ERR_IMAGE_TYPE for the rest (tiles, planes,
    // YCbCr, CMYK, 16 bits per sample), which GraphicsMagick then reads.
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
};
