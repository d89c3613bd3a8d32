#include "print/CPrintJob.h"

#include "framework/CDC.h"
#include "print/CPrintInfo.h"
#include "print/CPrintSettings.h"
#include "print/PrintUnits.h"

#include <algorithm>

void CPrintJob::Prepare(CDC& dc) {
    m_nLogPixelsX = std::max(dc.GetDeviceCaps(LOGPIXELSX), 1);
    m_nLogPixelsY = std::max(dc.GetDeviceCaps(LOGPIXELSY), 1);
}

void CPrintJob::Layout(CDC& dc) {
    const CRect& m = m_settings.m_rcExtraMargins;
    m_sizePage = CSize(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    m_rcPage = CRect(PrintToDevice(m.left, m_nLogPixelsX), PrintToDevice(m.top, m_nLogPixelsY),
                     dc.GetDeviceCaps(HORZRES) - PrintToDevice(m.right, m_nLogPixelsX),
                     dc.GetDeviceCaps(VERTRES) - PrintToDevice(m.bottom, m_nLogPixelsY));
    m_rcBody = m_rcPage;
    m_rcHeader = CRect();
    m_rcFooter = CRect();
    if (HeaderPrinted()) {
        bool bSystem;
        LOGFONT lf = m_settings.m_header.DeviceFont(dc, bSystem);
        CPrintFontScope font(dc, lf, bSystem);
        int h = font.LineHeight();
        m_rcHeader = CRect(m_rcBody.left, m_rcBody.top, m_rcBody.right, m_rcBody.top + h);
        m_rcBody.top += h;
    }
    if (FooterPrinted()) {
        bool bSystem;
        LOGFONT lf = m_settings.m_footer.DeviceFont(dc, bSystem);
        CPrintFontScope font(dc, lf, bSystem);
        int h = font.LineHeight();
        m_rcFooter = CRect(m_rcBody.left, m_rcBody.bottom - h, m_rcBody.right, m_rcBody.bottom);
        m_rcBody.bottom -= h;
    }
}

int CPrintJob::PageCount(CDC&) {
    return 1;
}

int CPrintJob::FirstItemOfPage(int, CDC&) {
    return 0;
}

bool CPrintJob::HeaderPrinted() const {
    return m_settings.m_header.m_bShow && !SuppressHeaderFooter();
}

bool CPrintJob::FooterPrinted() const {
    return m_settings.m_footer.m_bShow && !SuppressHeaderFooter();
}

void CPrintJob::DrawHeaderFooter(CDC& dc) {
    const unsigned nFlags = DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX;
    if (HeaderPrinted()) {
        bool bSystem;
        CPrintFontScope font(dc, m_settings.m_header.DeviceFont(dc, bSystem), bSystem);
        CRect rc = m_rcHeader;
        dc.DrawText(m_settings.m_header.m_strText, rc, m_settings.m_header.m_nFormat | nFlags);
    }
    if (FooterPrinted()) {
        bool bSystem;
        CPrintFontScope font(dc, m_settings.m_footer.DeviceFont(dc, bSystem), bSystem);
        CRect rc = m_rcFooter;
        dc.DrawText(m_settings.m_footer.m_strText, rc, m_settings.m_footer.m_nFormat | nFlags);
    }
}

void CPrintJob::PrintPage(CDC& dc, CPrintInfo& info) {
    DrawHeaderFooter(dc);
    PrintBody(dc, info);
}

void CPrintJob::BeginPrinting(CDC& dc, CPrintInfo& info) {
    Prepare(dc);
    Layout(dc);
    if (info.m_nMaxPage == 0 || info.m_nMaxPage == 0xFFFF) {
        info.m_nMinPage = 1;
        info.m_nMaxPage = static_cast<unsigned>(std::max(PageCount(dc), 1));
    }
    unsigned nFrom = std::min(std::max(info.m_nFromPage, 1u), info.m_nMaxPage);
    unsigned nTo = std::min(std::max(info.m_nToPage, nFrom), info.m_nMaxPage);
    info.m_nFromPage = nFrom;
    info.m_nToPage = nTo;
    info.m_nMinPage = nFrom;
    info.m_nMaxPage = nTo;
}

CRect CPrintJob::CMiniMap::operator()(const CRect& rc) const {
    const int w = rcSheet.Width(), h = rcSheet.Height();
    return CRect(rcSheet.left + MulDiv(rc.left, w, std::max(size.cx, 1)),
                 rcSheet.top + MulDiv(rc.top, h, std::max(size.cy, 1)),
                 rcSheet.left + MulDiv(rc.right, w, std::max(size.cx, 1)),
                 rcSheet.top + MulDiv(rc.bottom, h, std::max(size.cy, 1)));
}

void CPrintJob::DrawMiniature(CDC& dc, const CRect& rcFace) {
    dc.FillRect(rcFace, RGB(0xC0, 0xC0, 0xC0));
    const CSize sheet = MiniatureSheet();
    CRect avail = rcFace;
    avail.InflateRect(-4, -4);
    if (sheet.cx <= 0 || sheet.cy <= 0 || avail.IsRectEmpty()) return;
    // The sheet scaled to fit, aspect kept, centred.
    int w = avail.Width(), h = MulDiv(sheet.cy, avail.Width(), sheet.cx);
    if (h > avail.Height()) {
        h = avail.Height();
        w = MulDiv(sheet.cx, avail.Height(), sheet.cy);
    }
    CMiniMap map;
    map.rcSheet = CRect(avail.left + (avail.Width() - w) / 2, avail.top + (avail.Height() - h) / 2, 0, 0);
    map.rcSheet.right = map.rcSheet.left + w;
    map.rcSheet.bottom = map.rcSheet.top + h;
    map.size = sheet;
    dc.FillRect(map.rcSheet, RGB(255, 255, 255));
    DrawMiniatureBody(dc, map);
    CRect frame = map.rcSheet;
    frame.InflateRect(1, 1);
    dc.FrameRect(frame, RGB(0, 0, 0));
}
