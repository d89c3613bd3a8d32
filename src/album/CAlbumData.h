#pragma once
// The album document's album: the model and the thumbnails loaded for display.

#include "album/CAlbum.h"
#include "album/CTnImage.h"
#include "framework/CObject.h"

#include <memory>
#include <string>
#include <vector>

class CArchive;

class CAlbumData : public CObject {
    DECLARE_DYNAMIC(CAlbumData)
public:
    static constexpr size_t kTnBlockSize = 10;

    CAlbumData();
    ~CAlbumData() override;

    virtual bool Initialize();
    // The photo-file steps of a save, then the album file layout into the archive.
    virtual void Save(CArchive& ar, const std::string& albumPath, bool bTakePath);
    // Reads the layout, then removes the elements whose photo file is missing (message 1197).
    virtual void Load(CArchive& ar);

    CAlbum m_album;
    std::vector<std::unique_ptr<CTnImage>> m_tnImages;
};
