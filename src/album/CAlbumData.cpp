#include "album/CAlbumData.h"

#include "framework/CArchive.h"
#include "storage/photo/QlnPhotoFile.h"

IMPLEMENT_DYNAMIC(CAlbumData, CObject)

CAlbumData::CAlbumData() {
    m_tnImages.reserve(kTnBlockSize);
}

CAlbumData::~CAlbumData() = default;

bool CAlbumData::Initialize() {
    return true;
}

void CAlbumData::Save(CArchive& ar, const std::string& albumPath, bool bTakePath) {
    m_album.PrepareSave(albumPath, bTakePath);
    m_album.Store(ar);
    QLNI_CloseFile();
    m_album.MarkSaved(albumPath, bTakePath);
}

void CAlbumData::Load(CArchive& ar) {
    m_album.Load(ar);
    m_album.RemoveMissingPhotos();
}
