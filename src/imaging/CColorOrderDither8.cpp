#include "imaging/CColorOrderDither8.h"

#include "imaging/CDib.h"
#include "imaging/DitherTables.h"

IMPLEMENT_DYNAMIC(CColorOrderDither8, CDither)

void CColorOrderDither8::Dither() {
    RequireDepths(m_pSource && m_pSource->GetBitCount() >= 8, m_pDest && m_pDest->GetBitCount() == 8);
    RunRows(true);
}

void CColorOrderDither8::DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow) {
    const CDitherTables& t = GetDitherTables();
    if (m_contribution.empty()) {
        // Per threshold and channel value: the level plus the step when the
        // threshold is below the rest, so a pixel needs three look-ups.
        m_contribution.resize(3 * 51 * 256);
        for (int m = 0; m < 51; ++m)
            for (int v = 0; v < 256; ++v) {
                bool bUp = m < t.rest51[v];
                m_contribution[(0 * 51 + m) * 256 + v] = static_cast<uint8_t>(t.levelBlue51[v] + 36 * bUp);
                m_contribution[(1 * 51 + m) * 256 + v] = static_cast<uint8_t>(t.levelGreen51[v] + 6 * bUp);
                m_contribution[(2 * 51 + m) * 256 + v] = static_cast<uint8_t>(t.levelRed51[v] + bUp);
            }
    }
    const uint8_t* m = t.magic51[nRow & 15];
    int nWidth = m_pSource->GetWidth();
    const uint8_t* c = m_contribution.data();
    // The matrix column is counted from the right edge: c = width - x.
    for (int x = nFirstColumn; x < nWidth; ++x) {
        const uint8_t* s = pSource + 3 * x;
        unsigned th = m[(nWidth - x) & 15];
        pDest[x] =
            static_cast<uint8_t>(c[th * 256 + s[0]] + c[(51 + th) * 256 + s[1]] + c[(102 + th) * 256 + s[2]]);
    }
}
