#pragma once
// The device context: the drawing operations the program uses, on a screen,
// a printer or an image. Coordinates are device pixels, top-down; rectangles
// exclude their right and bottom edges.

#include "framework/CObject.h"
#include "framework/CRect.h"
#include "framework/GdiTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class CPalette;

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    ~CDC() override = default;

    bool m_bPrinting = false; // true while the context prints

    virtual int GetDeviceCaps(int nIndex) const = 0;

    // Copies a rectangle of a bottom-up device-independent bitmap unscaled.
    // pInfo is the header (40 bytes) followed by its colour table: RGBQUAD
    // entries with DIB_RGB_COLORS, 16-bit indexes into the selected palette
    // with DIB_PAL_COLORS. pBits holds nScanLines rows starting at row
    // nStartScan of the bitmap; (xSrc, ySrc) is the lower left corner of the
    // source rectangle, counted from the bitmap's bottom row. Returns the
    // number of rows drawn.
    virtual int SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                                  int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                                  unsigned nColorUse) = 0;
    // Scales the source rectangle (lower left corner at xSrc, ySrc counted from
    // the bottom row) into the destination rectangle. Returns the rows copied.
    virtual int StretchDIBits(int xDst, int yDst, int nDstWidth, int nDstHeight, int xSrc, int ySrc,
                              int nSrcWidth, int nSrcHeight, const void* pBits, const BITMAPINFOHEADER* pInfo,
                              unsigned nColorUse, uint32_t dwRop) = 0;
    virtual int SetStretchBltMode(int nMode);
    int GetStretchBltMode() const { return m_nStretchMode; }

    virtual bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                        uint32_t dwRop) = 0;
    // A memory context with a bitmap of nWidth × nHeight of this device's kind,
    // usable as BitBlt's source here; null when it cannot be made.
    virtual std::unique_ptr<CDC> CreateCompatibleDC(int nWidth, int nHeight);
    virtual void FillRect(const CRect& rect, COLORREF color) = 0;
    virtual void FrameRect(const CRect& rect, COLORREF color) = 0;
    virtual void InvertRect(const CRect& rect) = 0;
    // Lines and outlined shapes use the pen colour; shapes are filled with the
    // brush colour unless the brush is hollow.
    virtual void MoveTo(int x, int y);
    virtual void LineTo(int x, int y) = 0;
    virtual void Rectangle(const CRect& rect) = 0;
    virtual void Ellipse(const CRect& rect) = 0;
    virtual int DrawText(const std::string& text, CRect& rect, unsigned nFormat) = 0;

    // Font selection: the font of the description at the device's resolution,
    // or the device's default font with nullptr.
    virtual void SelectFont(const LOGFONT* pFont);
    // The selected font; false when it is the device's default.
    bool GetFont(LOGFONT& font) const;
    // The base measures text in cells: 8 × 16 pixels with the default font,
    // else as high as the font's height and half as wide.
    virtual void GetTextMetrics(TEXTMETRIC& tm) const;
    // Cell size of the base measure.
    CSize TextCell() const;

    COLORREF SetPenColor(COLORREF color);
    COLORREF SetBrushColor(COLORREF color); // also makes the brush solid
    void SetHollowBrush() { m_bHollowBrush = true; }
    COLORREF SetTextColor(COLORREF color);

    // Palette selection; returns the palette selected before.
    virtual CPalette* SelectPalette(CPalette* pPalette, bool bForceBackground);
    // Maps the selected palette into the device; returns the entries mapped.
    virtual unsigned RealizePalette();
    CPalette* GetCurrentPalette() const { return m_pPalette; }

    // Bytes per row of a bitmap with this header.
    static int64_t DibStride(const BITMAPINFOHEADER& info);
    // Colour of pixel x of a bitmap row as 0x00RRGGBB. With DIB_PAL_COLORS the
    // table's indexes select entries of pPalette (black without one).
    static uint32_t DibPixel(const BITMAPINFOHEADER* pInfo, const uint8_t* pRow, int x, unsigned nColorUse,
                             const CPalette* pPalette);

protected:
    CPalette* m_pPalette = nullptr;
    int m_nStretchMode = BLACKONWHITE;
    COLORREF m_penColor = RGB(0, 0, 0);
    COLORREF m_brushColor = RGB(255, 255, 255);
    COLORREF m_textColor = RGB(0, 0, 0);
    bool m_bHollowBrush = false;
    CPoint m_ptCurrent;
    bool m_bFont = false;
    LOGFONT m_font;
};
