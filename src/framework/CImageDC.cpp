#include "framework/CImageDC.h"

#include "framework/CPalette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CImageDC, CDC)

namespace {

uint32_t ToRgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace

CImageDC::CImageDC(int nWidth, int nHeight, int nBitsPixel, COLORREF background)
    : m_nWidth(std::max(nWidth, 0)), m_nHeight(std::max(nHeight, 0)), m_nBitsPixel(nBitsPixel),
      m_pixels(static_cast<size_t>(m_nWidth) * m_nHeight, ToRgb(background)) {}

int CImageDC::GetDeviceCaps(int nIndex) const {
    switch (nIndex) {
    case HORZRES:
    case PHYSICALWIDTH:
        return m_nWidth;
    case VERTRES:
    case PHYSICALHEIGHT:
        return m_nHeight;
    case HORZSIZE:
        return m_nWidth * 254 / (m_nLogPixels * 10);
    case VERTSIZE:
        return m_nHeight * 254 / (m_nLogPixels * 10);
    case BITSPIXEL:
        return m_nBitsPixel;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return m_nBitsPixel <= 8 ? (1 << m_nBitsPixel) : -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHDIB | (m_nBitsPixel <= 8 ? RC_PALETTE : 0);
    case LOGPIXELSX:
        return m_nLogPixels;
    case LOGPIXELSY:
        return m_nLogPixelsY > 0 ? m_nLogPixelsY : m_nLogPixels;
    case SIZEPALETTE:
        return m_nBitsPixel == 8 ? 256 : 0;
    case NUMRESERVED:
        return m_nBitsPixel == 8 ? 20 : 0;
    default:
        return 0;
    }
}

uint32_t CImageDC::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
    return m_pixels[static_cast<size_t>(y) * m_nWidth + x];
}

void CImageDC::SetPixel(int x, int y, uint32_t rgb) {
    Plot(x, y, rgb);
}

void CImageDC::Plot(int x, int y, uint32_t rgb) {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    m_pixels[static_cast<size_t>(y) * m_nWidth + x] = rgb;
}

int CImageDC::SetDIBitsToDevice(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nStartScan,
                                int nScanLines, const void* pBits, const BITMAPINFOHEADER* pInfo,
                                unsigned nColorUse) {
    m_calls.push_back({x, y, nWidth, nHeight, xSrc, ySrc, nStartScan, nScanLines,
                       pInfo ? pInfo->biBitCount : 0, nColorUse, false});
    if (!pBits || !pInfo || nWidth <= 0 || nHeight <= 0) return 0;
    int64_t nStride = DibStride(*pInfo);
    const uint8_t* p = static_cast<const uint8_t*>(pBits);
    int nDrawn = 0;
    for (int j = 0; j < nHeight; ++j) {
        int nRow = ySrc + (nHeight - 1 - j); // bottom-up row of the bitmap
        if (nRow < nStartScan || nRow >= nStartScan + nScanLines || nRow >= pInfo->biHeight || nRow < 0)
            continue;
        const uint8_t* pRow = p + (nRow - nStartScan) * nStride;
        for (int i = 0; i < nWidth; ++i) {
            int xs = xSrc + i;
            if (xs < 0 || xs >= pInfo->biWidth) continue;
            Plot(x + i, y + j, DibPixel(pInfo, pRow, xs, nColorUse, m_pPalette));
        }
        ++nDrawn;
    }
    return nDrawn;
}

