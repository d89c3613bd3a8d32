#include "album/CAlbumData.h"

#include "framework/CArchive.h"
#include "storage/QlnPhotoFile.h"

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
    if (bTakePath) m_album.m_strFilePath = albumPath;
    m_album.m_bNewAlbum = 0;
    m_album.Store(ar);
    QLNI_CloseFile();
}

void CAlbumData::Load(CArchive& ar) {
    m_album.Load(ar);
    m_album.RemoveMissingPhotos();
}
