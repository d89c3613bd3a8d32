#pragma once
// The device-independent bitmap: the one in-memory image type. A 40-byte
// header, a colour table for bit counts up to 8, and bottom-up rows padded to
// a multiple of 4 bytes. Row functions take top-down row numbers.

#include "framework/CFile.h"
#include "framework/CObject.h"
#include "framework/CRect.h"
#include "framework/GdiTypes.h"
#include "imaging/ImageMemory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDC;
class CPalette;

// Resolution of new images: 70 dots per inch in pixels per metre.
constexpr int kDefaultResolution = 2756;
// Larger resolutions are stored as 0.
constexpr int kMaxResolution = 5906;

class CDib : public CObject {
    DECLARE_DYNAMIC(CDib)
public:
    // Empty image: the colour table (2^bit count entries) is copied when given, else zero.
    CDib(int nBitCount, int nWidth, int nHeight, const RGBQUAD* pColorTable);
    // Grey image: gray levels as given; without a table entries 0..levels-1 are (i, i, i).
    CDib(int nWidth, int nHeight, int nBitCount, int nGrayLevels, const RGBQUAD* pColorTable);
    // Deep copy; CUserException when the source has no header or pixels.
    CDib(const CDib& src);
    // From a packed DIB (header, colour table, pixels), as the clipboard holds it.
    // CMemoryException for a null block; CUserException for a top-down,
    // run-length compressed or truncated one.
    CDib(const uint8_t* pPacked, size_t nSize);
    // Adopts the pixel block and frees the header block (both from
    // AllocImageMemory; the header block holds the header and colour table).
    CDib(void* pHeaderBlock, void* pPixelBlock);
    // Reads a .BMP file; CUserException when it cannot be opened or is not a
    // valid bitmap. Run-length compressed files are decoded.
    explicit CDib(const std::string& path);
    // Reads a .BMP file image from an open file (from its start).
    explicit CDib(CFile& file);
    // A .BMP file being written row by row with PutRow (file-backed mode).
    // The file appears under its name only on CommitFile().
    CDib(const std::string& path, int nBitCount, int nWidth, int nHeight, int nGrayLevels,
         const RGBQUAD* pColorTable, int nXRes = kDefaultResolution, int nYRes = kDefaultResolution);
    CDib& operator=(const CDib&) = delete;
    ~CDib() override;

    // Row access. y outside 0..height-1 throws CAppException 61704.
    uint8_t* GetRow(int y);
    bool PutRow(int y, const uint8_t* pSource);
    // Row y as width × 3 bytes blue, green, red. A 24-bit image with a null
    // destination returns its own row.
    uint8_t* GetRowRGB(int y, uint8_t* pDest);

    uint8_t* GetBits() { return m_pBits; }
    const uint8_t* GetBits() const { return m_pBits; }
    const BITMAPINFOHEADER* GetInfo() const { return m_pInfo; }
    BITMAPINFOHEADER* GetInfo() { return m_pInfo; }
    const BITMAPINFOHEADER* GetPalIndexInfo() const { return m_pPalIndexInfo; }
    RGBQUAD* GetColorTable() { return m_pColorTable; }
    const RGBQUAD* GetColorTable() const { return m_pColorTable; }
    int GetNumColors() const { return m_nColorTableEntries; }
    int GetWidth() const { return m_size.cx; }
    int GetHeight() const { return m_size.cy; }
    int GetBitCount() const { return m_pInfo->biBitCount; }
    int GetStride() const { return m_nStride; }
    int GetInfoSize() const { return m_nInfoSize; }
    bool IsGray() const { return m_bGray; }
    int GetGrayLevels() const { return m_nGrayLevels; }
    void SetGray(bool bGray, int nLevels) {
        m_bGray = bGray;
        m_nGrayLevels = nLevels;
    }
    uint64_t GetImageSize() const;
    // Grey check: gray true with levels = entries when every table entry is grey.
    void CheckGray();

    // Writes a .BMP file (beside the target, renamed over it when complete).
    void SaveBMP(const std::string& path) const;
    // Ends file-backed writing: the file replaces any file of that name.
    void CommitFile();
    // Header, colour table and pixels in one block, as the clipboard's CF_DIB.
    std::vector<uint8_t> CreatePackedDib() const;

    // A logical palette with one entry per colour-table entry; an image without
    // a table gets the display default when bUseDefault, else none (null).
    std::unique_ptr<CPalette> CreatePalette(bool bUseDefault) const;
    // 8-bit images: pixels and colour table rewritten for the nearest entries of the palette.
    bool MapToPalette(const CPalette* pPalette);
    bool NeedsDisplayDither() const;
    // A copy for a palette screen: 8-bit diffused to the display palette on an
    // 8-bit display, else 4-bit ordered to the eight colours.
    std::unique_ptr<CDib> CreateDisplayDib() const;
    bool UsesPaletteIndices() const;

    // Tone tables: the brightness/contrast/gamma operation fills
    // them; ApplyTone maps the pixels (or the colour table) through them.
    void ResetTone();
    void ComposeTone();
    void ApplyTone();

    // Drawing; rectangles in image pixels, top-down. Return the rows drawn.
    int Draw(CDC& dc, int x, int y, const CRect& rcSource);
    int Draw(CDC& dc, int x, int y);
    int StretchDraw(CDC& dc, const CRect& rcDest, const CRect& rcSource);

    // Rows per band of the program's own drawing for output rows of nStride bytes.
    static int BandHeight(int nRows, int64_t nStride);

    // Tone state (written by the point processes).
    int m_nBrightness = 50;
    int m_nContrast = 45;
    int m_nGammaStep = 20;
    bool m_bToneApplied = true;
    uint8_t m_gammaTable[256];
    uint8_t m_contrastTable[256];
    uint8_t m_toneTable[256];
    int m_nChannelMask = 7;

private:
    struct CSourceHeader;
    void InitHeader(int nBitCount, int nWidth, int nHeight, uint32_t nCompression, int nXRes, int nYRes);
    void AllocBits(bool bOneRow);
    void FreeAll();
    void LocateRow(int y, const char* pszCaller);
    void ReadBMP(CFile& file);
    void FromPacked(const uint8_t* p, size_t n);
    void CopyTableFrom(const CSourceHeader& src);
    int BlitBanded(CDC& dc, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc);
    int DrawDithered(CDC& dc, int xDest, int yDest, const CRect& rcSource);
    int StretchOwn(CDC& dc, const CRect& rcDest, const CRect& rcSource, bool bDither);

    std::unique_ptr<CAtomicFile> m_pFile; // file-backed mode only
    CSize m_size;
    bool m_bFileBacked = false;
    bool m_bGray = false;
    int m_nGrayLevels = 0;
    CImageBlock<BITMAPINFOHEADER> m_pInfo; // header and colour table
    CImageBlock<BITMAPINFOHEADER> m_pPalIndexInfo;
    int m_nInfoSize = 0;
    RGBQUAD* m_pColorTable = nullptr;
    int m_nColorTableEntries = 0;
    int m_nBitsOffset = 0;
    CImageBlock<uint8_t> m_pBits;
    int64_t m_nRowPos = 0;
    int m_nRowIndex = 0;
    int m_nStride = 0;
    std::vector<uint8_t> m_rowRGB; // conversion buffer for GetRowRGB without a destination
};
