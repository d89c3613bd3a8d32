#include "print/CAlbumThumbnailPrintJob.h"

#include "framework/CDC.h"
#include "imaging/CDib.h"
#include "print/CPrintInfo.h"
#include "print/IAlbumPrintSource.h"
#include "print/PrintUnits.h"

#include <algorithm>

CAlbumThumbnailPrintJob::CAlbumThumbnailPrintJob(CAlbumPrintSettings& settings, IAlbumPrintSource& source,
                                                 std::vector<int> selection, int nContactPreviewSource)
    : CAlbumPrintJob(settings, source, std::move(selection)), m_nContactPreviewSource(nContactPreviewSource) {
}

void CAlbumThumbnailPrintJob::Layout(CDC& dc) {
    CPrintJob::Layout(dc);
    const int nCols = std::clamp(m_albumSettings.m_nColumns, 1, kMaxAlbumGrid);
    const int nRows = std::clamp(m_albumSettings.m_nRows, 1, kMaxAlbumGrid);
    m_albumSettings.m_nColumns = nCols;
    m_albumSettings.m_nRows = nRows;
    const int bw = std::max(m_rcBody.Width(), 0), bh = std::max(m_rcBody.Height(), 0);
    m_sizeCell = CSize(bw / nCols, bh / nRows);
    // The remainders are split evenly before the first column and row.
    const int x0 = m_rcBody.left + (bw % nCols) / 2, y0 = m_rcBody.top + (bh % nRows) / 2;
    m_cellOrigins.clear();
    for (int r = 0; r < nRows; ++r)
        for (int c = 0; c < nCols; ++c)
            m_cellOrigins.emplace_back(x0 + c * m_sizeCell.cx, y0 + r * m_sizeCell.cy);
    m_nInset = std::min(m_sizeCell.cx, m_sizeCell.cy) * 5 / 100;
}

int CAlbumThumbnailPrintJob::PageCount(CDC&) {
    const int n = ItemCount(), nPer = CellsPerPage();
    return std::max((n + nPer - 1) / nPer, 1);
}

int CAlbumThumbnailPrintJob::FirstItemOfPage(int nPage, CDC&) {
    return CellsPerPage() * nPage;
}

CRect CAlbumThumbnailPrintJob::GetCell(int k) const {
    const CPoint& p = m_cellOrigins.at(static_cast<size_t>(k));
    return CRect(p.x, p.y, p.x + m_sizeCell.cx, p.y + m_sizeCell.cy);
}

CRect CAlbumThumbnailPrintJob::GetThumbRect(int k) const {
    CRect rc = GetCell(k);
    rc.InflateRect(-m_nInset, -m_nInset);
    return rc;
}

int CAlbumThumbnailPrintJob::CaptionPoints() const {
    const int nStyle = std::abs(m_albumSettings.m_caption.m_logFont.lfHeight);
    const int nHalf = m_rcBody.Width() / 2;
    const int nPoints =
        nHalf > 0 ? static_cast<int>(static_cast<int64_t>(m_sizeCell.cx) * nStyle / nHalf) : 0;
    return std::max(nPoints, kMinCaptionPoints);
}

void CAlbumThumbnailPrintJob::PrintBody(CDC& dc, CPrintInfo& info) {
    const int nFirst = CellsPerPage() * (static_cast<int>(info.m_nCurPage) - 1);
    const int nCount = ItemCount();
    const bool bShowIndex = m_albumSettings.m_bShowIndex != 0, bShowTitle = m_albumSettings.m_bShowTitle != 0;
    const bool bCaption = bShowIndex || bShowTitle;
    const bool bFull = !info.m_bPreview || m_nContactPreviewSource != 0;
    bool bSystem = false;
    LOGFONT lf = m_albumSettings.m_caption.DeviceFont(dc, CaptionPoints(), bSystem);
    CPrintFontScope font(dc, lf, bSystem);
    const int nCaptionHeight = bCaption ? font.LineHeight() : 0;
    for (int k = 0; k < CellsPerPage() && nFirst + k < nCount; ++k) {
        if (info.Stopped()) {
            info.m_bContinuePrinting = false;
            return;
        }
        const int nItem = nFirst + k;
        const CRect rcThumb = GetThumbRect(k);
        CRect rcArea = rcThumb;
        rcArea.bottom = std::max(rcArea.top, rcArea.bottom - nCaptionHeight);
        const int nIndex = ItemIndex(nItem);
        std::unique_ptr<CDib> pDib = bFull ? m_source.LoadImage(nIndex) : m_source.LoadThumbnail(nIndex);
        CRect rcPicture = rcArea;
        if (pDib && pDib->GetWidth() > 0 && pDib->GetHeight() > 0 && !rcArea.IsRectEmpty()) {
            // Scaled to fit the area, aspect kept, centred.
            const int aw = rcArea.Width(), ah = rcArea.Height();
            const int pw = pDib->GetWidth(), ph = pDib->GetHeight();
            int w, h;
            if (static_cast<int64_t>(pw) * ah > static_cast<int64_t>(ph) * aw) {
                w = aw;
                h = std::max(MulDiv(ph, aw, pw), 1);
            } else {
                h = ah;
                w = std::max(MulDiv(pw, ah, ph), 1);
            }
            rcPicture = CRect(rcArea.left + (aw - w) / 2, rcArea.top + (ah - h) / 2, 0, 0);
            rcPicture.right = rcPicture.left + w;
            rcPicture.bottom = rcPicture.top + h;
            pDib->StretchDraw(dc, rcPicture, CRect(0, 0, pw, ph));
        }
        if (m_settings.m_bFrame && !rcPicture.IsRectEmpty()) {
            CRect rcFrame = rcPicture;
            rcFrame.InflateRect(1, 1);
            dc.FrameRect(rcFrame, RGB(0, 0, 0));
        }
        if (bCaption) {
            CRect rc = rcThumb;
            dc.DrawText(ItemCaption(nItem, bShowIndex, bShowTitle), rc,
                        m_albumSettings.m_caption.m_nFormat | DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS |
                            DT_NOPREFIX);
        }
    }
}

void CAlbumThumbnailPrintJob::DrawMiniatureBody(CDC& dc, const CMiniMap& map) {
    const COLORREF grey = RGB(0x80, 0x80, 0x80);
    COLORREF old = dc.SetTextColor(grey);
    for (int k = 0; k < CellsPerPage(); ++k) {
        const CRect cell = map(GetCell(k));
        dc.FrameRect(cell, grey);
        if (!CaptionShown()) continue;
        CRect thumb = map(GetThumbRect(k));
        LOGFONT lf{};
        lf.lfHeight = -std::max(thumb.Height() / 6, 1);
        CPrintFontScope font(dc, lf, true);
        dc.DrawText("Title", thumb, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    }
    dc.SetTextColor(old);
}
