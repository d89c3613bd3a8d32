#pragma once
// A text on printed pages (header, footer, captions): the text, its font with
// the height in points, its DrawText alignment and whether it is printed.

#include "framework/GdiTypes.h"

#include <string>

class CDC;

class CPrintTextStyle {
public:
    CPrintTextStyle();

    std::string m_strText;
    LOGFONT m_logFont; // lfHeight in points; negative = character height
    unsigned m_nFormat = DT_CENTER | DT_VCENTER;
    int m_bShow = 0;

    // The font at the device's resolution: the point height times LOGPIXELSY
    // / 72. bSystem is set when the face is empty: the device's own font then.
    LOGFONT DeviceFont(const CDC& dc, bool& bSystem) const;
    // The same font with another point height.
    LOGFONT DeviceFont(const CDC& dc, int nPoints, bool& bSystem) const;
};

// Selects a style's device font for a scope and puts back the font before.
class CPrintFontScope {
public:
    CPrintFontScope(CDC& dc, const LOGFONT& font, bool bSystem);
    ~CPrintFontScope();
    CPrintFontScope(const CPrintFontScope&) = delete;
    CPrintFontScope& operator=(const CPrintFontScope&) = delete;
    // tmHeight + tmExternalLeading of the selected font.
    int LineHeight() const;

private:
    CDC& m_dc;
    LOGFONT m_old;
    bool m_bOld;
};
