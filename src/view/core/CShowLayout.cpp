#include "view/core/CShowLayout.h"

#include "framework/StringTable.h"

CSlideLayout CShowLayout::GetLayout(const CRect& rcClient, int w, int h, bool bTitles, int nBandHeight) {
    CSlideLayout layout;
    CRect& rc = layout.m_rcImage;
    rc = rcClient;
    rc.InflateRect((w - rcClient.Width()) / 2, (h - rcClient.Height()) / 2);
    rc.right = rc.left + w;
    rc.bottom = rc.top + h;
    if (!bTitles) return layout;
    int nGap = (rcClient.Height() - (h + nBandHeight)) / 3;
    if (nGap < 0) nGap = 0;
    if (nGap != 0) rc.OffsetRect(0, rcClient.top + nGap - rc.top);
    layout.m_rcTitle =
        CRect(rcClient.left, rcClient.bottom - nGap - nBandHeight, rcClient.right, rcClient.bottom - nGap);
    return layout;
}

std::string CShowLayout::GetTitleText(const std::string& title, int nIndex, bool bTitlesIndex) {
    if (!bTitlesIndex) return title;
    return std::to_string(nIndex + 1) + ": " + title;
}

std::string CShowLayout::GetFailureText(int nIndex) {
    if (nIndex < 0) return LoadResString(1241);
    return FormatResString1(IDS_BAD_IMAGE, "Image " + std::to_string(nIndex + 1) + ": ");
}

CRect CShowLayout::GetFailureRect(const CRect& rcClient) {
    CRect rc = rcClient;
    rc.InflateRect(-100, -100);
    return rc;
}

std::string CShowLayout::GetCaption(const std::string& docTitle) {
    std::string text = LoadResString(1045);
    const size_t n = text.find("%s");
    if (n != std::string::npos) text.replace(n, 2, docTitle);
    return text;
}
