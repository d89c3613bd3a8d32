#pragma once
// The album document: one album model, the album file it was loaded from,
// and a cache of the thumbnails shown (loaded on first use).

#include "album/CAlbumData.h"
#include "framework/CRect.h"
#include "view/CBaseDoc.h"

#include <memory>
#include <string>
#include <vector>

class CDib;

// One cached thumbnail: the bitmap (a display copy on a palette display),
// the photo's title and the display depth it was made for.
struct CTnCacheEntry {
    std::unique_ptr<CDib> m_pDib;
    std::string m_strTitle;
    int m_nDisplayBits = 0;
};

class CAlbumDoc : public CBaseDoc {
    DECLARE_DYNAMIC(CAlbumDoc)
public:
    CAlbumDoc();
    ~CAlbumDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void DeleteContents() override;
    // "Save changes to %1?": Yes saves, No discards the album's changes.
    bool SaveModified() override;

    bool IsAlbum() const override { return true; }
    int GetPhotoCount() const override { return m_data.m_album.GetCount(); }
    int GetCurrentPhoto() const override { return m_nCurrentPhoto; }
    void SetCurrentPhoto(int nIndex) override { m_nCurrentPhoto = nIndex; }
    // A companion photo file opens the picture it stands for.
    std::string GetPictureToOpen(int nIndex) const override;
    void OnPhotoFileChanged(const std::string& path) override;

    CAlbum& GetAlbum() { return m_data.m_album; }
    const CAlbum& GetAlbum() const { return m_data.m_album; }
    int GetScale() const { return m_nScale; }
    CSize GetThumbSize() const { return m_thumbSize; }

    // A new scale: the album's thumbnails are made for it and the cache is
    // cleared; modified when thumbnails were loaded.
    void SetThumbnailSize(int nScale);
    // The cached thumbnail, loaded on first use (and again after a change of
    // display depth). A failed load releases every cached thumbnail and tries
    // once more; a second failure raises the file exception.
    const CTnCacheEntry* GetThumbnail(int nIndex);
    void ReleaseThumbnails();
    int LoadedThumbnailCount() const;
    // The album operations, kept in step with the cache; they mark the document modified.
    void RemoveElem(int nIndex);
    void DropMissingElem(int nIndex); // the photo file is gone: only the album entry goes
    void MoveElem(int nFrom, int nTo);
    void CopyElemFrom(const CAlbumDoc& source, int nIndex, int nPos);
    // Adds the pictures (those on removable drives copied first); true when any was added.
    bool AddImages(const std::vector<std::string>& paths);

    // "Slide Show Setup...": the show settings of the album and its photos.
    static constexpr unsigned kCmdShowSetup = 2098;
    void OnShowSetup();

    static int s_nThumbnailLoads; // thumbnails read from photo files (tests, benchmarks)

private:
    std::unique_ptr<CTnCacheEntry> LoadThumbnail(int nIndex) const;

    std::vector<std::unique_ptr<CTnCacheEntry>> m_cache;
    CSize m_thumbSize;
    int m_nScale = 1;
    CAlbumData m_data;
    int m_nCurrentPhoto = -1;
};
