#include "view/core/DialogRules.h"

#include "framework/StringTable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

bool ValidateIntegerField(const std::string& text, int nMin, int nMax, int& nValue, std::string& strError) {
    size_t i = 0, n = text.size();
    while (i < n && std::isspace((unsigned char)text[i])) ++i;
    while (n > i && std::isspace((unsigned char)text[n - 1])) --n;
    bool bNegative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) bNegative = text[i++] == '-';
    bool bOk = i < n && n - i <= 10;
    long long v = 0;
    for (size_t k = i; bOk && k < n; ++k) {
        if (!std::isdigit((unsigned char)text[k]))
            bOk = false;
        else
            v = v * 10 + (text[k] - '0');
    }
    if (bNegative) v = -v;
    if (bOk && v >= nMin && v <= nMax) {
        nValue = int(v);
        return true;
    }
    strError = FormatResString2(1317, std::to_string(nMin), std::to_string(nMax));
    return false;
}

bool CropMarginsValid(int nWidth, int nHeight, const CCropMargins& m) {
    if (m.m_nLeft < 0 || m.m_nTop < 0 || m.m_nRight < 0 || m.m_nBottom < 0) return false;
    return (long long)m.m_nLeft + m.m_nRight < nWidth && (long long)m.m_nTop + m.m_nBottom < nHeight;
}

int CropMarginLimit(int nSize, int nOpposite) {
    return std::max(0, nSize - 1 - std::max(0, nOpposite));
}

std::vector<CHistogramBar> HistogramBars(const uint32_t* pCounts, int nWidth, int nHeight, bool bAccumulated,
                                         uint64_t nPixels) {
    std::vector<CHistogramBar> bars(256);
    uint64_t nLargest = bAccumulated ? nPixels : *std::max_element(pCounts, pCounts + 256);
    for (int i = 0; i < 256; ++i) {
        bars[i].m_nX = int((long long)i * nWidth / 256);
        bars[i].m_nHeight =
            nLargest ? int((uint64_t)nHeight * std::min<uint64_t>(pCounts[i], nLargest) / nLargest) : 0;
    }
    return bars;
}

std::string FormatHundredths(double d) {
    const int nWhole = int(d);
    const int nHundredths = int((d - nWhole) * 100);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d.%02d", nWhole, nHundredths < 0 ? -nHundredths : nHundredths);
    return buf;
}
