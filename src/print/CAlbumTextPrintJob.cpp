#include "print/CAlbumTextPrintJob.h"

#include "framework/CDC.h"
#include "print/CPrintInfo.h"
#include "print/IAlbumPrintSource.h"

#include <algorithm>

namespace {

const unsigned kTextFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

} // namespace

CAlbumTextPrintJob::CAlbumTextPrintJob(CAlbumPrintSettings& settings, IAlbumPrintSource& source,
                                       std::vector<int> selection)
    : CAlbumPrintJob(settings, source, std::move(selection)) {}

std::string CAlbumTextPrintJob::ItemText(int k) const {
    const int i = ItemIndex(k);
    std::string s;
    if (m_albumSettings.m_bShowIndex) {
        s = std::to_string(i + 1);
        s += ": ";
    }
    s += m_source.GetTitle(i);
    if (m_albumSettings.m_bShowDescription) {
        s += '\n';
        s += m_source.GetDescription(i);
    }
    return s;
}

void CAlbumTextPrintJob::Layout(CDC& dc) {
    CPrintJob::Layout(dc);
    bool bSystem;
    CPrintFontScope font(dc, m_albumSettings.m_caption.DeviceFont(dc, bSystem), bSystem);
    m_nLineHeight = font.LineHeight();
    const int nGap = GetGap(), nBody = m_rcBody.Height();
    m_itemHeights.clear();
    m_pageFirst.assign(1, 0);
    int y = 0;
    for (int k = 0; k < ItemCount(); ++k) {
        CRect rc(m_rcBody.left, 0, m_rcBody.right, 0);
        dc.DrawText(ItemText(k), rc, DT_CALCRECT | kTextFlags);
        const int h = rc.Height();
        m_itemHeights.push_back(h);
        // An item that does not fit below earlier ones starts the next page;
        // alone on a page it prints even when taller than the body.
        if (y > 0 && y + h > nBody) {
            m_pageFirst.push_back(k);
            y = 0;
        }
        y += h + nGap;
    }
    m_nNextItem = 0;
}

int CAlbumTextPrintJob::PageCount(CDC&) {
    return static_cast<int>(m_pageFirst.size());
}

int CAlbumTextPrintJob::FirstItemOfPage(int nPage, CDC&) {
    if (nPage < 0) return 0;
    if (nPage >= static_cast<int>(m_pageFirst.size())) return ItemCount();
    return m_pageFirst[static_cast<size_t>(nPage)];
}

void CAlbumTextPrintJob::PrintBody(CDC& dc, CPrintInfo& info) {
    // Every page starts at its own first item, so a page range that does not
    // begin at page 1 prints the right items.
    const int nPage = static_cast<int>(info.m_nCurPage) - 1;
    if (nPage < 0 || nPage >= static_cast<int>(m_pageFirst.size())) return;
    const int nFirst = m_pageFirst[static_cast<size_t>(nPage)];
    const int nEnd = nPage + 1 < static_cast<int>(m_pageFirst.size())
                         ? m_pageFirst[static_cast<size_t>(nPage) + 1]
                         : ItemCount();
    bool bSystem;
    CPrintFontScope font(dc, m_albumSettings.m_caption.DeviceFont(dc, bSystem), bSystem);
    int y = m_rcBody.top;
    for (int k = nFirst; k < nEnd; ++k) {
        if (info.Stopped()) {
            info.m_bContinuePrinting = false;
            return;
        }
        const std::string text = ItemText(k);
        CRect rc(m_rcBody.left, y, m_rcBody.right, y);
        dc.DrawText(text, rc, DT_CALCRECT | kTextFlags);
        rc.right = m_rcBody.right;
        dc.DrawText(text, rc, kTextFlags);
        y += rc.Height() + GetGap();
    }
    m_nNextItem = nEnd;
    if (!info.m_bPreview && nEnd >= ItemCount()) info.m_bContinuePrinting = false;
}

void CAlbumTextPrintJob::DrawMiniatureBody(CDC& dc, const CMiniMap& map) {
    // Sample entries down the body: a title, and a description when shown.
    const COLORREF grey = RGB(0x80, 0x80, 0x80);
    COLORREF old = dc.SetTextColor(grey);
    const CRect body = map(m_rcBody);
    const int nLine = std::max(map(CRect(0, 0, 0, std::max(m_nLineHeight, 1))).Height(), 4);
    LOGFONT lf{};
    lf.lfHeight = -nLine;
    CPrintFontScope font(dc, lf, true);
    const int nItem = m_albumSettings.m_bShowDescription ? 2 * nLine : nLine;
    for (int y = body.top; y + nItem <= body.bottom; y += nItem + nLine * 3 / 2) {
        CRect rc(body.left, y, body.right, y + nLine);
        dc.DrawText("Title", rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        if (!m_albumSettings.m_bShowDescription) continue;
        rc.OffsetRect(0, nLine);
        dc.DrawText("Description...", rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    dc.SetTextColor(old);
}
