#pragma once
// The fields of the Print Image dialog and their rules, without the window:
// position, printed size, percent of the natural size and pages of a poster,
// each entry checked against the surface the layout allows. The dialog shows
// these values and reports the message an entry gets refused with.

#include "print/CImagePrintJob.h"
#include "print/PrintUnits.h"

#include <string>

class CImagePrintForm {
public:
    // From a job laid out on the printer.
    CImagePrintForm(const CImagePrintJob& job, const CMeasureUnit& unit);

    // Enable rules of the fields.
    bool PositionEnabled() const { return !m_bCenter; }
    bool SizeEnabled() const { return m_nLayout == kLayoutPoster || m_nLayout == kLayoutCustom; }
    bool PagesEnabled() const { return m_nLayout == kLayoutPoster; }

    void SetLayout(int nLayout);
    void SetCenter(bool bCenter) { m_bCenter = bCenter; }
    // An entry: true and the fields updated, or false with message 1317 in
    // strError and every field as before.
    bool EnterWidth(const std::string& text, std::string& strError);
    bool EnterHeight(const std::string& text, std::string& strError);
    bool EnterPercent(const std::string& text, std::string& strError);
    bool EnterLeft(const std::string& text, std::string& strError);
    bool EnterTop(const std::string& text, std::string& strError);
    bool EnterPagesAcross(const std::string& text, std::string& strError);
    bool EnterPagesDown(const std::string& text, std::string& strError);

    // The fields as the dialog shows them.
    std::string LeftText() const { return m_unit.Format(m_rc.left); }
    std::string TopText() const { return m_unit.Format(m_rc.top); }
    std::string WidthText() const { return m_unit.Format(m_rc.Width()); }
    std::string HeightText() const { return m_unit.Format(m_rc.Height()); }
    int Percent() const;
    int PagesAcross() const;
    int PagesDown() const;
    const CRect& Rect() const { return m_rc; }
    int Layout() const { return m_nLayout; }

    // The largest surface of the layout: one body, or 9 × 9 for a poster.
    CSize MaxSurface() const;
    // OK: position, size, layout and centring into the settings.
    void Store(CImagePrintSettings& settings) const;

private:
    bool SetSize(int nWidth, int nHeight);
    // The position the size is checked from: none while centred.
    int Left() const { return m_bCenter ? 0 : m_rc.left; }
    int Top() const { return m_bCenter ? 0 : m_rc.top; }

    CMeasureUnit m_unit;
    CSize m_sizeNatural;
    CSize m_sizeBody;
    CRect m_rc;
    int m_nLayout;
    bool m_bCenter;
};
