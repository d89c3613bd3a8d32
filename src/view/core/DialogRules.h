#pragma once
// Rules of the enhancer's argument dialogs that need no window: integer field
// validation, the crop margins, and the histogram graph's bars.

#include <cstdint>
#include <string>
#include <vector>

// An integer field's text within [nMin, nMax]: true with the value, or false
// with message 1317 ("Please enter a number between ...") in strError.
bool ValidateIntegerField(const std::string& text, int nMin, int nMax, int& nValue, std::string& strError);

// Margins cut from a W x H picture: each at least 0 and at least one pixel
// left each way. On success the inclusive corners to keep.
struct CCropMargins {
    int m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;
};
bool CropMarginsValid(int nWidth, int nHeight, const CCropMargins& m);
// The largest margin of one side while the opposite one is nOpposite.
int CropMarginLimit(int nSize, int nOpposite);

// One bar of the histogram graph.
struct CHistogramBar {
    int m_nX = 0;      // column in the graph
    int m_nHeight = 0; // pixels, from the bottom
};
// The 256 bars for the counts in a graph of nWidth x nHeight: bin i at column
// i * width / 256, height * count / largest, the largest being the pixel count
// for the accumulated view (else the largest count).
std::vector<CHistogramBar> HistogramBars(const uint32_t* pCounts, int nWidth, int nHeight, bool bAccumulated,
                                         uint64_t nPixels);
// The integer part and two digits of hundredths, as the statistics show it.
std::string FormatHundredths(double d);
