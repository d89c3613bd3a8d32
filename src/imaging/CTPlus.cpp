#include "imaging/CTPlus.h"

#include "framework/CException.h"

IMPLEMENT_DYNAMIC(CTPlus, CTArithmatic)

void CTPlus::Prepare() {
    if (m_nScale != 1 && m_nScale != 2) AfxThrowNotSupportedException();
}

void CTPlus::RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) {
    if (m_nScale == 2) {
        for (int i = 0; i < nBytes; ++i) pTarget[i] = static_cast<uint8_t>((p1[i] + p2[i]) >> 1);
    } else if (m_bWrap) {
        for (int i = 0; i < nBytes; ++i) {
            const int s = p1[i] + p2[i];
            pTarget[i] = static_cast<uint8_t>(s > 255 ? s - 255 : s);
        }
    } else {
        for (int i = 0; i < nBytes; ++i) {
            const int s = p1[i] + p2[i];
            pTarget[i] = static_cast<uint8_t>(s > 255 ? 255 : s);
        }
    }
}
