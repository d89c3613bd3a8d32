#pragma once
// The album model: thumbnail scale, title, description, show settings and the
// ordered photo elements, with the album file layout and every operation that
// keeps the album and its photo files' backward paths consistent.

#include "album/CAlbumElem.h"
#include "album/CShowProps.h"
#include "framework/CObject.h"

#include <memory>
#include <string>
#include <vector>

class CArchive;

class CAlbum : public CObject {
    DECLARE_SERIAL(CAlbum)
public:
    static constexpr char kSignature[] = "QLN_ALB-10DD94"; // stored with its zero byte
    static constexpr uint32_t kSignatureSize = 15;

    CAlbum();
    ~CAlbum() override;
    CAlbum(const CAlbum&) = delete;
    CAlbum& operator=(const CAlbum&) = delete;

    // The album file layout. Loading sets the saved scale and elements and
    // clears the new-album flag.
    void Serialize(CArchive& ar) override;
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);

    // Elements.
    int GetCount() const { return static_cast<int>(m_elems.size()); }
    const std::string& GetPath(int i) const { return m_elems.at(static_cast<size_t>(i))->m_strPath; }
    CShowElemProps& GetShowElemProps(int i) { return m_elems.at(static_cast<size_t>(i))->m_showElemProps; }
    const CShowElemProps& GetShowElemProps(int i) const {
        return m_elems.at(static_cast<size_t>(i))->m_showElemProps;
    }
    int FindElem(const std::string& path) const { return Find(m_elems, path); }
    int FindSavedElem(const std::string& path) const { return Find(m_savedElems, path); }
    int FindRemovedElem(const std::string& path) const { return Find(m_removedElems, path); }
    void AppendElem(const std::string& path, const CShowElemProps& props = {});
    // Takes element i out without touching its photo file (the missing-file checks).
    void DropElem(int i);

    // The path that photo files record: the file path, else the provisional path.
    std::string GetAlbumPath() const { return m_strFilePath.empty() ? m_strProvisionalPath : m_strFilePath; }

    // Removes the elements whose photo file is missing, each after message
    // 1197; returns how many. Not a modification of the album.
    int RemoveMissingPhotos();

    // Operations (with the user-interface layer's messages and questions).
    void AddPhotos(const std::vector<std::string>& paths);
    void RemovePhoto(int i);
    void CopyPhoto(const CAlbum& other, int i, int nPos);
    void MovePhoto(int nFrom, int nTo);
    void SetScale(int nScale);
    void DiscardChanges();
    // The photo-file steps of a save, then the new file path (bTakePath) and
    // the cleared new-album flag; the caller then writes the layout.
    void PrepareSave(const std::string& albumPath, bool bTakePath);
    // After the layout is written: the file path (bTakePath), the cleared
    // new-album flag, and the saved scale and elements taken from the album.
    void MarkSaved(const std::string& path, bool bTakePath);
    // The whole save: photo files, then the album file written beside the old one.
    void SaveFile(const std::string& path, bool bTakePath = true);
    // Reads the file and removes the missing photos.
    void LoadFile(const std::string& path, bool bCheckMissing = true);

    std::string GetPhotoTitle(int i) const;
    void SetPhotoTitle(int i, const std::string& title);
    std::string GetPhotoDescription(int i) const;
    void SetPhotoDescription(int i, const std::string& description);

    int32_t m_nScale;
    std::string m_strTitle = "Untitled";
    std::string m_strDescription = "No Description";
    CShowProps m_showProps;
    std::vector<std::unique_ptr<CAlbumElem>> m_elems;
    std::string m_strFilePath;
    int32_t m_bNewAlbum = 1;
    int32_t m_nSavedScale = -1;
    std::vector<std::unique_ptr<CAlbumElem>> m_savedElems;
    std::vector<std::unique_ptr<CAlbumElem>> m_removedElems;
    std::string m_strProvisionalPath;

private:
    static int Find(const std::vector<std::unique_ptr<CAlbumElem>>& elems, const std::string& path);
    // Distinct paths of the list, first occurrences in order.
    static std::vector<std::string> DistinctPaths(const std::vector<std::unique_ptr<CAlbumElem>>& elems);
    // Withdraws this album from the photo and commits it, or deletes a photo
    // file that nothing else needs (discarding changes).
    void ReleaseOrDelete(const std::string& photoPath);
};
