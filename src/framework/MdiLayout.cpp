#include "framework/MdiLayout.h"

#include <cmath>

namespace {

// n cells split into nLines lines; the later lines take the extra cells.
int CellsInLine(int nCount, int nLines, int nLine) {
    const int nBase = nCount / nLines, nExtra = nCount % nLines;
    return nBase + (nLine >= nLines - nExtra ? 1 : 0);
}

int Share(int nTotal, int nParts, int i) {
    return static_cast<int>(static_cast<long long>(nTotal) * i / nParts);
}

} // namespace

std::vector<CRect> TileWindows(int nCount, const CRect& area, bool bHorizontal) {
    std::vector<CRect> out;
    if (nCount <= 0 || area.IsRectEmpty()) return out;
    // Lines: columns when tiling horizontally (rows stacked in each), rows when vertically.
    const int nLines = nCount <= 3 ? 1 : static_cast<int>(std::sqrt(static_cast<double>(nCount)));
    const int nAcross = bHorizontal ? area.Width() : area.Height();
    const int nAlong = bHorizontal ? area.Height() : area.Width();
    for (int line = 0; line < nLines; ++line) {
        const int a0 = Share(nAcross, nLines, line), a1 = Share(nAcross, nLines, line + 1);
        const int nCells = CellsInLine(nCount, nLines, line);
        for (int cell = 0; cell < nCells; ++cell) {
            const int b0 = Share(nAlong, nCells, cell), b1 = Share(nAlong, nCells, cell + 1);
            if (bHorizontal)
                out.emplace_back(area.left + a0, area.top + b0, area.left + a1, area.top + b1);
            else
                out.emplace_back(area.left + b0, area.top + a0, area.left + b1, area.top + a1);
        }
    }
    return out;
}

std::vector<CPoint> ArrangeIcons(int nCount, const CRect& area, CSize icon) {
    std::vector<CPoint> out;
    if (nCount <= 0 || icon.cx <= 0 || icon.cy <= 0) return out;
    const int nPerRow = std::max(1, area.Width() / icon.cx);
    for (int i = 0; i < nCount; ++i)
        out.emplace_back(area.left + (i % nPerRow) * icon.cx, area.bottom - (i / nPerRow + 1) * icon.cy);
    return out;
}

int IconRowsHeight(int nCount, const CRect& area, CSize icon) {
    if (nCount <= 0 || icon.cx <= 0 || icon.cy <= 0) return 0;
    const int nPerRow = std::max(1, area.Width() / icon.cx);
    return (nCount + nPerRow - 1) / nPerRow * icon.cy;
}

std::vector<std::string> WindowMenuItems(const std::vector<std::string>& titles) {
    std::vector<std::string> out;
    for (size_t i = 0; i < titles.size() && i < static_cast<size_t>(kWindowMenuMax); ++i) {
        std::string text(1, '&');
        text += std::to_string(i + 1);
        text += ' ';
        for (char c : titles[i]) {
            if (c == '&') text += '&';
            text += c;
        }
        out.push_back(text);
    }
    if (titles.size() > static_cast<size_t>(kWindowMenuMax)) out.push_back("&More Windows...");
    return out;
}
