#include "framework/qt/CQtDC.h"

#include "framework/CPalette.h"
#include "framework/DisplayCaps.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CQtDC, CDC)

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Rows [row0, row0 + nRows) of the bitmap (counted from its bottom row, within
// the nScanLines rows held at pBits) and columns [x0, x0 + nCols), top-down.
QImage BandToImage(const void* pBits, const BITMAPINFOHEADER* pInfo, unsigned nColorUse, const CPalette* pPal,
                   int x0, int nCols, int row0, int nRows) {
    QImage img(nCols, nRows, QImage::Format_RGB32);
    const int64_t stride = CDC::DibStride(*pInfo);
    const auto* base = static_cast<const uint8_t*>(pBits);
    for (int r = 0; r < nRows; ++r) {
        // Top-down output row r is bitmap row row0 + nRows - 1 - r.
        const uint8_t* src = base + (row0 + nRows - 1 - r) * stride;
        auto* dst = reinterpret_cast<uint32_t*>(img.scanLine(r));
        if (pInfo->biBitCount == 24) {
            const uint8_t* p = src + 3 * x0;
            for (int c = 0; c < nCols; ++c, p += 3) dst[c] = 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
        } else {
            for (int c = 0; c < nCols; ++c)
                dst[c] = 0xFF000000u | CDC::DibPixel(pInfo, src, x0 + c, nColorUse, pPal);
        }
    }
    return img;
}

} // namespace

CQtDC::CQtDC(QPainter* pPainter, QPaintDevice* pDevice) : m_pPainter(pPainter), m_pDevice(pDevice) {}

int CQtDC::GetDeviceCaps(int nIndex) const {
    const CDisplayCaps& caps = GetDisplayCaps();
    switch (nIndex) {
    case HORZRES:
        return m_pDevice->width();
    case VERTRES:
        return m_pDevice->height();
    case HORZSIZE:
        return m_pDevice->widthMM();
    case VERTSIZE:
        return m_pDevice->heightMM();
    case LOGPIXELSX:
        return m_pDevice->logicalDpiX();
    case LOGPIXELSY:
        return m_pDevice->logicalDpiY();
    case BITSPIXEL:
        return m_bPrinting ? 24 : caps.nBitsPixel;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return caps.nBitsPixel <= 8 ? (1 << caps.nBitsPixel) : -1;
    case SIZEPALETTE:
        return m_bPrinting ? 0 : caps.nSizePalette;
    case NUMRESERVED:
        return m_bPrinting ? 0 : caps.nReserved;
    case RASTERCAPS: {
        int rc = RC_BITBLT | RC_DI_BITMAP | RC_STRETCHDIB;
        if (!m_bPrinting && caps.nSizePalette > 0) rc |= RC_PALETTE;
        return rc;
    }
    case PHYSICALWIDTH:
        return m_pDevice->width();
    case PHYSICALHEIGHT:
        return m_pDevice->height();
    default:
        return 0;
    }
}

int CQtDC::SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                             int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                             unsigned nColorUse) {
    if (!pBits || !pInfo || nWidth <= 0 || nHeight <= 0) return 0;
    const int nBmpW = pInfo->biWidth, nBmpH = std::abs(pInfo->biHeight);
    // The source rectangle, counted from the bottom, clipped to the bitmap and to the rows held.
    int xs = std::max(0, xSrc), xe = std::min(nBmpW, xSrc + nWidth);
    int ys = std::max({0, ySrc, nStartScan}), ye = std::min({nBmpH, ySrc + nHeight, nStartScan + nScanLines});
    if (xs >= xe || ys >= ye) return 0;
    QImage band = BandToImage(pBits, pInfo, nColorUse, m_pPalette, xs, xe - xs, ys - nStartScan, ye - ys);
    // Bitmap row ySrc lands at the bottom of the destination rectangle.
    int yTop = y + (ySrc + nHeight - ye);
    m_pPainter->drawImage(QPoint(x + (xs - xSrc), yTop), band);
    return ye - ys;
}

