#include "imaging/CFilter.h"

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/FilterCore.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CFilter, CObject)

namespace {

// Row pointers of a 24-bit image, top row first.
struct CRowTable {
    std::vector<uint8_t*> m_rows;
    explicit CRowTable(CDib& image) : m_rows(image.GetHeight()) {
        for (int y = 0; y < image.GetHeight(); ++y) m_rows[y] = image.GetRow(y);
    }
    CRows24 Rows(const CDib& image) const { return {m_rows.data(), image.GetWidth(), image.GetHeight()}; }
};

} // namespace

CFilter::CFilter(CDib* pSource, CDib* pDest, const KernelType* pKernel)
    : m_pSource(pSource), m_pDest(pDest), m_pKernel(pKernel) {
    if (!pSource || pSource->GetBitCount() != 24) AfxThrowNotSupportedException();
    // The rows written are as wide as the source's: a smaller or other
    // destination would be overrun.
    if (!pDest || pDest->GetBitCount() != 24 || pDest->GetWidth() != pSource->GetWidth() ||
        pDest->GetHeight() != pSource->GetHeight())
        AfxThrowNotSupportedException();
    m_nWidth = pSource->GetWidth();
    m_nWidthM1 = m_nWidth - 1;
    m_nHeightM1 = pSource->GetHeight() - 1;
}

void CFilter::Convolve() {
    if (!m_pKernel) AfxThrowNotSupportedException();
    // The 3 x 3 filters read rows they have already written when source and
    // destination are one image: they then read a copy.
    std::unique_ptr<CDib> pCopy;
    CDib* pSource = m_pSource;
    if (m_pSource == m_pDest) pSource = (pCopy = std::make_unique<CDib>(*m_pSource)).get();
    const CRowTable src(*pSource), dst(*m_pDest);
    Convolve24(src.Rows(*pSource), dst.Rows(*m_pDest), *m_pKernel);
}

void CFilter::RankFilter(int nMode) {
    if (nMode < 0 || nMode > 2) AfxThrowNotSupportedException();
    std::unique_ptr<CDib> pCopy;
    CDib* pSource = m_pSource;
    if (m_pSource == m_pDest) pSource = (pCopy = std::make_unique<CDib>(*m_pSource)).get();
    const CRowTable src(*pSource), dst(*m_pDest);
    RankFilter24(src.Rows(*pSource), dst.Rows(*m_pDest), nMode);
}

void CFilter::GaussianBlur(int nRadius) {
    if (nRadius < 0 || 2 * nRadius + 1 > 101) AfxThrowNotSupportedException();
    std::unique_ptr<CDib> pCopy;
    CDib* pSource = m_pSource;
    if (m_pSource == m_pDest) pSource = (pCopy = std::make_unique<CDib>(*m_pSource)).get();
    const CRowTable src(*pSource), dst(*m_pDest);
    GaussianBlur24(src.Rows(*pSource), dst.Rows(*m_pDest), nRadius);
}
