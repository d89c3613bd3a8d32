#include "imaging/CTComplement.h"

#include "imaging/PointTables.h"

IMPLEMENT_DYNAMIC(CTComplement, CTChannelMap)

void CTComplement::Prepare() {
    MakeNegativeTable(m_table);
    SetChannels(m_bRed, m_bGreen, m_bBlue);
}