int CQtDC::StretchDIBits(int xDst, int yDst, int nDstWidth, int nDstHeight, int xSrc, int ySrc, int nSrcWidth,
                         int nSrcHeight, const void* pBits, const BITMAPINFOHEADER* pInfo, unsigned nColorUse,
                         uint32_t) {
    if (!pBits || !pInfo || nSrcWidth <= 0 || nSrcHeight <= 0) return 0;
    const int nBmpW = pInfo->biWidth, nBmpH = std::abs(pInfo->biHeight);
    int xs = std::clamp(xSrc, 0, nBmpW), xe = std::clamp(xSrc + nSrcWidth, 0, nBmpW);
    int ys = std::clamp(ySrc, 0, nBmpH), ye = std::clamp(ySrc + nSrcHeight, 0, nBmpH);
    if (xs >= xe || ys >= ye) return 0;
    QImage src = BandToImage(pBits, pInfo, nColorUse, m_pPalette, xs, xe - xs, ys, ye - ys);
    m_pPainter->save();
    m_pPainter->setRenderHint(QPainter::SmoothPixmapTransform, m_nStretchMode == HALFTONE);
    m_pPainter->drawImage(QRect(xDst, yDst, nDstWidth, nDstHeight), src);
    m_pPainter->restore();
    return ye - ys;
}

bool CQtDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, uint32_t dwRop) {
    auto* pQt = dynamic_cast<CQtDC*>(pSrcDC);
    if (!pQt || !pQt->m_pDevice) return false;
    auto* pImage = dynamic_cast<QImage*>(pQt->m_pDevice);
    if (!pImage) return false;
    m_pPainter->save();
    if (dwRop == SRCINVERT) m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_pPainter->drawImage(QPoint(x, y), *pImage, QRect(xSrc, ySrc, nWidth, nHeight));
    m_pPainter->restore();
    return true;
}

void CQtDC::FillRect(const CRect& rect, COLORREF color) {
    m_pPainter->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void CQtDC::FrameRect(const CRect& rect, COLORREF color) {
    if (rect.IsRectEmpty()) return;
    QColor c = ToQColor(color);
    m_pPainter->fillRect(QRect(rect.left, rect.top, rect.Width(), 1), c);
    m_pPainter->fillRect(QRect(rect.left, rect.bottom - 1, rect.Width(), 1), c);
    m_pPainter->fillRect(QRect(rect.left, rect.top, 1, rect.Height()), c);
    m_pPainter->fillRect(QRect(rect.right - 1, rect.top, 1, rect.Height()), c);
}

void CQtDC::InvertRect(const CRect& rect) {
    m_pPainter->save();
    m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_pPainter->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), Qt::white);
    m_pPainter->restore();
}

void CQtDC::LineTo(int x, int y) {
    m_pPainter->setPen(QPen(ToQColor(m_penColor), 0));
    m_pPainter->drawLine(m_ptCurrent.x, m_ptCurrent.y, x, y);
    m_ptCurrent = CPoint(x, y);
}

void CQtDC::Rectangle(const CRect& rect) {
    m_pPainter->setPen(QPen(ToQColor(m_penColor), 0));
    m_pPainter->setBrush(m_bHollowBrush ? QBrush(Qt::NoBrush) : QBrush(ToQColor(m_brushColor)));
    m_pPainter->drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void CQtDC::Ellipse(const CRect& rect) {
    m_pPainter->setPen(QPen(ToQColor(m_penColor), 0));
    m_pPainter->setBrush(m_bHollowBrush ? QBrush(Qt::NoBrush) : QBrush(ToQColor(m_brushColor)));
    m_pPainter->drawEllipse(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

int CQtDC::DrawText(const std::string& text, CRect& rect, unsigned nFormat) {
    QString s = QString::fromStdString(text);
    if (nFormat & DT_EXPANDTABS) s.replace('\t', QString(8, ' '));
    int flags = 0;
    if (nFormat & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (nFormat & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (nFormat & DT_SINGLELINE) {
        if (nFormat & DT_VCENTER)
            flags |= Qt::AlignVCenter;
        else if (nFormat & DT_BOTTOM)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (nFormat & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    }
    if (!(nFormat & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    if (nFormat & DT_NOCLIP) flags |= Qt::TextDontClip;
    QRect r(rect.left, rect.top, rect.Width(), rect.Height());
    if (nFormat & DT_CALCRECT) {
        QRect bound = m_pPainter->fontMetrics().boundingRect(
            (nFormat & DT_SINGLELINE) ? QRect(r.left(), r.top(), 100000, 100000)
                                      : QRect(r.left(), r.top(), r.width(), 100000),
            flags, s);
        rect.right = rect.left + bound.width();
        rect.bottom = rect.top + bound.height();
        return bound.height();
    }
    m_pPainter->setPen(ToQColor(m_textColor));
    QRect used;
    m_pPainter->drawText(r, flags, s, &used);
    return used.height();
}
