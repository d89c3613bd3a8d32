#include "imaging/CTBlend.h"

#include "framework/CException.h"

IMPLEMENT_DYNAMIC(CTBlend, CTArithmatic)

void CTBlend::Prepare() {
    if (m_nPercent < 0 || m_nPercent > 100) AfxThrowNotSupportedException();
}

void CTBlend::RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) {
    const unsigned p = unsigned(m_nPercent), q = 100u - p;
    for (int i = 0; i < nBytes; ++i) pTarget[i] = static_cast<uint8_t>((p2[i] * q + p1[i] * p) / 100u);
}
