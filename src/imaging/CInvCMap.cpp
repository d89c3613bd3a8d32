#include "imaging/CInvCMap.h"

#include "framework/CException.h"
#include "imaging/ImageMemory.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CInvCMap, CObject)

CInvCMap::CInvCMap(int nColors, int nBits, const RGBQUAD* pColorTable)
    : m_pColorTable(pColorTable), m_nColors(std::clamp(nColors, 0, 256)), m_nBits(std::clamp(nBits, 1, 8)) {
    size_t nCells = size_t(1) << (3 * m_nBits);
    if (!IsMemoryAvailable(nCells * 5)) AfxThrowMemoryException();
    m_map.assign(nCells, 0);
    m_distances.assign(nCells, 0);
}

// Each colour in turn claims every cell it is strictly nearer to than the
// colours before it, so the lowest entry wins ties. The squared distance to
// the cell centres is kept per axis and added plane by plane, line by line.
void CInvCMap::Build() {
    std::fill(m_distances.begin(), m_distances.end(), UINT32_MAX);
    std::fill(m_map.begin(), m_map.end(), 0);
    int nSide = 1 << m_nBits;
    int x = 1 << (8 - m_nBits);
    std::vector<uint32_t> dr(nSide), dg(nSide), db(nSide);
    for (int i = 0; i < m_nColors; ++i) {
        const RGBQUAD& q = m_pColorTable[i];
        for (int c = 0; c < nSide; ++c) {
            int centre = c * x + x / 2;
            dr[c] = static_cast<uint32_t>((q.rgbRed - centre) * (q.rgbRed - centre));
            dg[c] = static_cast<uint32_t>((q.rgbGreen - centre) * (q.rgbGreen - centre));
            db[c] = static_cast<uint32_t>((q.rgbBlue - centre) * (q.rgbBlue - centre));
        }
        uint8_t nIndex = static_cast<uint8_t>(i);
        size_t nCell = 0;
        for (int r = 0; r < nSide; ++r)
            for (int g = 0; g < nSide; ++g) {
                uint32_t base = dr[r] + dg[g];
                uint32_t* pDist = m_distances.data() + nCell;
                uint8_t* pMap = m_map.data() + nCell;
                for (int b = 0; b < nSide; ++b) {
                    uint32_t d = base + db[b];
                    bool bNearer = d < pDist[b];
                    pDist[b] = bNearer ? d : pDist[b];
                    pMap[b] = bNearer ? nIndex : pMap[b];
                }
                nCell += nSide;
            }
    }
}
