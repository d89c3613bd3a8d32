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
    const uint8_t* m = t.magic51[nRow & 15];
    int nWidth = m_pSource->GetWidth();
    const uint8_t *lr = t.levelRed51, *lg = t.levelGreen51, *lb = t.levelBlue51, *rest = t.rest51;
    // The matrix column is counted from the right edge: c = width - x.
    for (int x = nFirstColumn; x < nWidth; ++x) {
        const uint8_t* s = pSource + 3 * x;
        unsigned th = m[(nWidth - x) & 15];
        unsigned b = s[0], g = s[1], r = s[2];
        pDest[x] = static_cast<uint8_t>(lr[r] + (th < rest[r]) + lg[g] + 6 * (th < rest[g]) + lb[b] +
                                        36 * (th < rest[b]));
    }
}
