#include "imaging/CColorOrderDither4.h"

#include "imaging/CDib.h"
#include "imaging/DitherTables.h"

IMPLEMENT_DYNAMIC(CColorOrderDither4, CDither)

void CColorOrderDither4::Dither() {
    RequireDepths(m_pSource && m_pSource->GetBitCount() >= 8,
                  m_pDest && (m_pDest->GetBitCount() == 4 || m_pDest->GetBitCount() == 8));
    RunRows(true);
}

void CColorOrderDither4::DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow) {
    const CDitherTables& t = GetDitherTables();
    const uint8_t* m = t.magic255[nRow & 15];
    int nWidth = m_pSource->GetWidth();
    const uint8_t *lr = t.levelRed255, *lg = t.levelGreen255, *lb = t.levelBlue255, *rest = t.rest255;
    bool bPacked = m_pDest->GetBitCount() == 4;
    for (int x = nFirstColumn; x < nWidth; ++x) {
        const uint8_t* s = pSource + 3 * x;
        unsigned th = m[x & 15];
        unsigned b = s[0], g = s[1], r = s[2];
        unsigned v = lr[r] + (th < rest[r]) + lg[g] + 2 * (th < rest[g]) + lb[b] + 4 * (th < rest[b]);
        if (!bPacked)
            pDest[x] = static_cast<uint8_t>(v);
        else if (x & 1)
            pDest[x >> 1] = static_cast<uint8_t>((pDest[x >> 1] & 0xF0) | v);
        else
            pDest[x >> 1] = static_cast<uint8_t>(v << 4);
    }
}
