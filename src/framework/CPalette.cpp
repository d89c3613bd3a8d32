#include "framework/CPalette.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CPalette, CObject)

bool CPalette::CreatePalette(const std::vector<PALETTEENTRY>& entries) {
    if (entries.empty() || entries.size() > 256) return false;
    m_entries = entries;
    m_bCreated = true;
    return true;
}

unsigned CPalette::GetPaletteEntries(unsigned nStart, unsigned nCount, PALETTEENTRY* pEntries) const {
    if (nStart >= m_entries.size()) return 0;
    unsigned n = std::min<unsigned>(nCount, static_cast<unsigned>(m_entries.size()) - nStart);
    std::copy_n(m_entries.begin() + nStart, n, pEntries);
    return n;
}

unsigned CPalette::SetPaletteEntries(unsigned nStart, unsigned nCount, const PALETTEENTRY* pEntries) {
    if (nStart >= m_entries.size()) return 0;
    unsigned n = std::min<unsigned>(nCount, static_cast<unsigned>(m_entries.size()) - nStart);
    std::copy_n(pEntries, n, m_entries.begin() + nStart);
    return n;
}

unsigned CPalette::GetNearestPaletteIndex(COLORREF color) const {
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    unsigned nBest = 0;
    long lBest = LONG_MAX;
    for (unsigned i = 0; i < m_entries.size(); ++i) {
        long dr = m_entries[i].peRed - r, dg = m_entries[i].peGreen - g, db = m_entries[i].peBlue - b;
        long d = dr * dr + dg * dg + db * db;
        if (d < lBest) {
            lBest = d;
            nBest = i;
            if (d == 0) break;
        }
    }
    return nBest;
}
