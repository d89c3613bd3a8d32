#include "imaging/CSolarize.h"

#include "imaging/PointTables.h"

IMPLEMENT_DYNAMIC(CSolarize, CTChannelMap)

void CSolarize::Prepare() {
    MakeSolarizeTable(m_nMode, m_nThreshold, m_table);
    SetChannels(true, true, true);
}
