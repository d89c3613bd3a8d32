#include "imaging/CTRGBHist.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

#include <cmath>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CTRGBHist, CPointProcess)

namespace {

// grey = (30 r + 59 g + 11 b) / 100 as three table lookups and one division
// table; the sum of the weighted parts is at most 25500.
struct GreyTables {
    uint16_t r[256], g[256], b[256];
    uint8_t div[25501];
    GreyTables() {
        for (int i = 0; i < 256; ++i)
            r[i] = uint16_t(30 * i), g[i] = uint16_t(59 * i), b[i] = uint16_t(11 * i);
        for (int i = 0; i <= 25500; ++i) div[i] = uint8_t(i / 100);
    }
};

const GreyTables& Grey() {
    static const GreyTables t;
    return t;
}

} // namespace

CTRGBHist::CTRGBHist(CDib* pImage, bool bCumulative)
    : CPointProcess(pImage), m_bCumulative(bCumulative), m_pTables(new uint32_t[8 * 256]()),
      m_nPixels(uint64_t(pImage->GetWidth()) * uint64_t(pImage->GetHeight())) {}

void CTRGBHist::Compute() {
    std::memset(m_pTables.get(), 0, 8 * 256 * sizeof(uint32_t));
    uint32_t* pRed = m_pTables.get();
    uint32_t* pGreen = pRed + 256;
    uint32_t* pBlue = pRed + 512;
    uint32_t* pGrey = pRed + 768;
    const GreyTables& gt = Grey();
    const int w = m_pImage->GetWidth();
    const bool b24 = m_pImage->GetBitCount() == 24;
    std::vector<uint8_t> buffer(b24 ? 0 : size_t(w) * 3);
    for (int y = 0; y < m_pImage->GetHeight(); ++y) {
        const uint8_t* p = m_pImage->GetRowRGB(y, b24 ? nullptr : buffer.data());
        for (int x = 0; x < w; ++x, p += 3) {
            ++pBlue[p[0]];
            ++pGreen[p[1]];
            ++pRed[p[2]];
            ++pGrey[gt.div[gt.r[p[2]] + gt.g[p[1]] + gt.b[p[0]]]];
        }
    }
    if (!m_bCumulative) return;
    for (int c = 0; c < 4; ++c) {
        const uint32_t* h = m_pTables.get() + 256 * c;
        uint32_t* s = m_pTables.get() + 256 * (4 + c);
        s[0] = h[0];
        for (int i = 1; i < 256; ++i) s[i] = s[i - 1] + h[i];
    }
}

void CTRGBHist::MakeEqualizeTable(uint8_t table[256]) const {
    const uint32_t* C = GetCumulative(kGrey);
    uint64_t d = C[255] - C[0];
    if (d < 2) d = 1;
    // 64-bit products: (C[i] - C[0]) * 255 passes 32 bits beyond 16.8 million pixels.
    for (int i = 0; i < 256; ++i) {
        const uint64_t v = (uint64_t(C[i] - C[0]) * 255) / d;
        table[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
}

void CTRGBHist::Equalize() {
    if (m_pImage->GetBitCount() != 24) AfxThrowNotSupportedException();
    const bool bOld = m_bCumulative;
    m_bCumulative = true;
    Compute();
    m_bCumulative = bOld;
    uint8_t table[256];
    MakeEqualizeTable(table);
    ApplyLuts(table, table, table);
}

CHistStatistics CTRGBHist::GetStatistics(const uint32_t* pHist, const uint32_t* pCumulative) const {
    CHistStatistics st;
    const uint64_t n = pCumulative[255];
    if (n == 0) return st;
    // Sums in integers: exact whatever the order.
    uint64_t nSum = 0, nSumSq = 0;
    st.m_nMin = st.m_nMax = -1;
    for (int i = 0; i < 256; ++i) {
        if (pHist[i] == 0) continue;
        if (st.m_nMin < 0) st.m_nMin = i;
        st.m_nMax = i;
        nSum += uint64_t(i) * pHist[i];
        nSumSq += uint64_t(i) * uint64_t(i) * pHist[i];
    }
    st.m_dMean = double(nSum) / double(n);
    const double dVar = double(nSumSq) / double(n) - st.m_dMean * st.m_dMean;
    st.m_dStdDev = dVar > 0 ? std::sqrt(dVar) : 0.0;
    return st;
}
