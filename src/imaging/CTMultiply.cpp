#include "imaging/CTMultiply.h"

IMPLEMENT_DYNAMIC(CTMultiply, CTArithmatic)

void CTMultiply::RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) {
    for (int i = 0; i < nBytes; ++i) pTarget[i] = static_cast<uint8_t>(unsigned(p1[i] * p2[i]) / 255u);
}
