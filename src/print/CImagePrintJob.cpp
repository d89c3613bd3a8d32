#include "print/CImagePrintJob.h"

#include "framework/CDC.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "print/CPrintInfo.h"
#include "print/PrintUnits.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

int CeilDiv(int a, int b) {
    return b > 0 ? (a + b - 1) / b : 1;
}

} // namespace

CImagePrintJob::CImagePrintJob(CImagePrintSettings& settings, CDib* pDib)
    : CPrintJob(settings), m_imageSettings(settings), m_pDib(pDib) {}

void CImagePrintJob::Prepare(CDC& dc) {
    CPrintJob::Prepare(dc);
    // 100 % is one picture pixel per printer dot.
    int w = m_pDib ? m_pDib->GetWidth() : 0, h = m_pDib ? m_pDib->GetHeight() : 0;
    m_sizeNatural =
        CSize(std::max(DeviceToPrint(w, m_nLogPixelsX), 1), std::max(DeviceToPrint(h, m_nLogPixelsY), 1));
}

bool CImagePrintJob::SuppressHeaderFooter() const {
    return m_imageSettings.m_nLayout == kLayoutPoster;
}

CSize CImagePrintJob::FitSize(int nWidth, int nHeight) const {
    const int bw = m_sizeBody.cx, bh = m_sizeBody.cy;
    if (static_cast<int64_t>(nWidth) * bh > static_cast<int64_t>(nHeight) * bw)
        return CSize(bw, std::max(MulDiv(nHeight, bw, nWidth), 1));
    return CSize(std::max(MulDiv(nWidth, bh, nHeight), 1), bh);
}

void CImagePrintJob::Layout(CDC& dc) {
    CPrintJob::Layout(dc);
    m_sizeBody = CSize(std::max(DeviceToPrint(m_rcBody.Width(), m_nLogPixelsX), 1),
                       std::max(DeviceToPrint(m_rcBody.Height(), m_nLogPixelsY), 1));
    const int W = m_sizeNatural.cx, H = m_sizeNatural.cy;
    const int nLayout = m_imageSettings.m_nLayout;
    CRect rc = m_imageSettings.m_rcImage;
    CSize size;
    if (nLayout == kLayout4x6) {
        // The shorter side becomes 4 inches; too large for the body: fit.
        const int nFour = 4 * kPrintUnitsPerInch;
        size = W <= H ? CSize(nFour, MulDiv(H, nFour, W)) : CSize(MulDiv(W, nFour, H), nFour);
        if (size.cx > m_sizeBody.cx || size.cy > m_sizeBody.cy) size = FitSize(W, H);
    } else if (nLayout == kLayoutPoster || nLayout == kLayoutCustom) {
        size = CSize(rc.Width(), rc.Height());
        // No size stored yet (or a broken one): start from the fitted size.
        if (size.cx <= 0 || size.cy <= 0) size = FitSize(W, H);
        // A poster spans at most 9 × 9 bodies; a larger stored size shrinks.
        const int nMaxW = kMaxPosterPages * m_sizeBody.cx, nMaxH = kMaxPosterPages * m_sizeBody.cy;
        if (size.cx > nMaxW || size.cy > nMaxH) {
            CSize f = static_cast<int64_t>(size.cx) * nMaxH > static_cast<int64_t>(size.cy) * nMaxW
                          ? CSize(nMaxW, std::max(MulDiv(size.cy, nMaxW, size.cx), 1))
                          : CSize(std::max(MulDiv(size.cx, nMaxH, size.cy), 1), nMaxH);
            size = f;
        }
    } else {
        size = FitSize(W, H);
    }
    rc.right = rc.left + size.cx;
    rc.bottom = rc.top + size.cy;

    m_nAcross = std::clamp(CeilDiv(size.cx, m_sizeBody.cx), 1, kMaxPosterPages);
    m_nDown = std::clamp(CeilDiv(size.cy, m_sizeBody.cy), 1, kMaxPosterPages);
    if (m_nAcross * m_nDown > 1 && nLayout != kLayoutPoster &&
        (size.cx <= m_sizeBody.cx || size.cy <= m_sizeBody.cy))
        GetUserPrompt().MessageBox(LoadResString(1036), MB_OK | MB_ICONEXCLAMATION);

    // A custom position holds only while the picture lies on the surface.
    const int sw = m_nAcross * m_sizeBody.cx, sh = m_nDown * m_sizeBody.cy;
    bool bCenter = m_imageSettings.m_bCenter != 0;
    if (!bCenter && (rc.left < 0 || rc.top < 0 || rc.right > sw || rc.bottom > sh)) bCenter = true;
    if (bCenter) {
        rc.left = sw / 2 - size.cx / 2;
        rc.top = sh / 2 - size.cy / 2;
        rc.right = rc.left + size.cx;
        rc.bottom = rc.top + size.cy;
    }
    m_rcImage = rc;
    BuildTiles();
}

