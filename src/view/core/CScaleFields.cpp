#include "view/core/CScaleFields.h"

CScaleFields::CScaleFields(int nWidth, int nHeight)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_values{nWidth, nHeight, 100, 100} {}

int CScaleFields::Round(double x) {
    return int(x + 0.5);
}

void CScaleFields::Write(EField field, int nValue) {
    m_values[field] = nValue;
    if (m_write) m_write(field, nValue);
}

void CScaleFields::OnEdited(EField field, int nValue) {
    m_values[field] = nValue;
    if (!m_bGuard) return;
    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    m_bGuard = false;
    // The edited direction and the other one.
    const bool bWidth = field == Width || field == WidthPercent;
    const double dSize = bWidth ? m_nWidth : m_nHeight;
    const double dOther = bWidth ? m_nHeight : m_nWidth;
    const EField size = bWidth ? Width : Height, percent = bWidth ? WidthPercent : HeightPercent;
    const EField otherSize = bWidth ? Height : Width, otherPercent = bWidth ? HeightPercent : WidthPercent;
    if (field == size)
        Write(percent, Round(100.0 * nValue / dSize));
    else
        Write(size, Round(dSize * nValue * 0.01));
    if (m_bFixed) {
        Write(otherSize, Round(dOther / dSize * m_values[size]));
        Write(otherPercent, Round(100.0 * m_values[otherSize] / dOther));
    }
    m_bGuard = true;
}
