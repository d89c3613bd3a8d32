#include "imaging/CTChannelMap.h"

#include "imaging/LutApply.h"
#include "imaging/PointTables.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTChannelMap, CTArithmatic)

void CTChannelMap::SetChannels(bool bRed, bool bGreen, bool bBlue) {
    MakeIdentityTable(m_identity);
    m_pRed = bRed ? m_table : m_identity;
    m_pGreen = bGreen ? m_table : m_identity;
    m_pBlue = bBlue ? m_table : m_identity;
}

void CTChannelMap::RunRow(const uint8_t* p1, const uint8_t*, uint8_t* pTarget, int nBytes) {
    if (m_pRed == m_identity && m_pGreen == m_identity && m_pBlue == m_identity) {
        if (pTarget != p1) std::memcpy(pTarget, p1, size_t(nBytes));
        return;
    }
    ApplyLutsBGR(p1, pTarget, size_t(nBytes / 3), m_pBlue, m_pGreen, m_pRed);
}