int CImageDC::StretchDIBits(int xDst, int yDst, int nDstWidth, int nDstHeight, int xSrc, int ySrc,
                            int nSrcWidth, int nSrcHeight, const void* pBits, const BITMAPINFOHEADER* pInfo,
                            unsigned nColorUse, uint32_t) {
    m_calls.push_back({xDst, yDst, nDstWidth, nDstHeight, xSrc, ySrc, 0, pInfo ? pInfo->biHeight : 0,
                       pInfo ? pInfo->biBitCount : 0, nColorUse, true});
    if (!pBits || !pInfo || nDstWidth <= 0 || nDstHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0) return 0;
    int64_t nStride = DibStride(*pInfo);
    const uint8_t* p = static_cast<const uint8_t*>(pBits);
    for (int j = 0; j < nDstHeight; ++j) {
        // Source row counted from the top of the source rectangle.
        int nTop = static_cast<int>(static_cast<int64_t>(j) * nSrcHeight / nDstHeight);
        int nRow = ySrc + nSrcHeight - 1 - nTop;
        if (nRow < 0 || nRow >= pInfo->biHeight) continue;
        const uint8_t* pRow = p + nRow * nStride;
        for (int i = 0; i < nDstWidth; ++i) {
            int xs = xSrc + static_cast<int>(static_cast<int64_t>(i) * nSrcWidth / nDstWidth);
            if (xs < 0 || xs >= pInfo->biWidth) continue;
            Plot(xDst + i, yDst + j, DibPixel(pInfo, pRow, xs, nColorUse, m_pPalette));
        }
    }
    return nSrcHeight;
}

bool CImageDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                      uint32_t dwRop) {
    auto* pSrc = dynamic_cast<CImageDC*>(pSrcDC);
    if (dwRop == DSTINVERT) {
        InvertRect(CRect(x, y, x + nWidth, y + nHeight));
        return true;
    }
    if (!pSrc) return false;
    if (dwRop == SRCCOPY && pSrc != this) {
        // Row copies of the part inside both images.
        int nSkipX = std::max({0, -x, -xSrc}), nSkipY = std::max({0, -y, -ySrc});
        int w = std::min({nWidth, m_nWidth - x, pSrc->m_nWidth - xSrc}) - nSkipX;
        int h = std::min({nHeight, m_nHeight - y, pSrc->m_nHeight - ySrc}) - nSkipY;
        if (w <= 0 || h <= 0) return true;
        for (int j = 0; j < h; ++j) {
            const uint32_t* s =
                &pSrc->m_pixels[static_cast<size_t>(ySrc + nSkipY + j) * pSrc->m_nWidth + xSrc + nSkipX];
            std::copy(s, s + w, &m_pixels[static_cast<size_t>(y + nSkipY + j) * m_nWidth + x + nSkipX]);
        }
        return true;
    }
    std::vector<uint32_t> copy; // the source may be this context
    copy.reserve(static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0));
    for (int j = 0; j < nHeight; ++j)
        for (int i = 0; i < nWidth; ++i) copy.push_back(pSrc->GetPixel(xSrc + i, ySrc + j));
    size_t k = 0;
    for (int j = 0; j < nHeight; ++j)
        for (int i = 0; i < nWidth; ++i) {
            uint32_t v = copy[k++];
            if (dwRop == SRCINVERT) v ^= GetPixel(x + i, y + j);
            Plot(x + i, y + j, v);
        }
    return true;
}

std::unique_ptr<CDC> CImageDC::CreateCompatibleDC(int nWidth, int nHeight) {
    if (nWidth < 0 || nHeight < 0) return nullptr;
    return std::make_unique<CImageDC>(nWidth, nHeight, m_nBitsPixel, RGB(0, 0, 0));
}

void CImageDC::FillRect(const CRect& rect, COLORREF color) {
    uint32_t v = ToRgb(color);
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, m_nHeight); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, m_nWidth); ++x) Plot(x, y, v);
}

void CImageDC::FrameRect(const CRect& rect, COLORREF color) {
    if (rect.IsRectEmpty()) return;
    FillRect(CRect(rect.left, rect.top, rect.right, rect.top + 1), color);
    FillRect(CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), color);
    FillRect(CRect(rect.left, rect.top, rect.left + 1, rect.bottom), color);
    FillRect(CRect(rect.right - 1, rect.top, rect.right, rect.bottom), color);
}

void CImageDC::InvertRect(const CRect& rect) {
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, m_nHeight); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, m_nWidth); ++x)
            Plot(x, y, GetPixel(x, y) ^ 0xFFFFFF);
}

