#pragma once
// JPEG files through libjpeg: JFIF files and JPEG files with a TIFF (Exif)
// header instead of the JFIF one, with the chroma sampling the save types ask for.

#include "storage/formats/CRaster.h"

#include <vector>

class CJpegCodec {
public:
    enum class Header { Jfif, Tiff };
    enum class Sampling { Default, H4V1, H2V1 };

    // Format code 10 (JFIF) or 11 (TIFF header), 0 when not JPEG.
    static int Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    // Colour files become 24 bits, grey ones 8 bits with a grey table.
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    // 8-bit grey pictures are written grey; others as colour (any bit count).
    static int Write(const CRaster& in, Header header, Sampling sampling, int nQuality,
                     std::vector<uint8_t>& out);
    // The library's quality factor (2 best … 255 smallest) as an IJG quality (1 … 100).
    static int IjgQuality(int nQFactor);
};
