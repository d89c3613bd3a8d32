#include "imaging/CScale.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CScale, CObject)

std::vector<int> CScale::IndexTable(int nDest, int nSource) {
    const float r = Ratio(nDest, nSource);
    std::vector<int> table(std::max(nDest, 0));
    for (int i = 0; i < nDest; ++i)
        table[i] = std::min(static_cast<int>(static_cast<float>(i) / r), nSource - 1);
    return table;
}
