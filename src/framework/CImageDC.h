#pragma once
// A device context that draws into an image in memory (0x00RRGGBB pixels,
// top-down): off-screen work and pixel-exact tests. It also records every
// bitmap transfer, so callers can check how drawing was split.

#include "framework/CDC.h"

#include <string>
#include <vector>

class CImageDC : public CDC {
    DECLARE_DYNAMIC(CImageDC)
public:
    // nBitsPixel is what BITSPIXEL reports (8 makes it a palette device).
    CImageDC(int nWidth, int nHeight, int nBitsPixel = 24, COLORREF background = RGB(255, 255, 255));

    struct CBlitCall {
        int x, y, nWidth, nHeight, xSrc, ySrc, nStartScan, nScanLines;
        int nBitCount; // of the bitmap passed
        unsigned nColorUse;
        bool bStretch;
    };

    int GetDeviceCaps(int nIndex) const override;
    int SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                          int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                          unsigned nColorUse) override;
    int StretchDIBits(int xDst, int yDst, int nDstWidth, int nDstHeight, int xSrc, int ySrc, int nSrcWidth,
                      int nSrcHeight, const void* pBits, const BITMAPINFOHEADER* pInfo, unsigned nColorUse,
                      uint32_t dwRop) override;
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                uint32_t dwRop) override;
    // Another image context of the same depth, black.
    std::unique_ptr<CDC> CreateCompatibleDC(int nWidth, int nHeight) override;
    void FillRect(const CRect& rect, COLORREF color) override;
    void FrameRect(const CRect& rect, COLORREF color) override;
    void InvertRect(const CRect& rect) override;
    void LineTo(int x, int y) override;
    void Rectangle(const CRect& rect) override;
    void Ellipse(const CRect& rect) override;
    // Measures text in the base cells (TextCell), wrapping words with
    // DT_WORDBREAK, and records it with the box it lands in; no glyphs are drawn.
    int DrawText(const std::string& text, CRect& rect, unsigned nFormat) override;
    static std::vector<std::string> CellLines(const std::string& text, unsigned nFormat, int nMaxCells);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // 0x00RRGGBB of a pixel; 0 outside.
    uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t rgb);
    const std::vector<uint32_t>& Pixels() const { return m_pixels; }

    std::vector<CBlitCall> m_calls;
    std::vector<std::string> m_texts;
    std::vector<CRect> m_textRects; // where each recorded text landed
    int m_nLogPixels = 96;          // both axes unless m_nLogPixelsY is set
    int m_nLogPixelsY = 0;

private:
    void Plot(int x, int y, uint32_t rgb);

    int m_nWidth, m_nHeight, m_nBitsPixel;
    std::vector<uint32_t> m_pixels;
};
