#include "print/CPrintTextStyle.h"

#include "framework/CDC.h"
#include "print/PrintUnits.h"

#include <cstring>

CPrintTextStyle::CPrintTextStyle() {
    m_logFont.lfHeight = -12;
    m_logFont.lfWeight = 400;
    m_logFont.lfPitchAndFamily = 34; // variable pitch, Swiss
    std::strncpy(m_logFont.lfFaceName, "Arial", sizeof m_logFont.lfFaceName - 1);
}

LOGFONT CPrintTextStyle::DeviceFont(const CDC& dc, bool& bSystem) const {
    return DeviceFont(dc, m_logFont.lfHeight < 0 ? -m_logFont.lfHeight : m_logFont.lfHeight, bSystem);
}

LOGFONT CPrintTextStyle::DeviceFont(const CDC& dc, int nPoints, bool& bSystem) const {
    LOGFONT lf = m_logFont;
    bSystem = lf.lfFaceName[0] == '\0';
    int nPixels = MulDiv(nPoints, dc.GetDeviceCaps(LOGPIXELSY), 72);
    lf.lfHeight = m_logFont.lfHeight < 0 ? -nPixels : nPixels;
    return lf;
}

CPrintFontScope::CPrintFontScope(CDC& dc, const LOGFONT& font, bool bSystem) : m_dc(dc) {
    m_bOld = dc.GetFont(m_old);
    if (bSystem) {
        // The device's own font, at the size asked for.
        LOGFONT lf{};
        lf.lfHeight = font.lfHeight;
        lf.lfWeight = font.lfWeight;
        dc.SelectFont(&lf);
    } else {
        dc.SelectFont(&font);
    }
}

CPrintFontScope::~CPrintFontScope() {
    m_dc.SelectFont(m_bOld ? &m_old : nullptr);
}

int CPrintFontScope::LineHeight() const {
    TEXTMETRIC tm;
    m_dc.GetTextMetrics(tm);
    return tm.tmHeight + tm.tmExternalLeading;
}
