#include "imaging/CTArithmatic.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

IMPLEMENT_DYNAMIC(CTArithmatic, CObject)

void CTArithmatic::Run() {
    if (!m_pTarget || m_pTarget->GetBitCount() != 24) AfxThrowNotSupportedException();
    const int w = m_pTarget->GetWidth(), h = m_pTarget->GetHeight();
    // The sources are read as 24-bit rows of the target's width: anything
    // else would be read past its rows.
    auto check = [w, h](const CDib* p) {
        if (!p || p->GetBitCount() != 24 || p->GetWidth() != w || p->GetHeight() != h)
            AfxThrowNotSupportedException();
    };
    check(m_pImage1);
    if (UsesImage2()) check(m_pImage2);
    Prepare();
    for (int y = 0; y < h; ++y) {
        const uint8_t* p1 = m_pImage1->GetRow(y);
        const uint8_t* p2 = UsesImage2() ? m_pImage2->GetRow(y) : nullptr;
        RunRow(p1, p2, m_pTarget->GetRow(y), 3 * w);
    }
}
