#pragma once
// The cell layout of the thumbnail list: one equal cell per photo with a
// square picture frame, the thumbnail centred in it and the numbered title
// below. All values are pixels relative to the cell's top left.

#include "framework/CRect.h"

class CTnLayout {
public:
    // The title font's size in points for a landscape thumbnail width:
    // a tenth of the width, kept within 6 ... 12.
    static int TitleFontPoints(int nThumbWidth);
    // The font height to ask for: -(points x pixels per inch / 72), rounded.
    static int TitleFontHeight(int nPoints, int nLogPixelsY);

    // nScale: album scale 0 ... 3; nBorderY: the system's vertical border
    // height; nLineHeight: the title font's character height plus external leading.
    CTnLayout(int nScale, int nBorderY, int nLineHeight);

    int m_nScale;
    CSize m_thumb; // landscape thumbnail size w x h
    int m_b;       // frame width
    int m_nL;      // title line height
    int m_nT;      // title rectangle height
    int m_nS;      // thumbnail square with its frame
    int m_nC;      // picture frame side
    CSize m_item;  // column width x item height
    CRect m_rcFrame;
    CRect m_rcLandscape;
    CRect m_rcPortrait;
    CRect m_rcTitle;

    // The thumbnail rectangle for a picture of that shape (portrait: width < height).
    const CRect& ThumbRect(int nWidth, int nHeight) const {
        return nWidth < nHeight ? m_rcPortrait : m_rcLandscape;
    }
};
