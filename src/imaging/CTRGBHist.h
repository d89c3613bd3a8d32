#pragma once
// Histograms of red, green, blue and grey (30 R + 59 G + 11 B) / 100 with
// their cumulative sums; statistics and histogram equalisation.

#include "imaging/CPointProcess.h"

#include <cstdint>
#include <memory>

// What the histogram dialog shows for one table.
struct CHistStatistics {
    int32_t m_nMin = -1;
    int32_t m_nMax = -1;
    double m_dMean = -1.0;
    double m_dStdDev = -1.0;
};

class CTRGBHist : public CPointProcess {
    DECLARE_DYNAMIC(CTRGBHist)
public:
    enum : int { kRed = 0, kGreen = 1, kBlue = 2, kGrey = 3 };

    CTRGBHist(CDib* pImage, bool bCumulative);

    // The four histograms over all pixels and, with the cumulative flag, their sums.
    void Compute();
    // Histogram equalisation of a 24-bit image by the grey histogram;
    // CNotSupportedException for other images.
    void Equalize();
    // Statistics of one table; N is the last entry of the cumulative table.
    CHistStatistics GetStatistics(const uint32_t* pHist, const uint32_t* pCumulative) const;

    const uint32_t* GetHistogram(int nChannel) const { return m_pTables.get() + 256 * nChannel; }
    const uint32_t* GetCumulative(int nChannel) const { return m_pTables.get() + 256 * (4 + nChannel); }
    uint64_t GetPixelCount() const { return m_nPixels; }
    // The table equalisation maps every channel through, from the current tables.
    void MakeEqualizeTable(uint8_t table[256]) const;

private:
    bool m_bCumulative;
    // Red, green, blue, grey, then their cumulative sums: 8 x 256 counts.
    std::unique_ptr<uint32_t[]> m_pTables;
    uint64_t m_nPixels;
};
