#pragma once
// Image records of photo files: the image header, its chunk with the palette,
// and the pixel chunk (raw, or a JPEG stream for 24-bit pixels).

#include <cstdint>

class CQlnChunkFile;

struct ImageHdrType {
    uint32_t dwStructSize; // 44
    uint32_t dwWidth;
    uint32_t dwHeight;
    uint32_t BitsPerPixel; // 8, 16 or 24
    uint32_t dwXpelsPerMeter;
    uint32_t dwYpelsPerMeter;
    uint32_t dwStoredDataSize; // bytes of the pixel chunk, set when pixels are read
    uint32_t dwImageSize;      // bytes of the uncompressed pixels, rows padded to 4 bytes
    uint16_t ColorOrder;       // 1
    uint16_t ViewOrigin;       // 2
    uint16_t Alignment;        // 0
    uint16_t FileFormat;       // 0
    uint16_t DataCompression;  // 0 raw; 1, 2, 3 JPEG
    uint16_t CompressQFactor;  // 1 ... 100, required with compression 3
};
static_assert(sizeof(ImageHdrType) == 44);

// The unit SetTag and GetTag exchange for the main image (tag 5).
struct ImageRecType {
    ImageHdrType Hdr;
    uint8_t Palette[256][4]; // blue, green, red, reserved
    void* pPixels;           // rows padded to 4 bytes; from the allocation hook when read
};

// A thumbnail (tag 3) also names its scale, 0 ... 5.
struct TnImageRecType : ImageRecType {
    uint16_t wScale;
};

inline constexpr uint32_t kImageHdrSize = 44;
inline constexpr uint32_t kImageHdrChunkSize = 36;
inline constexpr uint32_t kPaletteSize = 1024;
inline constexpr uint16_t kMaxYpelsPerMeter = 5906;

// ((width x bits + 31) / 32) x 4 x height, in 64 bits so that no header overflows it.
uint64_t GetImageByteSize(const ImageHdrType& hdr);
uint32_t GetImageStride(const ImageHdrType& hdr);

// Keeps the struct size, clears the rest; 2756 pixels per metre, colour order 1,
// view origin 2, compression 3 with Q factor 65.
void InitImageHeader(ImageHdrType* pHdr, uint32_t dwWidth, uint32_t dwHeight, uint32_t dwBitsPerPixel);
// Both throw CNotSupportedException at the first check that fails.
void VerifyStructureSize(const ImageHdrType& hdr);
void ValidateImageHeaderData(const ImageHdrType& hdr);

// The 36-byte header, followed by the 1024-byte palette for 8 bits or fewer.
bool WriteImageHeaderAndColorTable(CQlnChunkFile& file, uint32_t dwChunkID, const ImageHdrType& hdr,
                                   const uint8_t (*pPalette)[4]);
// The chunk's size, 0 when it is absent or empty. The palette (when given) is
// copied for 8 bits or fewer and cleared otherwise.
uint32_t ReadImageHeaderAndColorTable(CQlnChunkFile& file, uint32_t dwChunkID, ImageHdrType* pHdr,
                                      uint8_t (*pPalette)[4], bool bDiscardable);

// 1 when the pixels were stored, 0 when refused (JPEG of other than 24 bits,
// encoder failure, unknown compression).
int WriteImagePixels(CQlnChunkFile& file, uint32_t dwChunkID, ImageRecType* pRec);
// 1 when the pixels were read into pRec->pPixels (the caller's, from the
// allocation hook), 0 when absent, unsupported or undecodable (nothing is held then).
int ReadImagePixels(CQlnChunkFile& file, uint32_t dwChunkID, ImageRecType* pRec, bool bDiscardable);
