#pragma once
// Inverse colour map: for every cell of the colour cube quantised to b bits a
// channel, the nearest palette entry (squared distance to the cell centre,
// lowest entry on ties). Cells are addressed red-major:
// (r >> (8-b)) << 2b | (g >> (8-b)) << b | (b >> (8-b)).

#include "framework/CObject.h"
#include "framework/GdiTypes.h"

#include <cstdint>
#include <vector>

class CInvCMap : public CObject {
    DECLARE_DYNAMIC(CInvCMap)
public:
    CInvCMap(int nColors, int nBits, const RGBQUAD* pColorTable);
    void Build();
    const uint8_t* GetMap() const { return m_map.data(); }
    int CellOf(int r, int g, int b) const {
        int s = 8 - m_nBits;
        return ((r >> s) << (2 * m_nBits)) | ((g >> s) << m_nBits) | (b >> s);
    }

private:
    const RGBQUAD* m_pColorTable;
    int m_nColors;
    int m_nBits;
    std::vector<uint8_t> m_map;
    std::vector<uint32_t> m_distances;
};
