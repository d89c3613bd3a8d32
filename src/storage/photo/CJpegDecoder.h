#pragma once
// JPEG decompression from a memory buffer into blue-green-red rows, through
// libjpeg with a source manager on the buffer. Decoder errors are results,
// never aborts: the decoder object is released whatever happens.

#include <cstddef>
#include <cstdint>
#include <memory>

class CJpegDecoder {
public:
    CJpegDecoder(const uint8_t* pData, size_t nSize);
    CJpegDecoder(const CJpegDecoder&) = delete;
    CJpegDecoder& operator=(const CJpegDecoder&) = delete;
    ~CJpegDecoder();

    // Reads the stream's header; false when it is not a readable JPEG stream.
    bool ReadHeader(uint32_t& nWidth, uint32_t& nHeight);
    // Decodes the whole image as 3-byte pixels into rows of nStride bytes,
    // padding bytes cleared; bLastRowFirst puts the first decoded row last.
    // Returns 0, or a negative status when the decoder failed.
    int Decode(uint8_t* pBits, uint32_t nStride, bool bLastRowFirst);

    struct CState; // libjpeg's state, defined with the code

private:
    std::unique_ptr<CState> m_pState;
};
