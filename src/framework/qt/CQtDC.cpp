#include "framework/qt/CQtDC.h"

#include "framework/DisplayCaps.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CQtDC, CDC)

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// A context that owns the image it paints on.
class CQtMemoryDC : public CQtDC {
public:
    explicit CQtMemoryDC(std::unique_ptr<QImage> pImage)
        : CQtDC(nullptr), m_pImage(std::move(pImage)), m_painter(m_pImage.get()) {
        SetPainter(&m_painter);
    }
    ~CQtMemoryDC() override { m_painter.end(); }

    // Bitmaps go straight into the image's rows, without an intermediate image.
    int SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                          int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                          unsigned nColorUse) override {
        if (!pBits || !pInfo || nWidth <= 0 || nHeight <= 0) return 0;
        // The image is not shared, so its rows can be written while the painter is active.
        const int64_t nStride = DibStride(*pInfo);
        const uint8_t* p = static_cast<const uint8_t*>(pBits);
        int nDrawn = 0;
        for (int j = 0; j < nHeight; ++j) {
            const int yDst = y + j, nRow = ySrc + (nHeight - 1 - j);
            if (yDst < 0 || yDst >= m_pImage->height() || nRow < nStartScan ||
                nRow >= nStartScan + nScanLines || nRow < 0 || nRow >= pInfo->biHeight)
                continue;
            const uint8_t* pRow = p + (nRow - nStartScan) * nStride;
            auto* pOut = reinterpret_cast<QRgb*>(const_cast<uchar*>(m_pImage->constScanLine(yDst)));
            const int i0 = std::max({0, -x, -xSrc});
            const int i1 = std::min({nWidth, m_pImage->width() - x, pInfo->biWidth - xSrc});
            if (pInfo->biBitCount == 24) {
                const uint8_t* s = pRow + 3 * (xSrc + i0);
                for (int i = i0; i < i1; ++i, s += 3) pOut[x + i] = qRgb(s[2], s[1], s[0]);
            } else {
                for (int i = i0; i < i1; ++i)
                    pOut[x + i] = 0xFF000000u | DibPixel(pInfo, pRow, xSrc + i, nColorUse, m_pPalette);
            }
            ++nDrawn;
        }
        return nDrawn;
    }

private:
    std::unique_ptr<QImage> m_pImage;
    QPainter m_painter;
};

} // namespace

CQtDC::CQtDC(QPainter* pPainter, bool bPrinting) : m_pPainter(pPainter) {
    m_bPrinting = bPrinting;
}

int CQtDC::GetDeviceCaps(int nIndex) const {
    QPaintDevice* pDev = m_pPainter ? m_pPainter->device() : nullptr;
    if (!pDev) return 0;
    const CDisplayCaps& caps = GetDisplayCaps();
    switch (nIndex) {
    case HORZRES:
    case PHYSICALWIDTH:
        return m_nWidth > 0 ? m_nWidth : pDev->width();
    case VERTRES:
    case PHYSICALHEIGHT:
        return m_nHeight > 0 ? m_nHeight : pDev->height();
    case HORZSIZE:
        return pDev->widthMM();
    case VERTSIZE:
        return pDev->heightMM();
    case LOGPIXELSX:
        return m_nDpiX > 0 ? m_nDpiX : pDev->logicalDpiX();
    case LOGPIXELSY:
        return m_nDpiY > 0 ? m_nDpiY : pDev->logicalDpiY();
    case BITSPIXEL:
        return m_bPrinting ? 24 : caps.nBitsPixel;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return (!m_bPrinting && caps.nBitsPixel <= 8) ? (1 << caps.nBitsPixel) : -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHDIB |
               ((!m_bPrinting && caps.nBitsPixel <= 8) ? RC_PALETTE : 0);
    case SIZEPALETTE:
        return m_bPrinting ? 0 : caps.nSizePalette;
    case NUMRESERVED:
        return m_bPrinting ? 0 : caps.nReserved;
    default:
        return 0;
    }
}

