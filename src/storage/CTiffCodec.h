#pragma once
// Writing TIFF files through libtiff: 1-bit pictures uncompressed, PackBits
// or in the CCITT codings, 8-bit colour-mapped or grey, 24-bit RGB. Reading
// goes through GraphicsMagick; Sniff tells the CCITT codings apart.

#include "storage/CRaster.h"

#include <vector>

class CTiffCodec {
public:
    enum class Compression { None, PackBits, CcittRle, Group3_1D, Group3_2D, Group4 };

    // Format code: 3, or 25, 27, 28, 29 for the CCITT codings; 0 when not TIFF.
    static int Sniff(const uint8_t* p, size_t n);
    // Bits per sample × samples per pixel of the first directory (24 when unknown).
    static int DeclaredBits(const uint8_t* p, size_t n);
    static int Write(const CRaster& in, Compression compression, std::vector<uint8_t>& out);
};
