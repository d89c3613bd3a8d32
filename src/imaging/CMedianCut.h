#pragma once
// Adaptive palette by median cut over colours quantised to 5 bits a channel,
// then the pixels mapped to it (nearest colour, or error diffusion through an
// inverse colour map).

#include "framework/CObject.h"

#include <cstdint>
#include <vector>

class CDib;

class CMedianCut : public CObject {
    DECLARE_DYNAMIC(CMedianCut)
public:
    // Source deeper than 8 bits, destination 8-bit (CNotSupportedException on Quantize).
    CMedianCut(CDib* pSource, CDib* pDest);
    // Fills the destination's colour table and pixels with nColors colours
    // (at most 236 with the display's system colours around them).
    void Quantize(bool bDither, int nColors, bool bIncludeSystemColors);
    // Colours computed by the last Quantize.
    int GetColorCount() const { return static_cast<int>(m_boxes.size()); }

private:
    struct CBox {
        int nFirst, nCells;
        uint64_t nTotal;
        int nLevel;
        int nMin[3], nMax[3]; // blue, green, red as 5-bit value × 8
    };
    void Bounds(CBox& box) const;
    static int Channel(uint16_t cell, int c) { return ((cell >> (10 - 5 * c)) & 31) * 8; }

    CDib* m_pSource;
    CDib* m_pDest;
    std::vector<CBox> m_boxes;
    std::vector<uint16_t> m_cells;  // the colour list
    std::vector<uint32_t> m_counts; // histogram by cell (b << 10 | g << 5 | r)
};
