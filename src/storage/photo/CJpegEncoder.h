#pragma once
// Baseline JPEG compression of blue-green-red rows straight into an open file,
// through libjpeg with a destination manager on the file.

#include <cstdint>

class CFile;

class CJpegEncoder {
public:
    enum : int { kOk = 0, kNullBuffer = -1, kEncoderError = -4 };

    // Encodes width x height pixels of 3 bytes (blue, green, red), rows of
    // nStride bytes; bLastRowFirst starts with the last row of the buffer.
    // The library's defaults for quality 75, then nQuality when it is not 0,
    // both without baseline forcing. Returns kOk or a negative status; a
    // failed write to the file is rethrown after the encoder is released.
    static int Compress(CFile& file, const uint8_t* pBits, uint32_t nWidth, uint32_t nHeight,
                        uint32_t nStride, bool bLastRowFirst, int nQuality);
};
