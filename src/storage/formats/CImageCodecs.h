#pragma once
// The codec layer: one table of formats (how each is recognised, read and
// written), working on pictures in memory. Format codes and save types are
// those of ImpExpTables.h.

#include "storage/formats/CRaster.h"

#include <string>
#include <vector>

struct CImageFileInfo {
    int nFormat = 0;
    int nWidth = 0;
    int nHeight = 0;
    int nBits = 0;
};

class CImageCodecs {
public:
    // The format code of the bytes; the extension (without the dot) decides
    // for formats without a signature (Targa, MacPaint). 0 when unknown.
    static int Sniff(const uint8_t* p, size_t n, const std::string& ext);
    // Format code, size and bits per pixel, without decoding the pixels.
    static int GetInfo(const uint8_t* p, size_t n, const std::string& ext, CImageFileInfo& info);
    // Decodes a picture of the given format code.
    static int Read(const uint8_t* p, size_t n, int nFormat, CRaster& out);
    // Encodes with a save type (1 … 56, 57): the bit count the save type
    // names, reached with CRaster::ConvertTo.
    static int Write(const CRaster& in, int nSaveType, std::vector<uint8_t>& out);
    // True when the format code can be read at all.
    static bool CanRead(int nFormat);
};
