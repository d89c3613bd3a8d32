#include "print/CImagePrintForm.h"

#include "framework/StringTable.h"

#include <algorithm>

namespace {

int CeilDiv(int a, int b) {
    return b > 0 ? (a + b - 1) / b : 1;
}

} // namespace

CImagePrintForm::CImagePrintForm(const CImagePrintJob& job, const CMeasureUnit& unit)
    : m_unit(unit), m_sizeNatural(job.GetNaturalSize()), m_sizeBody(job.GetBodySize()),
      m_rc(job.GetImageRect()), m_nLayout(job.GetImageSettings().m_nLayout),
      m_bCenter(job.GetImageSettings().m_bCenter != 0) {}

CSize CImagePrintForm::MaxSurface() const {
    const int n = m_nLayout == kLayoutPoster ? kMaxPosterPages : 1;
    return CSize(n * m_sizeBody.cx, n * m_sizeBody.cy);
}

int CImagePrintForm::Percent() const {
    return static_cast<int>(static_cast<int64_t>(m_rc.Width()) * 100 / std::max(m_sizeNatural.cx, 1));
}

int CImagePrintForm::PagesAcross() const {
    return CeilDiv(m_rc.Width(), m_sizeBody.cx);
}

int CImagePrintForm::PagesDown() const {
    return CeilDiv(m_rc.Height(), m_sizeBody.cy);
}

void CImagePrintForm::SetLayout(int nLayout) {
    m_nLayout = nLayout;
    // A size larger than the new surface allows is scaled back into it.
    const CSize max = MaxSurface();
    if (m_rc.left < 0 || m_rc.top < 0 || m_rc.left >= max.cx || m_rc.top >= max.cy)
        m_rc.OffsetRect(-m_rc.left, -m_rc.top);
    const int w = m_rc.Width(), h = m_rc.Height();
    const int mw = max.cx - Left(), mh = max.cy - Top();
    if (w > mw || h > mh) {
        if (static_cast<int64_t>(w) * mh > static_cast<int64_t>(h) * mw)
            SetSize(mw, std::max(MulDiv(h, mw, w), 1));
        else
            SetSize(std::max(MulDiv(w, mh, h), 1), mh);
    }
}

bool CImagePrintForm::SetSize(int nWidth, int nHeight) {
    // A centred picture is placed by the job; only its size counts here.
    if (m_bCenter) m_rc.OffsetRect(-m_rc.left, -m_rc.top);
    const CSize max = MaxSurface();
    if (nWidth < 1 || nHeight < 1 || m_rc.left + nWidth > max.cx || m_rc.top + nHeight > max.cy) return false;
    m_rc.right = m_rc.left + nWidth;
    m_rc.bottom = m_rc.top + nHeight;
    return true;
}

bool CImagePrintForm::EnterWidth(const std::string& text, std::string& strError) {
    const int nMax = MaxSurface().cx - Left();
    int w;
    if (ValidateLength(m_unit, text, 1, nMax, w, strError) &&
        SetSize(w, std::max(MulDiv(w, m_sizeNatural.cy, m_sizeNatural.cx), 1)))
        return true;
    // The height that goes with the width must fit too.
    const int nFit = std::min(nMax, MulDiv(MaxSurface().cy - Top(), m_sizeNatural.cx, m_sizeNatural.cy));
    strError = FormatResString2(1317, m_unit.Format(1), m_unit.Format(std::max(nFit, 1)));
    return false;
}

bool CImagePrintForm::EnterHeight(const std::string& text, std::string& strError) {
    const int nMax = MaxSurface().cy - Top();
    int h;
    if (ValidateLength(m_unit, text, 1, nMax, h, strError) &&
        SetSize(std::max(MulDiv(h, m_sizeNatural.cx, m_sizeNatural.cy), 1), h))
        return true;
    const int nFit = std::min(nMax, MulDiv(MaxSurface().cx - Left(), m_sizeNatural.cy, m_sizeNatural.cx));
    strError = FormatResString2(1317, m_unit.Format(1), m_unit.Format(std::max(nFit, 1)));
    return false;
}

bool CImagePrintForm::EnterPercent(const std::string& text, std::string& strError) {
    const CSize max = MaxSurface();
    const int nMax =
        std::max(1, static_cast<int>(std::min(
                        static_cast<int64_t>(max.cx - Left()) * 100 / std::max(m_sizeNatural.cx, 1),
                        static_cast<int64_t>(max.cy - Top()) * 100 / std::max(m_sizeNatural.cy, 1))));
    int p;
    if (!ValidateInteger(text, 1, nMax, p, strError)) return false;
    const int w = std::max(MulDiv(p, m_sizeNatural.cx, 100), 1);
    if (SetSize(w, std::max(MulDiv(w, m_sizeNatural.cy, m_sizeNatural.cx), 1))) return true;
    strError = FormatResString2(1317, "1", std::to_string(nMax));
    return false;
}

bool CImagePrintForm::EnterLeft(const std::string& text, std::string& strError) {
    int v;
    if (!ValidateLength(m_unit, text, 0, MaxSurface().cx - m_rc.Width(), v, strError)) return false;
    m_rc.OffsetRect(v - m_rc.left, 0);
    return true;
}

bool CImagePrintForm::EnterTop(const std::string& text, std::string& strError) {
    int v;
    if (!ValidateLength(m_unit, text, 0, MaxSurface().cy - m_rc.Height(), v, strError)) return false;
    m_rc.OffsetRect(0, v - m_rc.top);
    return true;
}

bool CImagePrintForm::EnterPagesAcross(const std::string& text, std::string& strError) {
    // The largest count whose size (and the height that goes with it) fits.
    int nMax = kMaxPosterPages;
    while (nMax > 1 && MulDiv(nMax * m_sizeBody.cx, m_sizeNatural.cy, m_sizeNatural.cx) > MaxSurface().cy)
        --nMax;
    int n;
    if (!ValidateInteger(text, 1, nMax, n, strError)) return false;
    m_rc.OffsetRect(-m_rc.left, -m_rc.top);
    const int w = n * m_sizeBody.cx;
    SetSize(w, std::max(MulDiv(w, m_sizeNatural.cy, m_sizeNatural.cx), 1));
    return true;
}

bool CImagePrintForm::EnterPagesDown(const std::string& text, std::string& strError) {
    int nMax = kMaxPosterPages;
    while (nMax > 1 && MulDiv(nMax * m_sizeBody.cy, m_sizeNatural.cx, m_sizeNatural.cy) > MaxSurface().cx)
        --nMax;
    int n;
    if (!ValidateInteger(text, 1, nMax, n, strError)) return false;
    m_rc.OffsetRect(-m_rc.left, -m_rc.top);
    const int h = n * m_sizeBody.cy;
    SetSize(std::max(MulDiv(h, m_sizeNatural.cx, m_sizeNatural.cy), 1), h);
    return true;
}

void CImagePrintForm::Store(CImagePrintSettings& settings) const {
    settings.m_rcImage = m_rc;
    settings.m_nLayout = m_nLayout;
    settings.m_bCenter = m_bCenter ? 1 : 0;
}
