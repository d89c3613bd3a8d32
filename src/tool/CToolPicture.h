#pragma once
// Pictures for the photo commands of zozi-tool: read from and written to
// Windows BMP files or photo files, turned into image records, and reduced to
// thumbnails as albums make them.

#include "storage/QlnImage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CToolPicture {
public:
    // Pixels bottom-up, rows padded to 4 bytes, as a DIB holds them.
    CToolPicture(uint32_t nWidth, uint32_t nHeight, uint32_t nBitCount);
    // Takes pixels released through pfnFree.
    CToolPicture(uint32_t nWidth, uint32_t nHeight, uint32_t nBitCount, uint8_t* pBits,
                 void (*pfnFree)(void*));
    // Shares pixels held elsewhere (a mapped file).
    CToolPicture(uint32_t nWidth, uint32_t nHeight, uint32_t nBitCount, std::shared_ptr<uint8_t> pBits);

    uint32_t Width() const { return m_nWidth; }
    uint32_t Height() const { return m_nHeight; }
    uint32_t BitCount() const { return m_nBitCount; }
    uint32_t Stride() const { return (m_nWidth * m_nBitCount + 31) / 32 * 4; }
    size_t ImageSize() const { return size_t{Stride()} * m_nHeight; }
    uint8_t* Bits() { return m_pBits.get(); }
    const uint8_t* Bits() const { return m_pBits.get(); }
    // Top-down row y.
    uint8_t* Row(uint32_t y) { return Bits() + size_t{Stride()} * (m_nHeight - 1 - y); }
    const uint8_t* Row(uint32_t y) const { return Bits() + size_t{Stride()} * (m_nHeight - 1 - y); }
    // 2^bits entries of blue, green, red, reserved for 8 bits or fewer.
    std::vector<uint8_t>& ColorTable() { return m_colorTable; }
    const std::vector<uint8_t>& ColorTable() const { return m_colorTable; }

private:
    uint32_t m_nWidth, m_nHeight, m_nBitCount;
    std::shared_ptr<uint8_t> m_pBits;
    std::vector<uint8_t> m_colorTable;
};

// A BMP file or the main image of a photo file; 1- and 4-bit pictures come as 8 bits.
std::unique_ptr<CToolPicture> LoadToolPicture(const std::string& path);
// By the extension: ".bmp" keeps the bit depth, ".qln" makes a photo file.
void SaveToolPicture(const CToolPicture& picture, const std::string& path);

// Runs build on a temporary name beside path (the photo-file cache closed
// after it), then renames the result over path; on failure nothing is left.
void BuildPhotoFileBeside(const std::string& path, const std::function<void(const std::string&)>& build);

// The record albums build: InitImageHeader, the pixel pointer, the colour table.
void FillImageRecord(const CToolPicture& picture, ImageRecType& rec);
// Takes the pixels of a record GetTag filled.
std::unique_ptr<CToolPicture> PictureFromRecord(ImageRecType& rec);