void CImageDC::LineTo(int x, int y) {
    // Bresenham; the end point is not drawn, as on the original platform.
    int x0 = m_ptCurrent.x, y0 = m_ptCurrent.y;
    int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1, err = dx + dy;
    uint32_t v = ToRgb(m_penColor);
    while (x0 != x || y0 != y) {
        Plot(x0, y0, v);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    m_ptCurrent = CPoint(x, y);
}

void CImageDC::Rectangle(const CRect& rect) {
    if (rect.IsRectEmpty()) return;
    if (!m_bHollowBrush) FillRect(rect, m_brushColor);
    FrameRect(rect, m_penColor);
}

void CImageDC::Ellipse(const CRect& rect) {
    if (rect.IsRectEmpty()) return;
    double cx = (rect.left + rect.right - 1) / 2.0, cy = (rect.top + rect.bottom - 1) / 2.0;
    double rx = rect.Width() / 2.0, ry = rect.Height() / 2.0;
    uint32_t fill = ToRgb(m_brushColor), pen = ToRgb(m_penColor);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            double u = (x - cx) / rx, w = (y - cy) / ry, d = u * u + w * w;
            if (d > 1.0) continue;
            // The outline is the ring within one pixel of the edge.
            double ui = (x - cx) / std::max(rx - 1, 0.5), wi = (y - cy) / std::max(ry - 1, 0.5);
            bool bEdge = ui * ui + wi * wi > 1.0;
            if (bEdge)
                Plot(x, y, pen);
            else if (!m_bHollowBrush)
                Plot(x, y, fill);
        }
}

// Splits text into lines of cells: at line feeds (unless single-line) and,
// with DT_WORDBREAK, before a word that would pass nMaxCells.
std::vector<std::string> CImageDC::CellLines(const std::string& text, unsigned nFormat, int nMaxCells) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n' && !(nFormat & DT_SINGLELINE)) {
            lines.emplace_back();
            continue;
        }
        if (c == '\r') continue;
        lines.back() += c;
    }
    if (!(nFormat & DT_WORDBREAK) || (nFormat & DT_SINGLELINE)) return lines;
    std::vector<std::string> wrapped;
    nMaxCells = std::max(nMaxCells, 1);
    for (const std::string& line : lines) {
        std::string cur;
        size_t i = 0;
        while (i <= line.size()) {
            size_t j = line.find(' ', i);
            if (j == std::string::npos) j = line.size();
            std::string word = line.substr(i, j - i);
            std::string trial = cur.empty() ? word : cur + ' ' + word;
            if (!cur.empty() && static_cast<int>(trial.size()) > nMaxCells) {
                wrapped.push_back(cur);
                cur = word;
            } else {
                cur = trial;
            }
            i = j + 1;
        }
        wrapped.push_back(cur);
    }
    return wrapped;
}

int CImageDC::DrawText(const std::string& text, CRect& rect, unsigned nFormat) {
    const CSize cell = TextCell();
    std::vector<std::string> lines = CellLines(text, nFormat, rect.Width() / cell.cx);
    int nLongest = 0;
    for (const std::string& l : lines) nLongest = std::max(nLongest, static_cast<int>(l.size()));
    const int nHeight = static_cast<int>(lines.size()) * cell.cy;
    const int nWidth = nLongest * cell.cx;
    if (nFormat & DT_CALCRECT) {
        rect.right = rect.left + nWidth;
        rect.bottom = rect.top + nHeight;
        return nHeight;
    }
    // Where the text lands inside the rectangle, by its alignment.
    CRect placed(rect.left, rect.top, rect.left + nWidth, rect.top + nHeight);
    if (nFormat & DT_CENTER)
        placed.OffsetRect((rect.Width() - nWidth) / 2, 0);
    else if (nFormat & DT_RIGHT)
        placed.OffsetRect(rect.Width() - nWidth, 0);
    if (nFormat & DT_SINGLELINE) {
        if (nFormat & DT_VCENTER)
            placed.OffsetRect(0, (rect.Height() - nHeight) / 2);
        else if (nFormat & DT_BOTTOM)
            placed.OffsetRect(0, rect.Height() - nHeight);
    }
    m_texts.push_back(text);
    m_textRects.push_back(placed);
    return nHeight;
}
