#include "imaging/CDither.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

IMPLEMENT_DYNAMIC(CDither, CObject)

void CDither::DitherRow(const uint8_t*, uint8_t*) {}

void CDither::DitherRow(const uint8_t*, uint8_t*, int, int) {}

void CDither::RequireDepths(bool bSourceOk, bool bDestOk) const {
    if (!m_pSource || !m_pDest || !bSourceOk || !bDestOk) AfxThrowNotSupportedException();
    if (m_pSource->GetWidth() != m_pDest->GetWidth() || m_pSource->GetHeight() != m_pDest->GetHeight())
        AfxThrowNotSupportedException();
}

void CDither::RunRows(bool bOrdered) {
    bool bDirect = m_pSource->GetBitCount() == 24;
    if (!bDirect) m_rowBuffer.resize(static_cast<size_t>(m_pSource->GetWidth()) * 3);
    for (int y = 0; y < m_pSource->GetHeight(); ++y) {
        const uint8_t* pSrc = m_pSource->GetRowRGB(y, bDirect ? nullptr : m_rowBuffer.data());
        uint8_t* pDst = m_pDest->GetRow(y);
        if (bOrdered)
            DitherRow(pSrc, pDst, 0, y);
        else
            DitherRow(pSrc, pDst);
        m_pDest->PutRow(y, pDst);
    }
}
