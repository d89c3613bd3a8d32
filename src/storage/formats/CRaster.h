#pragma once
// A plain picture in memory as the codecs exchange it: the layout of a
// device-independent bitmap (bottom-up rows padded to a multiple of 4 bytes,
// blue-green-red pixels, a colour table for 1, 4 and 8 bits), so that it
// moves to and from a CDib with one copy.

#include <cstddef>
#include <cstdint>
#include <vector>

struct CRasterColor {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    friend constexpr bool operator==(const CRasterColor&, const CRasterColor&) = default;
};

class CRaster {
public:
    // Largest side accepted from any file.
    static constexpr int kMaxSide = 1 << 18;

    // Bytes per row: ((width × bits + 31) / 32) × 4.
    static int64_t StrideFor(int64_t nWidth, int nBits);
    static bool IsValidBitCount(int nBits);

    CRaster() = default;
    CRaster(CRaster&& other) noexcept { *this = std::move(other); }
    CRaster& operator=(CRaster&& other) noexcept;
    CRaster(const CRaster&) = delete;
    CRaster& operator=(const CRaster&) = delete;
    ~CRaster() { Free(); }

    // Allocates a picture (zeroed unless bZero is false, for decoders that
    // write every byte) from the image memory functions; the colour table gets
    // 2^bits entries (zero) for 1, 4 and 8 bits. Returns an IMPEXP_ result:
    // the invalid width/height or bits error for a bad size, the pixel-limit
    // error for more pixels than GetMaxPixels() allows (decoders call this
    // before decoding), the memory error when the pixels do not fit in the
    // memory allowed.
    int Create(int nWidth, int nHeight, int nBits, bool bZero = true);
    // Describes pixels held elsewhere (a CDib's), without copying or owning them.
    void Attach(int nWidth, int nHeight, int nBits, uint8_t* pBits);
    // Hands the pixel block (from AllocImageMemory) to the caller.
    uint8_t* ReleaseBits();
    bool IsEmpty() const { return m_pBits == nullptr; }

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetBitCount() const { return m_nBits; }
    int GetStride() const { return m_nStride; }
    // Top-down row y (0 = top).
    uint8_t* Row(int y) { return m_pBits + static_cast<size_t>(m_nHeight - 1 - y) * m_nStride; }
    const uint8_t* Row(int y) const { return m_pBits + static_cast<size_t>(m_nHeight - 1 - y) * m_nStride; }
    uint8_t* GetBits() { return m_pBits; }
    const uint8_t* GetBits() const { return m_pBits; }
    size_t GetImageSize() const { return m_nSize; }

    // A grey colour table: 2^bits entries from black to white.
    void SetGrayPalette();
    // True when every colour-table entry is grey.
    bool HasGrayPalette() const;
    // Row y as width × 3 bytes blue, green, red.
    void GetRowBGR(int y, uint8_t* pDest) const;

    // The same picture at another bit count (1, 4, 8, 16, 24, 32). Fewer
    // colours: an exact table when the picture has that few, else a fixed
    // table (grey for grey pictures, the 16 standard colours for 4 bits, a
    // colour cube for 8 bits, black and white at grey 128 for 1 bit).
    int ConvertTo(int nBits, CRaster& out) const;
    // Fewer bits only when the colours fit exactly; false (unchanged) otherwise.
    bool ReduceExact(int nBits);
    // Distinct colours, counted up to nLimit + 1.
    int CountColours(int nLimit) const;

    std::vector<CRasterColor> m_palette;
    int m_nXRes = 0; // pixels per metre, 0 when unknown
    int m_nYRes = 0;

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBits = 0;
    int m_nStride = 0;
    uint8_t* m_pBits = nullptr;
    size_t m_nSize = 0;
    bool m_bOwned = false;

    void Free();
    // Create without the pixel limit, for copies of pictures already in memory.
    int Allocate(int nWidth, int nHeight, int nBits, bool bZero);
};

// The memory a decoder may take for one picture: available memory less the
// 2 MB reserve. Tests lower it.
uint64_t GetRasterMemoryLimit();
void SetRasterMemoryLimitForTest(uint64_t nLimit); // 0 restores the real limit
