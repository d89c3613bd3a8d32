#pragma once
// The GraphicsMagick side of the codec layer: formats it reads and writes
// through blobs in memory, with its resource limits set once.

#include "storage/formats/CRaster.h"

#include <cstdint>
#include <string>
#include <vector>

struct CMagickInfo {
    int nWidth = 0;
    int nHeight = 0;
    int nBits = 0;
};

class CMagickCodec {
public:
    // Initialises GraphicsMagick once and sets its limits: pixel cache in
    // memory only (no disk), memory and pixel counts bounded by the memory
    // available to the program, sides bounded by CRaster::kMaxSide.
    static void Initialize();
    // True when a PostScript interpreter (gs) is on the path; without it the
    // PostScript formats report IMPEXP_ERR_NO_POSTSCRIPT.
    static bool HasPostScript();

    // Size and bit count without decoding the pixels. magick names the
    // coder ("PCX", "TGA" ...); an empty name lets GraphicsMagick sniff.
    static int Ping(const uint8_t* pData, size_t nSize, const std::string& magick, CMagickInfo& info);
    // Decodes the first frame. Colour-mapped pictures of up to 256 colours
    // keep their table (1, 4 or 8 bits, at least nMinBits); others are 24-bit.
    static int Read(const uint8_t* pData, size_t nSize, const std::string& magick, CRaster& out,
                    int nMinBits = 1);
    // Encodes the picture with the named coder. nCompression is a
    // GraphicsMagick CompressionType (0: the coder's default).
    static int Write(const CRaster& in, const std::string& magick, std::vector<uint8_t>& out,
                     int nCompression = 0);
};
