#pragma once
// GEM bit images (.IMG): big-endian header, then rows coded with solid runs,
// pattern runs, literal strings and row repetition. One plane (a set bit is
// black) or up to 8 planes with a grey table; writing produces one plane.

#include "storage/formats/CRaster.h"

#include <vector>

class CGemImgCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