QImage CQtDC::DibToImage(const BITMAPINFOHEADER* pInfo, const void* pBits, int nStartScan, int nScanLines,
                         int xSrc, int ySrc, int nWidth, int nHeight, unsigned nColorUse,
                         const CPalette* pPalette) {
    QImage img(nWidth, nHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    int64_t nStride = DibStride(*pInfo);
    const uint8_t* p = static_cast<const uint8_t*>(pBits);
    for (int j = 0; j < nHeight; ++j) {
        int nRow = ySrc + (nHeight - 1 - j);
        if (nRow < nStartScan || nRow >= nStartScan + nScanLines || nRow < 0 || nRow >= pInfo->biHeight)
            continue;
        const uint8_t* pRow = p + (nRow - nStartScan) * nStride;
        auto* pOut = reinterpret_cast<QRgb*>(img.scanLine(j));
        if (pInfo->biBitCount == 24 && xSrc >= 0 && xSrc + nWidth <= pInfo->biWidth) {
            const uint8_t* s = pRow + 3 * xSrc;
            for (int i = 0; i < nWidth; ++i, s += 3) pOut[i] = qRgb(s[2], s[1], s[0]);
            continue;
        }
        for (int i = 0; i < nWidth; ++i) {
            int xs = xSrc + i;
            if (xs < 0 || xs >= pInfo->biWidth) continue;
            pOut[i] = 0xFF000000u | DibPixel(pInfo, pRow, xs, nColorUse, pPalette);
        }
    }
    return img;
}

int CQtDC::SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                             int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                             unsigned nColorUse) {
    if (!m_pPainter || !pBits || !pInfo || nWidth <= 0 || nHeight <= 0) return 0;
    QImage img =
        DibToImage(pInfo, pBits, nStartScan, nScanLines, xSrc, ySrc, nWidth, nHeight, nColorUse, m_pPalette);
    m_pPainter->drawImage(x, y, img);
    return nHeight;
}

int CQtDC::StretchDIBits(int xDst, int yDst, int nDstWidth, int nDstHeight, int xSrc, int ySrc, int nSrcWidth,
                         int nSrcHeight, const void* pBits, const BITMAPINFOHEADER* pInfo, unsigned nColorUse,
                         uint32_t) {
    if (!m_pPainter || !pBits || !pInfo || nDstWidth <= 0 || nDstHeight <= 0 || nSrcWidth <= 0 ||
        nSrcHeight <= 0)
        return 0;
    QImage img = DibToImage(pInfo, pBits, 0, pInfo->biHeight, xSrc, ySrc, nSrcWidth, nSrcHeight, nColorUse,
                            m_pPalette);
    // A printer (or a PDF file) gets the picture at the resolution it is
    // printed at, not more: a large picture in a small cell is scaled first.
    if (m_bPrinting && (nDstWidth < nSrcWidth || nDstHeight < nSrcHeight))
        img = img.scaled(std::min(nDstWidth, nSrcWidth), std::min(nDstHeight, nSrcHeight),
                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_pPainter->save();
    m_pPainter->setRenderHint(QPainter::SmoothPixmapTransform, m_nStretchMode == HALFTONE);
    m_pPainter->drawImage(QRect(xDst, yDst, nDstWidth, nDstHeight), img);
    m_pPainter->restore();
    return nSrcHeight;
}

bool CQtDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, uint32_t dwRop) {
    if (!m_pPainter) return false;
    if (dwRop == DSTINVERT) {
        InvertRect(CRect(x, y, x + nWidth, y + nHeight));
        return true;
    }
    auto* pSrc = dynamic_cast<CQtDC*>(pSrcDC);
    if (!pSrc || !pSrc->m_pPainter) return false;
    auto* pImage = dynamic_cast<QImage*>(pSrc->m_pPainter->device());
    if (!pImage) return false;
    m_pPainter->save();
    if (dwRop == SRCINVERT) m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_pPainter->drawImage(QPoint(x, y), *pImage, QRect(xSrc, ySrc, nWidth, nHeight));
    m_pPainter->restore();
    return true;
}

std::unique_ptr<CDC> CQtDC::CreateCompatibleDC(int nWidth, int nHeight) {
    if (nWidth <= 0 || nHeight <= 0) return nullptr;
    auto pImage = std::make_unique<QImage>(nWidth, nHeight, QImage::Format_RGB32);
    if (pImage->isNull()) return nullptr;
    pImage->fill(Qt::black);
    auto pDC = std::make_unique<CQtMemoryDC>(std::move(pImage));
    pDC->m_bPrinting = false;
    return pDC;
}

void CQtDC::FillRect(const CRect& rect, COLORREF color) {
    if (m_pPainter) m_pPainter->fillRect(ToQRect(rect), ToQColor(color));
}

void CQtDC::FrameRect(const CRect& rect, COLORREF color) {
    if (!m_pPainter || rect.IsRectEmpty()) return;
    QColor c = ToQColor(color);
    m_pPainter->fillRect(QRect(rect.left, rect.top, rect.Width(), 1), c);
    m_pPainter->fillRect(QRect(rect.left, rect.bottom - 1, rect.Width(), 1), c);
    m_pPainter->fillRect(QRect(rect.left, rect.top, 1, rect.Height()), c);
    m_pPainter->fillRect(QRect(rect.right - 1, rect.top, 1, rect.Height()), c);
}

