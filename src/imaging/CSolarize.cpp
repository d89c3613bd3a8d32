#include "imaging/CSolarize.h"

#include "imaging/PointTables.h"

IMPLEMENT_DYNAMIC(CSolarize, CTChannelMap)

void CSolarize::Prepare() {
    MakeSolarizeTable(m_nMode, m_nThreshold, m_table);
    SetChannels(true, true, true);
}

void CSolarize::RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) {
    if (m_nThreshold < 0 || m_nThreshold > 255) {
        CTChannelMap::RunRow(p1, p2, pTarget, nBytes);
        return;
    }
    // Byte comparisons, so that the loops run on whole vectors of bytes.
    const uint8_t t = static_cast<uint8_t>(m_nThreshold);
    if (m_nMode == kSolarizeDarken) {
        for (int i = 0; i < nBytes; ++i) {
            const uint8_t v = p1[i];
            pTarget[i] = v > t ? static_cast<uint8_t>(~v) : v;
        }
    } else {
        for (int i = 0; i < nBytes; ++i) {
            const uint8_t v = p1[i];
            pTarget[i] = v < t ? static_cast<uint8_t>(~v) : v;
        }
    }
}
