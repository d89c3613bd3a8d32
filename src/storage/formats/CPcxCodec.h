#pragma once
// ZSoft PCX files, version 5, run-length coded: 1 bit (one plane), 4 bits
// (four planes of one bit, colour map in the header), 8 bits (one plane,
// 256-colour map at the end) and 24 bits (three planes of eight bits).

#include "storage/formats/CRaster.h"

#include <vector>

class CPcxCodec {
public:
    static bool Sniff(const uint8_t* p, size_t n);
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    static int Read(const uint8_t* p, size_t n, CRaster& out);
    static int Write(const CRaster& in, std::vector<uint8_t>& out);
};
