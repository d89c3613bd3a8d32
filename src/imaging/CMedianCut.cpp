#include "imaging/CMedianCut.h"

#include "framework/CException.h"
#include "framework/DisplayCaps.h"
#include "imaging/CDib.h"
#include "imaging/CInvCMap.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CMedianCut, CObject)

CMedianCut::CMedianCut(CDib* pSource, CDib* pDest) : m_pSource(pSource), m_pDest(pDest) {
    m_boxes.reserve(256);
    m_cells.reserve(32768);
    m_counts.assign(32768, 0);
}

void CMedianCut::Bounds(CBox& box) const {
    for (int c = 0; c < 3; ++c) {
        box.nMin[c] = INT_MAX;
        box.nMax[c] = INT_MIN;
    }
    for (int i = 0; i < box.nCells; ++i) {
        uint16_t cell = m_cells[box.nFirst + i];
        for (int c = 0; c < 3; ++c) {
            int v = Channel(cell, c);
            box.nMin[c] = std::min(box.nMin[c], v);
            box.nMax[c] = std::max(box.nMax[c], v);
        }
    }
}

void CMedianCut::Quantize(bool bDither, int nColors, bool bIncludeSystemColors) {
    if (!m_pSource || !m_pDest || m_pSource->GetBitCount() <= 8 || m_pDest->GetBitCount() != 8 ||
        m_pSource->GetWidth() != m_pDest->GetWidth() || m_pSource->GetHeight() != m_pDest->GetHeight())
        AfxThrowNotSupportedException();
    int k = std::clamp(nColors, 1, 256);
    const CDisplayCaps& caps = GetDisplayCaps();
    int nHalf = 0;
    if (bIncludeSystemColors) {
        k = std::min(k, 236);
        nHalf = std::min({caps.nReserved / 2, static_cast<int>(caps.firstStatic.size()),
                          static_cast<int>(caps.lastStatic.size()), 10});
    }
    int nWidth = m_pSource->GetWidth(), nHeight = m_pSource->GetHeight();
    bool bDirect = m_pSource->GetBitCount() == 24;
    std::vector<uint8_t> buf(bDirect ? 0 : static_cast<size_t>(nWidth) * 3);

    // Histogram of 15-bit colours.
    std::fill(m_counts.begin(), m_counts.end(), 0);
    for (int y = 0; y < nHeight; ++y) {
        const uint8_t* s = m_pSource->GetRowRGB(y, bDirect ? nullptr : buf.data());
        for (int x = 0; x < nWidth; ++x, s += 3)
            ++m_counts[((s[0] >> 3) << 10) | ((s[1] >> 3) << 5) | (s[2] >> 3)];
    }
    m_cells.clear();
    uint64_t nTotal = 0;
    for (int cell = 0; cell < 32768; ++cell)
        if (m_counts[cell]) {
            m_cells.push_back(static_cast<uint16_t>(cell));
            nTotal += m_counts[cell];
        }

    // Split the box of lowest level along its longest axis until k boxes exist.
    m_boxes.clear();
    if (!m_cells.empty()) {
        CBox first{0, static_cast<int>(m_cells.size()), nTotal, 0, {}, {}};
        Bounds(first);
        m_boxes.push_back(first);
    }
    while (static_cast<int>(m_boxes.size()) < k) {
        int nPick = -1;
        for (int i = 0; i < static_cast<int>(m_boxes.size()); ++i)
            if (m_boxes[i].nCells > 1 && (nPick < 0 || m_boxes[i].nLevel < m_boxes[nPick].nLevel)) nPick = i;
        if (nPick < 0) break;
        CBox box = m_boxes[nPick];
        int e[3] = {box.nMax[0] - box.nMin[0], box.nMax[1] - box.nMin[1], box.nMax[2] - box.nMin[2]};
        int nAxis = (e[0] >= e[1] && e[0] >= e[2]) ? 0 : (e[1] >= e[2] ? 1 : 2); // blue, green, red
        auto first = m_cells.begin() + box.nFirst;
        std::stable_sort(first, first + box.nCells,
                         [&](uint16_t a, uint16_t b) { return Channel(a, nAxis) < Channel(b, nAxis); });
        uint64_t nSum = 0, nHalfTotal = box.nTotal / 2;
        int nWalked = 0;
        for (;;) {
            nSum += m_counts[m_cells[box.nFirst + nWalked]];
            ++nWalked;
            if (nSum >= nHalfTotal || nWalked >= box.nCells - 1) break;
        }
        CBox lower{box.nFirst, nWalked, nSum, box.nLevel + 1, {}, {}};
        CBox upper{box.nFirst + nWalked, box.nCells - nWalked, box.nTotal - nSum, box.nLevel + 1, {}, {}};
        Bounds(lower);
        Bounds(upper);
        m_boxes[nPick] = lower;
        m_boxes.push_back(upper);
    }

    // Box colours: count-weighted means.
    int nBoxes = static_cast<int>(m_boxes.size());
    RGBQUAD palette[256] = {};
    for (int i = 0; i < nBoxes; ++i) {
        const CBox& box = m_boxes[i];
        uint64_t sum[3] = {0, 0, 0};
        for (int j = 0; j < box.nCells; ++j) {
            uint16_t cell = m_cells[box.nFirst + j];
            for (int c = 0; c < 3; ++c) sum[c] += static_cast<uint64_t>(m_counts[cell]) * Channel(cell, c);
        }
        uint64_t n = std::max<uint64_t>(box.nTotal, 1);
        palette[i] = RGBQUAD{static_cast<uint8_t>(sum[0] / n), static_cast<uint8_t>(sum[1] / n),
                             static_cast<uint8_t>(sum[2] / n), 0};
    }

    // Destination colour table: the computed colours, framed by the system colours.
    RGBQUAD* pTable = m_pDest->GetColorTable();
    std::fill(pTable, pTable + 256, RGBQUAD{});
    for (int i = 0; i < nBoxes && i + nHalf < 256; ++i) pTable[i + nHalf] = palette[i];
    for (int i = 0; i < nHalf; ++i) {
        pTable[i] = caps.firstStatic[i];
        pTable[256 - nHalf + i] = caps.lastStatic[i];
        pTable[i].rgbReserved = pTable[256 - nHalf + i].rgbReserved = 0;
    }
    m_pDest->SetGray(false, 0);
    m_pDest->CheckGray();

    if (!bDither) {
        // Each listed cell gets its nearest colour; pixels take their cell's.
        std::vector<uint8_t> cellMap(32768, 0);
        for (uint16_t cell : m_cells) {
            int b = Channel(cell, 0), g = Channel(cell, 1), r = Channel(cell, 2);
            int nBest = 0;
            long lBest = LONG_MAX;
            for (int i = 0; i < nBoxes; ++i) {
                long db = palette[i].rgbBlue - b, dg = palette[i].rgbGreen - g, dr = palette[i].rgbRed - r;
                long d = db * db + dg * dg + dr * dr;
                if (d < lBest) {
                    lBest = d;
                    nBest = i;
                    if (d == 0) break;
                }
            }
            cellMap[cell] = static_cast<uint8_t>(nBest + nHalf);
        }
        for (int y = 0; y < nHeight; ++y) {
            const uint8_t* s = m_pSource->GetRowRGB(y, bDirect ? nullptr : buf.data());
            uint8_t* d = m_pDest->GetRow(y);
            for (int x = 0; x < nWidth; ++x, s += 3)
                d[x] = cellMap[((s[0] >> 3) << 10) | ((s[1] >> 3) << 5) | (s[2] >> 3)];
            m_pDest->PutRow(y, d);
        }
        return;
    }

    // Error diffusion through an inverse map of the computed colours.
    CInvCMap inv(nBoxes, 5, palette);
    inv.Build();
    const uint8_t* map = inv.GetMap();
    std::vector<int32_t> cur(static_cast<size_t>(nWidth) * 3 + 3, 0), next(cur.size(), 0);
    for (int y = 0; y < nHeight; ++y) {
        const uint8_t* s = m_pSource->GetRowRGB(y, bDirect ? nullptr : buf.data());
        uint8_t* d = m_pDest->GetRow(y);
        cur.swap(next);
        for (int c = 0; c < 3; ++c) {
            cur[c] += s[c];
            if (nWidth > 1) cur[3 + c] += s[3 + c];
        }
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < nWidth; ++x) {
            int32_t* a = cur.data() + 3 * x;
            for (int c = 0; c < 3; ++c) a[c] = std::clamp(a[c], 0, 255);
            unsigned nIndex = map[((a[2] >> 3) << 10) | ((a[1] >> 3) << 5) | (a[0] >> 3)];
            d[x] = static_cast<uint8_t>(nIndex + nHalf);
            if (x == 0 || x >= nWidth - 1) continue;
            const RGBQUAD& q = palette[nIndex];
            int32_t e[3] = {a[0] - q.rgbBlue, a[1] - q.rgbGreen, a[2] - q.rgbRed};
            const uint8_t* in = s + 3 * (x + 1);
            int32_t* n = next.data() + 3 * x;
            for (int c = 0; c < 3; ++c) {
                int32_t qq = e[c] >> 2, r = e[c] >> 4;
                a[3 + c] += in[c] + 2 * qq - r;
                n[c - 3] += qq - r;
                n[c] += qq + r;
                n[c + 3] += r;
            }
        }
        m_pDest->PutRow(y, d);
    }
}
