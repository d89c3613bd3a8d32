#include "imaging/CTDifference.h"

IMPLEMENT_DYNAMIC(CTDifference, CTArithmatic)

void CTDifference::RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) {
    for (int i = 0; i < nBytes; ++i) {
        const int d = p1[i] - p2[i];
        pTarget[i] = static_cast<uint8_t>(d < 0 ? -d : d);
    }
}
