#include "album/CTnLayout.h"

#include "album/AlbumScales.h"

#include <algorithm>

int CTnLayout::TitleFontPoints(int nThumbWidth) {
    return std::clamp(nThumbWidth / 10, 6, 12);
}

int CTnLayout::TitleFontHeight(int nPoints, int nLogPixelsY) {
    // A multiply-divide rounding half away from zero.
    const long long n = static_cast<long long>(nPoints) * nLogPixelsY;
    const long long q = (n >= 0 ? n + 36 : n - 36) / 72;
    return -static_cast<int>(q);
}

CTnLayout::CTnLayout(int nScale, int nBorderY, int nLineHeight)
    : m_nScale(nScale), m_thumb(GetThumbnailSize(nScale)) {
    const int w = m_thumb.cx, h = m_thumb.cy;
    m_b = 2 * nBorderY;
    m_nL = nLineHeight;
    m_nT = m_nL + 2 * m_b;
    m_nS = std::max(w, h) + 2 * m_b;
    m_nC = m_nS + 2 * m_b + 10;
    m_item = CSize(m_nC + 10, m_nC + m_nT + 14);
    m_rcFrame = CRect(5, 5, m_nC + 5, m_nC + 5);
    const int landTop = (m_nC - h) / 2 + 5;
    m_rcLandscape = CRect(12, landTop, 12 + w + 2 * m_b, landTop + h + 2 * m_b);
    const int portLeft = (m_nC - h) / 2 + 5;
    m_rcPortrait = CRect(portLeft, 12, portLeft + h + 2 * m_b, 12 + w + 2 * m_b);
    m_rcTitle = CRect(5, m_nC + 9, 5 + m_nC, m_nC + 9 + m_nT);
}
