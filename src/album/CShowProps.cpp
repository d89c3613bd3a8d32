#include "album/CShowProps.h"

#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CShowProps, CObject, 0)

bool CShowProps::operator==(const CShowProps& o) const {
    return m_bAutoAdvance == o.m_bAutoAdvance && m_bRepeat == o.m_bRepeat &&
           m_bRandomOrder == o.m_bRandomOrder && m_bTitles == o.m_bTitles &&
           m_bTitlesIndex == o.m_bTitlesIndex && m_bCursor == o.m_bCursor && m_bPanel == o.m_bPanel &&
           m_bFullScreen == o.m_bFullScreen;
}

void CShowProps::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CShowProps::Store(CArchive& ar) const {
    for (int32_t v : {m_bAutoAdvance, m_bRepeat, m_bRandomOrder, m_bTitles, m_bTitlesIndex, m_bCursor,
                      m_bPanel, m_bFullScreen})
        ar << static_cast<uint16_t>(v);
}

void CShowProps::Load(CArchive& ar) {
    for (int32_t* p : {&m_bAutoAdvance, &m_bRepeat, &m_bRandomOrder, &m_bTitles, &m_bTitlesIndex, &m_bCursor,
                       &m_bPanel, &m_bFullScreen}) {
        uint16_t w = 0;
        ar >> w;
        *p = w;
    }
}
