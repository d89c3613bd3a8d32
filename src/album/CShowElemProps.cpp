#include "album/CShowElemProps.h"

#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CShowElemProps, CObject, 0)

void CShowElemProps::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CShowElemProps::Store(CArchive& ar) const {
    ar << m_nEffect << m_dwDelay << m_dwReserved;
}

void CShowElemProps::Load(CArchive& ar) {
    ar >> m_nEffect >> m_dwDelay >> m_dwReserved;
}