void CQtDC::InvertRect(const CRect& rect) {
    if (!m_pPainter) return;
    m_pPainter->save();
    m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_pPainter->fillRect(ToQRect(rect), Qt::white);
    m_pPainter->restore();
}

void CQtDC::LineTo(int x, int y) {
    if (m_pPainter) {
        m_pPainter->setPen(ToQColor(m_penColor));
        m_pPainter->drawLine(m_ptCurrent.x, m_ptCurrent.y, x, y);
    }
    m_ptCurrent = CPoint(x, y);
}

void CQtDC::Rectangle(const CRect& rect) {
    if (!m_pPainter || rect.IsRectEmpty()) return;
    if (!m_bHollowBrush) m_pPainter->fillRect(ToQRect(rect), ToQColor(m_brushColor));
    FrameRect(rect, m_penColor);
}

void CQtDC::Ellipse(const CRect& rect) {
    if (!m_pPainter || rect.IsRectEmpty()) return;
    m_pPainter->save();
    m_pPainter->setPen(ToQColor(m_penColor));
    if (m_bHollowBrush)
        m_pPainter->setBrush(Qt::NoBrush);
    else
        m_pPainter->setBrush(ToQColor(m_brushColor));
    m_pPainter->drawEllipse(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
    m_pPainter->restore();
}

int CQtDC::DrawText(const std::string& text, CRect& rect, unsigned nFormat) {
    if (!m_pPainter) return 0;
    int flags = 0;
    flags |= (nFormat & DT_CENTER) ? Qt::AlignHCenter : (nFormat & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (nFormat & DT_SINGLELINE)
        flags |= (nFormat & DT_VCENTER)  ? Qt::AlignVCenter
                 : (nFormat & DT_BOTTOM) ? Qt::AlignBottom
                                         : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if (nFormat & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    if (nFormat & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    if (!(nFormat & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    QString s = QString::fromStdString(text);
    QRect bound = m_pPainter->boundingRect(ToQRect(rect), flags, s);
    if (nFormat & DT_CALCRECT) {
        rect.right = rect.left + bound.width();
        rect.bottom = rect.top + bound.height();
        return bound.height();
    }
    m_pPainter->save();
    m_pPainter->setPen(ToQColor(m_textColor));
    m_pPainter->drawText(ToQRect(rect), flags, s);
    m_pPainter->restore();
    return bound.height();
}

void CQtDC::SetDeviceOverride(int nWidth, int nHeight, int nDpiX, int nDpiY) {
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nDpiX = nDpiX;
    m_nDpiY = nDpiY;
}

QFont CQtDC::LogFontToQFont(const LOGFONT& lf, QPaintDevice* pDevice) {
    QFont font = lf.lfFaceName[0] ? QFont(QString::fromLatin1(lf.lfFaceName)) : QFont();
    if (lf.lfFaceName[0] && (lf.lfPitchAndFamily & 0xF0) == 0x20) font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.lfWeight > 0 ? lf.lfWeight : 400, 100, 900)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfHeight < 0) {
        font.setPixelSize(-lf.lfHeight); // character height
    } else if (lf.lfHeight > 0) {
        // Cell height: scale the character height so that the cell matches.
        font.setPixelSize(lf.lfHeight);
        int h = QFontMetrics(font, pDevice).height();
        if (h > 0) font.setPixelSize(std::max(1, lf.lfHeight * lf.lfHeight / h));
    }
    return font;
}

void CQtDC::SelectFont(const LOGFONT* pFont) {
    CDC::SelectFont(pFont);
    if (!m_pPainter) return;
    m_pPainter->setFont(pFont ? LogFontToQFont(*pFont, m_pPainter->device()) : QFont());
}

void CQtDC::GetTextMetrics(TEXTMETRIC& tm) const {
    if (!m_pPainter) {
        CDC::GetTextMetrics(tm);
        return;
    }
    QFontMetrics fm(m_pPainter->font(), m_pPainter->device());
    tm = TEXTMETRIC{};
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.ascent() + fm.descent();
    int nEm = m_pPainter->font().pixelSize();
    tm.tmInternalLeading = nEm > 0 ? std::max(tm.tmHeight - nEm, 0) : 0;
    tm.tmExternalLeading = std::max(fm.leading(), 0);
    tm.tmAveCharWidth = fm.averageCharWidth();
}
