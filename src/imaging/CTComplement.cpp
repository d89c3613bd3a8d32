#include "imaging/CTComplement.h"

#include "imaging/PointTables.h"

IMPLEMENT_DYNAMIC(CTComplement, CTChannelMap)

void CTComplement::Prepare() {
    MakeNegativeTable(m_table);
    SetChannels(m_bRed, m_bGreen, m_bBlue);
    for (int i = 0; i < 48; i += 3) {
        m_mask[i] = m_bBlue ? 0xFF : 0;
        m_mask[i + 1] = m_bGreen ? 0xFF : 0;
        m_mask[i + 2] = m_bRed ? 0xFF : 0;
    }
}

void CTComplement::RunRow(const uint8_t* p1, const uint8_t*, uint8_t* pTarget, int nBytes) {
    int i = 0;
    for (; i + 48 <= nBytes; i += 48)
        for (int k = 0; k < 48; ++k) pTarget[i + k] = p1[i + k] ^ m_mask[k];
    for (int k = 0; i < nBytes; ++i, ++k) pTarget[i] = p1[i] ^ m_mask[k];
}
