#include "imaging/CTMinus.h"

#include "framework/CException.h"

IMPLEMENT_DYNAMIC(CTMinus, CTArithmatic)

void CTMinus::Prepare() {
    if (m_nScale != 1 && m_nScale != 2) AfxThrowNotSupportedException();
}

void CTMinus::RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) {
    // (a - b) / 2 truncates toward zero, so the exchanged formula is |d|.
    const int nShift = m_nScale == 2 ? 1 : 0;
    if (m_bWrap) {
        for (int i = 0; i < nBytes; ++i) {
            const int d = p1[i] - p2[i];
            pTarget[i] = static_cast<uint8_t>((d < 0 ? -d : d) >> nShift);
        }
    } else {
        for (int i = 0; i < nBytes; ++i) {
            const int d = p1[i] - p2[i];
            pTarget[i] = static_cast<uint8_t>(d < 0 ? 0 : d >> nShift);
        }
    }
}
