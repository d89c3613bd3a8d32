#include "imaging/CCrop.h"

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/DibHelpers.h"

#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CCrop, CObject)

CCrop::CCrop(CDib* pSource, int nLeft, int nTop, int nWidth, int nHeight)
    : m_pSource(pSource), m_nLeft(nLeft), m_nTop(nTop), m_nWidth(nWidth), m_nHeight(nHeight) {
    if (!pSource || pSource->GetBitCount() < 8) AfxThrowNotSupportedException();
}

CDib* CCrop::Crop() {
    CDib& src = *m_pSource;
    const int64_t w = src.GetWidth(), h = src.GetHeight();
    // Negative left or top would read before the row: refused as well.
    if (m_nWidth <= 0 || m_nHeight <= 0 || m_nLeft < 0 || m_nTop < 0 || m_nLeft >= w || m_nTop >= h ||
        int64_t(m_nLeft) + m_nWidth > w || int64_t(m_nTop) + m_nHeight > h)
        AfxThrowNotSupportedException();
    const int nBytesPerPixel = src.GetBitCount() / 8;
    auto dst = std::make_unique<CDib>(src.GetBitCount(), m_nWidth, m_nHeight, src.GetColorTable());
    AdviseLargePages(*dst);
    CopyResolution(src, *dst);
    if (src.IsGray()) dst->SetGray(true, src.GetGrayLevels());
    ZeroDibPadding(*dst);
    const size_t nOffset = size_t(m_nLeft) * nBytesPerPixel, nBytes = size_t(m_nWidth) * nBytesPerPixel;
    for (int j = 0; j < m_nHeight; ++j) std::memcpy(dst->GetRow(j), src.GetRow(m_nTop + j) + nOffset, nBytes);
    return dst.release();
}
