#pragma once
// The arrangement of child windows in the main frame: tiling, the icon row
// of minimised windows, and the window list of the Window menu.

#include "framework/CRect.h"

#include <string>
#include <vector>

// Rectangles for n windows filling the area without overlap. Horizontally:
// the windows lie one above another, each as wide as the area (from four
// windows on, in columns of such rows). Vertically: side by side, each as
// tall as the area (from four on, in rows of such columns).
std::vector<CRect> TileWindows(int nCount, const CRect& area, bool bHorizontal);

// Positions of n minimised windows of the given size, lined up from the
// bottom-left corner of the area, left to right, rows growing upwards.
std::vector<CPoint> ArrangeIcons(int nCount, const CRect& area, CSize icon);
// The height the icon rows of n minimised windows take at the bottom of the area.
int IconRowsHeight(int nCount, const CRect& area, CSize icon);

// The Window menu's list: "&1 title" … "&9 title" for the first nine
// windows (an '&' of a title doubled), then "&More Windows..." when there
// are more.
constexpr int kWindowMenuMax = 9;
std::vector<std::string> WindowMenuItems(const std::vector<std::string>& titles);
