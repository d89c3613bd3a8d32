#include "imaging/CTPosterize.h"

#include "imaging/PointTables.h"

IMPLEMENT_DYNAMIC(CTPosterize, CTChannelMap)

void CTPosterize::Prepare() {
    MakePosterizeTable(m_nLevels, m_table);
    SetChannels(m_bRed, m_bGreen, m_bBlue);
}
