#pragma once
// A device context over a QPainter: the screen (a widget), a printer or a
// QImage. Bitmap transfers turn each band into a QImage and draw it.

#include "framework/CDC.h"

class QPainter;
class QImage;
class QFont;
class QPaintDevice;

class CQtDC : public CDC {
    DECLARE_DYNAMIC(CQtDC)
public:
    // The painter is not owned; it must stay active while the context is used.
    explicit CQtDC(QPainter* pPainter, bool bPrinting = false);

    int GetDeviceCaps(int nIndex) const override;
    int SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                          int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                          unsigned nColorUse) override;
    int StretchDIBits(int xDst, int yDst, int nDstWidth, int nDstHeight, int xSrc, int ySrc, int nSrcWidth,
                      int nSrcHeight, const void* pBits, const BITMAPINFOHEADER* pInfo, unsigned nColorUse,
                      uint32_t dwRop) override;
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                uint32_t dwRop) override;
    // A context over a new black QImage of that size.
    std::unique_ptr<CDC> CreateCompatibleDC(int nWidth, int nHeight) override;
    void FillRect(const CRect& rect, COLORREF color) override;
    void FrameRect(const CRect& rect, COLORREF color) override;
    void InvertRect(const CRect& rect) override;
    void LineTo(int x, int y) override;
    void Rectangle(const CRect& rect) override;
    void Ellipse(const CRect& rect) override;
    int DrawText(const std::string& text, CRect& rect, unsigned nFormat) override;
    // Fonts are Qt's fonts of the described face at the device's resolution
    // (pixel sizes are device pixels); metrics come from Qt's font metrics.
    void SelectFont(const LOGFONT* pFont) override;
    void GetTextMetrics(TEXTMETRIC& tm) const override;
    // Reports this page size and resolution instead of the paint device's
    // (laying out pages for a device without drawing on it); 0 keeps the device's.
    void SetDeviceOverride(int nWidth, int nHeight, int nDpiX, int nDpiY);
    // The Qt font a logical font describes.
    static QFont LogFontToQFont(const LOGFONT& lf, QPaintDevice* pDevice);

    QPainter* GetPainter() const { return m_pPainter; }
    // The source rectangle of a bottom-up bitmap as a top-down QImage.
    static QImage DibToImage(const BITMAPINFOHEADER* pInfo, const void* pBits, int nStartScan, int nScanLines,
                             int xSrc, int ySrc, int nWidth, int nHeight, unsigned nColorUse,
                             const CPalette* pPalette);

protected:
    void SetPainter(QPainter* pPainter) { m_pPainter = pPainter; }

private:
    QPainter* m_pPainter;
    int m_nWidth = 0, m_nHeight = 0, m_nDpiX = 0, m_nDpiY = 0;
};
