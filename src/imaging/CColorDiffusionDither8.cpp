#include "imaging/CColorDiffusionDither8.h"

#include "imaging/CDib.h"
#include "imaging/DitherTables.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CColorDiffusionDither8, CDither)

CColorDiffusionDither8::CColorDiffusionDither8(CDib* pSource, CDib* pDest)
    : CDither(pSource, pDest), m_nWidth(pSource ? pSource->GetWidth() : 0), m_nLast(m_nWidth - 1),
      m_current(static_cast<size_t>(m_nWidth) * 3 + 3, 0), m_next(static_cast<size_t>(m_nWidth) * 3 + 3, 0) {}

void CColorDiffusionDither8::Dither() {
    RequireDepths(m_pSource && m_pSource->GetBitCount() >= 8, m_pDest && m_pDest->GetBitCount() == 8);
    RunRows(false);
}

void CColorDiffusionDither8::DitherRow(const uint8_t* pSource, uint8_t* pDest) {
    const CDitherTables& t = GetDitherTables();
    const uint8_t *lr = t.levelRed51, *lg = t.levelGreen51, *lb = t.levelBlue51;
    const RGBQUAD* pal = t.displayPalette;
    int nWidth = m_nWidth;
    if (nWidth <= 0) return;
    m_current.swap(m_next);
    int32_t* cur = m_current.data();
    int32_t* next = m_next.data();
    for (int c = 0; c < 3; ++c) {
        cur[c] += pSource[c];
        if (nWidth > 1) cur[3 + c] += pSource[3 + c];
    }
    std::fill(m_next.begin(), m_next.end(), 0);
    // Accumulated values stay within 0..305; the bound only guards the tables.
    auto index = [&](const int32_t* a) {
        return lr[std::min(a[2], 306)] + lg[std::min(a[1], 306)] + lb[std::min(a[0], 306)];
    };
    pDest[0] = static_cast<uint8_t>(index(cur));
    for (int x = 1; x < nWidth - 1; ++x) {
        int32_t* a = cur + 3 * x;
        unsigned idx = index(a);
        pDest[x] = static_cast<uint8_t>(idx);
        const RGBQUAD& q = pal[idx & 0xFF];
        int32_t e[3] = {a[0] - q.rgbBlue, a[1] - q.rgbGreen, a[2] - q.rgbRed};
        const uint8_t* in = pSource + 3 * (x + 1);
        int32_t* n = next + 3 * x;
        for (int c = 0; c < 3; ++c) {
            int32_t qq = e[c] >> 2, r = e[c] >> 4;
            a[3 + c] += in[c] + 2 * qq - r;
            n[c - 3] += qq - r;
            n[c] += qq + r;
            n[c + 3] += r;
        }
    }
    if (nWidth > 1) pDest[nWidth - 1] = static_cast<uint8_t>(index(cur + 3 * (nWidth - 1)));
}