void CImagePrintJob::BuildTiles() {
    m_tiles.clear();
    const int iw = m_pDib ? m_pDib->GetWidth() : 0, ih = m_pDib ? m_pDib->GetHeight() : 0;
    const CRect& rc = m_rcImage;
    // Picture column / row at a surface position; every tile edge goes through
    // these, so neighbouring tiles share their source edges exactly.
    auto srcX = [&](int x) { return static_cast<int>(static_cast<int64_t>(x - rc.left) * iw / rc.Width()); };
    auto srcY = [&](int y) { return static_cast<int>(static_cast<int64_t>(y - rc.top) * ih / rc.Height()); };
    for (int r = 0; r < m_nDown; ++r)
        for (int c = 0; c < m_nAcross; ++c) {
            CRect page(c * m_sizeBody.cx, r * m_sizeBody.cy, (c + 1) * m_sizeBody.cx,
                       (r + 1) * m_sizeBody.cy);
            CTile t;
            CRect part;
            if (part.IntersectRect(page, rc)) {
                t.rcSource = CRect(srcX(part.left), srcY(part.top), srcX(part.right), srcY(part.bottom));
                part.OffsetRect(-page.left, -page.top);
                t.rcDest = part;
            }
            m_tiles.push_back(t);
        }
}

int CImagePrintJob::PageCount(CDC&) {
    return m_nAcross * m_nDown;
}

CRect CImagePrintJob::TileDeviceRect(const CTile& tile) const {
    return CRect(m_rcBody.left + PrintToDevice(tile.rcDest.left, m_nLogPixelsX),
                 m_rcBody.top + PrintToDevice(tile.rcDest.top, m_nLogPixelsY),
                 m_rcBody.left + PrintToDevice(tile.rcDest.right, m_nLogPixelsX),
                 m_rcBody.top + PrintToDevice(tile.rcDest.bottom, m_nLogPixelsY));
}

void CImagePrintJob::PrintBody(CDC& dc, CPrintInfo& info) {
    const int nTile = static_cast<int>(info.m_nCurPage) - 1;
    if (nTile < 0 || nTile >= static_cast<int>(m_tiles.size()) || !m_pDib) return;
    const CTile& t = m_tiles[static_cast<size_t>(nTile)];
    CRect dest = TileDeviceRect(t);
    CRect src;
    src.IntersectRect(t.rcSource, CRect(0, 0, m_pDib->GetWidth(), m_pDib->GetHeight()));
    if (!dest.IsRectEmpty() && !src.IsRectEmpty()) m_pDib->StretchDraw(dc, dest, src);
    if (info.m_bPreview && m_imageSettings.m_nLayout == kLayoutPoster && m_tiles.size() > 1) {
        // The page number over the tile, in light grey.
        LOGFONT lf{};
        lf.lfHeight = -std::max(dest.Height() / 10, 1);
        lf.lfWeight = 400;
        lf.lfPitchAndFamily = 34;
        std::strncpy(lf.lfFaceName, "Arial", sizeof lf.lfFaceName - 1);
        CPrintFontScope font(dc, lf, false);
        COLORREF old = dc.SetTextColor(RGB(0xDE, 0xDE, 0xDE));
        dc.DrawText(std::to_string(info.m_nCurPage), dest,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        dc.SetTextColor(old);
    }
}

CSize CImagePrintJob::MiniatureSheet() const {
    if (m_imageSettings.m_nLayout != kLayoutPoster) return m_sizePage;
    return CSize(m_nAcross * m_rcBody.Width(), m_nDown * m_rcBody.Height());
}

void CImagePrintJob::DrawMiniatureBody(CDC& dc, const CMiniMap& map) {
    const bool bPoster = m_imageSettings.m_nLayout == kLayoutPoster;
    // The picture rectangle in sheet pixels: on the poster surface, or on the page.
    CRect rc(PrintToDevice(m_rcImage.left, m_nLogPixelsX), PrintToDevice(m_rcImage.top, m_nLogPixelsY),
             PrintToDevice(m_rcImage.right, m_nLogPixelsX), PrintToDevice(m_rcImage.bottom, m_nLogPixelsY));
    if (!bPoster) rc.OffsetRect(m_rcBody.left, m_rcBody.top);
    const CRect dest = map(rc);
    if (m_pDib && !dest.IsRectEmpty())
        m_pDib->StretchDraw(dc, dest, CRect(0, 0, m_pDib->GetWidth(), m_pDib->GetHeight()));
    if (!bPoster || m_tiles.size() < 2) return;
    const COLORREF grey = RGB(0xDE, 0xDE, 0xDE);
    dc.SetPenColor(grey);
    const int bw = m_rcBody.Width(), bh = m_rcBody.Height();
    for (int c = 1; c < m_nAcross; ++c) {
        CRect line = map(CRect(c * bw, 0, c * bw, m_nDown * bh));
        dc.MoveTo(line.left, line.top);
        dc.LineTo(line.left, line.bottom);
    }
    for (int r = 1; r < m_nDown; ++r) {
        CRect line = map(CRect(0, r * bh, m_nAcross * bw, r * bh));
        dc.MoveTo(line.left, line.top);
        dc.LineTo(line.right, line.top);
    }
    COLORREF old = dc.SetTextColor(grey);
    for (int p = 0; p < m_nAcross * m_nDown; ++p) {
        CRect cell = map(CRect((p % m_nAcross) * bw, (p / m_nAcross) * bh, (p % m_nAcross + 1) * bw,
                               (p / m_nAcross + 1) * bh));
        LOGFONT lf{};
        lf.lfHeight = -std::max(cell.Height() / 4, 1);
        std::strncpy(lf.lfFaceName, "Arial", sizeof lf.lfFaceName - 1);
        CPrintFontScope font(dc, lf, false);
        dc.DrawText(std::to_string(p + 1), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    dc.SetTextColor(old);
}
