#include "album/CAlbumElem.h"

#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CAlbumElem, CObject, 0)

void CAlbumElem::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strPath;
        m_showElemProps.Store(ar);
    } else {
        ar >> m_strPath;
        m_showElemProps.Load(ar);
    }
}
