#pragma once
// Where a slide show puts its photo and title in the window, and the texts it
// draws there.

#include "framework/CRect.h"

#include <string>

struct CSlideLayout {
    CRect m_rcImage; // the photo, centred; may be larger than the window
    CRect m_rcTitle; // empty without titles
};

class CShowLayout {
public:
    static constexpr int kShadowOffset = 2;

    // The title band: shadow offset, twice the font's external leading and its height.
    static int GetBandHeight(int nExternalLeading, int nFontHeight) {
        return kShadowOffset + 2 * nExternalLeading + nFontHeight;
    }
    // Photo of w × h (0 × 0 for none) in the client rectangle; with titles the
    // photo and the band below it share the free height in three equal gaps.
    static CSlideLayout GetLayout(const CRect& rcClient, int w, int h, bool bTitles, int nBandHeight);
    // The photo's title, or "%d: %s" with the one-based slide number.
    static std::string GetTitleText(const std::string& title, int nIndex, bool bTitlesIndex);
    // The red text of a slide that cannot be shown: message 1241 without a
    // photo, else message 1217 for "Image %d: ".
    static std::string GetFailureText(int nIndex);
    // The rectangle the failure text is wrapped in.
    static CRect GetFailureRect(const CRect& rcClient);
    // The frame caption: message 1045 with the album's title.
    static std::string GetCaption(const std::string& docTitle);
};
