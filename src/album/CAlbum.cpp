#include "album/CAlbum.h"

#include "album/AlbumFile.h"
#include "album/AlbumPhotos.h"
#include "album/AlbumScales.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/StringTable.h"
#include "framework/Trace.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "storage/photo/QlnPhotoFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

IMPLEMENT_SERIAL(CAlbum, CObject, 0)

namespace {

constexpr uint32_t kMaxElems = 0xFFFF; // the count is a 16-bit word
// The smallest element object: a reference tag alone.
constexpr uint64_t kMinElemBytes = 2;

class CWaitCursor {
public:
    CWaitCursor() { GetUserPrompt().BeginWaitCursor(); }
    ~CWaitCursor() { GetUserPrompt().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// "Reading file %d out of %d : %s" (1042 or 1043).
void ShowReading(uint32_t nId, size_t i, size_t n, const std::string& path) {
    const std::string format = LoadResString(nId);
    const std::string shortPath = ShortenPathForDisplay(path);
    const int len = std::snprintf(nullptr, 0, format.c_str(), static_cast<int>(i), static_cast<int>(n),
                                  shortPath.c_str());
    std::string text(static_cast<size_t>(std::max(len, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format.c_str(), static_cast<int>(i), static_cast<int>(n),
                  shortPath.c_str());
    GetUserPrompt().SetStatusText(text);
}

int AskAbortRetryIgnore(uint32_t nId, const std::string& path) {
    const std::string text =
        path.empty() ? LoadResString(nId) : FormatResString1(nId, ShortenPathForDisplay(path));
    return GetUserPrompt().MessageBox(text, MB_ABORTRETRYIGNORE | MB_ICONSTOP);
}

std::unique_ptr<CDib> LoadHolderImage(const std::string& photoPath) {
    std::string holder;
    QLNI_GetHolderName(holder, photoPath);
    return LoadPhotoImage(holder.empty() ? photoPath : holder);
}

bool HasThumbnailOfScale(const std::string& photoPath, uint16_t wScale) {
    int n = 0;
    uint16_t scales[QLNI_SCALE_COUNT] = {};
    QLNI_GetThumbnailScales(photoPath, &n, scales);
    return std::find(scales, scales + n, wScale) != scales + n;
}

} // namespace

CAlbum::CAlbum() {
    const int nScale = GetAlbumSettings().m_nThumbnailSize;
    m_nScale = nScale >= 0 && nScale < kAlbumScaleCount ? nScale : 1;
}

CAlbum::~CAlbum() = default;

// --- the album file ------------------------------------------------------------------

void CAlbum::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CAlbum::Store(CArchive& ar) const {
    if (m_elems.size() > kMaxElems) AfxThrowArchiveException(CArchiveException::generic);
    ar.Write(kSignature, kSignatureSize);
    ar << static_cast<uint16_t>(m_nScale) << m_strTitle << m_strDescription;
    m_showProps.Store(ar);
    ar << static_cast<uint16_t>(m_elems.size());
    for (const auto& elem : m_elems) ar.WriteObject(elem.get());
}

void CAlbum::Load(CArchive& ar) {
    char signature[kSignatureSize];
    ar.Read(signature, kSignatureSize);
    if (std::memcmp(signature, kSignature, kSignatureSize) != 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
    uint16_t wScale = 0;
    ar >> wScale;
    // Scales beyond the album sizes have no thumbnails of ours: not an album we wrote.
    if (wScale >= kAlbumScaleCount) AfxThrowArchiveException(CArchiveException::badIndex);
    std::string title, description;
    ar >> title >> description;
    CShowProps show;
    show.Load(ar);
    uint16_t wCount = 0;
    ar >> wCount;
    if (static_cast<uint64_t>(wCount) * kMinElemBytes > ar.BytesRemaining())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    std::vector<std::unique_ptr<CAlbumElem>> elems;
    for (uint32_t i = 0; i < wCount; ++i) {
        bool bReference = false;
        CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CAlbumElem), &bReference);
        if (!pOb) continue; // a null element holds nothing
        auto* pElem = static_cast<CAlbumElem*>(pOb);
        if (bReference)
            elems.push_back(std::make_unique<CAlbumElem>(*pElem));
        else
            elems.emplace_back(pElem);
    }
    m_nScale = wScale;
    m_strTitle = std::move(title);
    m_strDescription = std::move(description);
    m_showProps = show;
    m_elems = std::move(elems);
    m_nSavedScale = wScale;
    m_bNewAlbum = 0;
    m_savedElems.clear();
    for (const auto& e : m_elems) m_savedElems.push_back(std::make_unique<CAlbumElem>(e->m_strPath));
    m_removedElems.clear();
}

void CAlbum::SaveFile(const std::string& path, bool bTakePath) {
    PrepareSave(path, bTakePath);
    WriteAlbumFileBeside(path, [this](CArchive& ar) { Store(ar); });
    QLNI_CloseFile();
    MarkSaved(path, bTakePath);
}

void CAlbum::MarkSaved(const std::string& path, bool bTakePath) {
    if (bTakePath) m_strFilePath = path;
    m_bNewAlbum = 0;
    // What is on disk now is the state that discarding later changes returns to.
    m_nSavedScale = m_nScale;
    m_savedElems.clear();
    for (const auto& e : m_elems) m_savedElems.push_back(std::make_unique<CAlbumElem>(e->m_strPath));
    m_removedElems.clear();
}

void CAlbum::LoadFile(const std::string& path, bool bCheckMissing) {
    ReadAlbumFile(path, [this](CArchive& ar) { Load(ar); });
    m_strFilePath = path;
    if (bCheckMissing) RemoveMissingPhotos();
}

// --- elements ------------------------------------------------------------------------------

int CAlbum::Find(const std::vector<std::unique_ptr<CAlbumElem>>& elems, const std::string& path) {
    for (size_t i = 0; i < elems.size(); ++i)
        if (elems[i]->m_strPath == path) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> CAlbum::DistinctPaths(const std::vector<std::unique_ptr<CAlbumElem>>& elems) {
    std::vector<std::string> paths;
    for (size_t i = 0; i < elems.size(); ++i)
        if (Find(elems, elems[i]->m_strPath) == static_cast<int>(i)) paths.push_back(elems[i]->m_strPath);
    return paths;
}

void CAlbum::AppendElem(const std::string& path, const CShowElemProps& props) {
    m_elems.push_back(std::make_unique<CAlbumElem>(path, props));
}

void CAlbum::DropElem(int i) {
    m_elems.erase(m_elems.begin() + i);
}

int CAlbum::RemoveMissingPhotos() {
    int nRemoved = 0;
    for (int i = 0; i < GetCount();) {
        if (CFile::Exists(GetPath(i))) {
            ++i;
            continue;
        }
        GetUserPrompt().MessageBox(FormatResString1(1197, GetPath(i)), MB_OK | MB_ICONEXCLAMATION);
        DropElem(i);
        ++nRemoved;
    }
    return nRemoved;
}

// --- operations ------------------------------------------------------------------------

void CAlbum::AddPhotos(const std::vector<std::string>& paths) {
    CWaitCursor wait;
    const std::string albumPath = GetAlbumPath();
    const size_t n = paths.size();
    for (size_t i = 0; i < n;) {
        const std::string& path = paths[i];
        ShowReading(1042, i + 1, n, path);
        std::unique_ptr<CDib> picture;
        try {
            picture = LoadPhotoImage(path);
        } catch (const CException&) {
            const int answer = AskAbortRetryIgnore(1217, path);
            if (answer == IDABORT) throw;
            if (answer != IDRETRY) ++i;
            continue;
        }
        std::string photoPath = path;
        bool bThumbnail = false;
        try {
            if (!QLNI_IsValidFile(path)) {
                // An existing companion keeps the thumbnails other albums use.
                const std::string companion = QLNI_GetCompanionName(path);
                if (!QLNI_IsValidFile(companion)) QLNI_CreateCompanionFile(path, true);
                QLNI_GetHolderName(photoPath, path);
                if (photoPath.empty()) ThrowPhotoFileError(companion);
            }
            CreateThumbnail(photoPath, *picture, m_nScale, albumPath);
            bThumbnail = true;
            SetPhotoText(photoPath, QLNI_TAG_TEXT1, FileNameOfPath(path), true);
            AppendElem(photoPath);
        } catch (const CException&) {
            picture.reset();
            // A thumbnail recorded for an element that was not added is withdrawn.
            if (bThumbnail && FindElem(photoPath) < 0 && !albumPath.empty()) {
                try {
                    const uint16_t wScale = static_cast<uint16_t>(m_nScale);
                    DeleteTag(photoPath, QLNI_TAG_ALBUM_PATH, &wScale, albumPath.c_str());
                } catch (const CException&) {
                }
            }
            const int answer = AskAbortRetryIgnore(1220, std::string());
            if (answer == IDABORT) throw;
            if (answer != IDRETRY) ++i;
            continue;
        }
        ++i;
    }
}

void CAlbum::RemovePhoto(int i) {
    const std::string path = GetPath(i);
    DropElem(i);
    if (FindElem(path) >= 0) return;
    if (FindRemovedElem(path) < 0) m_removedElems.push_back(std::make_unique<CAlbumElem>(path));
    const std::string albumPath = GetAlbumPath();
    const uint16_t wScale = static_cast<uint16_t>(m_nScale);
    if (DeleteTag(path, QLNI_TAG_ALBUM_PATH, &wScale, albumPath.c_str()) < 0) ThrowPhotoFileError(path);
}

void CAlbum::CopyPhoto(const CAlbum& other, int i, int nPos) {
    const std::string path = other.GetPath(i);
    const std::string albumPath = GetAlbumPath();
    if (other.m_nScale == m_nScale) {
        const uint16_t wScale = static_cast<uint16_t>(m_nScale);
        if (!albumPath.empty() && SetTag(path, QLNI_TAG_ALBUM_PATH, true, &wScale, albumPath.c_str()) <= 0)
            ThrowPhotoFileError(path);
    } else {
        std::unique_ptr<CDib> picture = LoadHolderImage(path);
        CreateThumbnail(path, *picture, m_nScale, albumPath);
    }
    nPos = std::clamp(nPos, 0, GetCount());
    m_elems.insert(m_elems.begin() + nPos, std::make_unique<CAlbumElem>(path));
}

void CAlbum::MovePhoto(int nFrom, int nTo) {
    if (nFrom < 0 || nFrom >= GetCount() || nTo == nFrom) return;
    if (nTo > nFrom) --nTo;
    nTo = std::clamp(nTo, 0, GetCount() - 1);
    std::unique_ptr<CAlbumElem> elem = std::move(m_elems[static_cast<size_t>(nFrom)]);
    m_elems.erase(m_elems.begin() + nFrom);
    m_elems.insert(m_elems.begin() + nTo, std::move(elem));
}

void CAlbum::SetScale(int nScale) {
    if (nScale < 0 || nScale >= kAlbumScaleCount) AfxThrowNotSupportedException();
    if (nScale == m_nScale) return;
    if (m_elems.empty()) {
        m_nScale = nScale;
        return;
    }
    CWaitCursor wait;
    const std::string albumPath = GetAlbumPath();
    const uint16_t wOld = static_cast<uint16_t>(m_nScale);
    const size_t n = m_elems.size();
    for (size_t i = 0; i < n; ++i) {
        const std::string path = m_elems[i]->m_strPath;
        try {
            if (DeleteTag(path, QLNI_TAG_ALBUM_PATH, &wOld, albumPath.c_str()) < 0) ThrowPhotoFileError(path);
            ShowReading(1043, i + 1, n, path);
            std::unique_ptr<CDib> picture = LoadHolderImage(path);
            CreateThumbnail(path, *picture, nScale, albumPath);
        } catch (const CException&) {
            GetUserPrompt().MessageBox(FormatResString1(1217, ShortenPathForDisplay(path)),
                                       MB_OK | MB_ICONSTOP);
        }
    }
    m_nScale = nScale;
}

void CAlbum::PrepareSave(const std::string& albumPath, bool bTakePath) {
    CWaitCursor wait;
    const std::string oldPath = GetAlbumPath();
    const std::string target = albumPath.empty() ? oldPath : albumPath;
    // A new album, or one saved under another name, is recorded in its photos now.
    const bool bRegister = m_bNewAlbum || (bTakePath && !target.empty() && target != m_strFilePath);
    const uint16_t wScale = static_cast<uint16_t>(m_nScale);
    for (const std::string& path : DistinctPaths(m_elems)) {
        for (;;) {
            try {
                if (bRegister && !target.empty()) {
                    if (m_bNewAlbum && !oldPath.empty() && oldPath != target)
                        DeleteTag(path, QLNI_TAG_ALBUM_PATH, &wScale, oldPath.c_str());
                    DeleteTag(path, QLNI_TAG_ALBUM_PATH, &wScale, target.c_str());
                    if (SetTag(path, QLNI_TAG_ALBUM_PATH, true, &wScale, target.c_str()) <= 0)
                        ThrowPhotoFileError(path);
                }
                if (QLNI_CommitFile(path, 1, 1) != 1) ThrowPhotoFileError(path);
                break;
            } catch (const CException&) {
                const int answer = AskAbortRetryIgnore(1240, path);
                if (answer == IDABORT) throw;
                if (answer == IDRETRY) continue;
                break;
            }
        }
    }
    for (const std::string& path : DistinctPaths(m_removedElems)) {
        if (FindElem(path) >= 0) continue;
        try {
            QLNI_CommitFile(path, 1, 1);
        } catch (const CException&) {
            ZTRACE("PrepareSave(): %s not committed\n", path.c_str());
        }
    }
    if (bTakePath && !albumPath.empty() && m_bNewAlbum) m_strProvisionalPath.clear();
}

void CAlbum::ReleaseOrDelete(const std::string& photoPath) {
    const int nNeeds = QLNI_NeedsCommit(photoPath);
    if (nNeeds < 0) return; // missing or not a photo file: nothing to release
    const int nImage = QLNI_IsImageInFile(photoPath);
    QLNI_ChangeThumbnailScale(photoPath, QLNI_NO_SCALE, GetAlbumPath());
    // Other albums at any scale keep the file (their thumbnails live in it).
    int nOthers = 0;
    for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s) nOthers += QLNI_GetTnUsageCount(photoPath, s);
    // A committed file has been saved with some album, whose file may still
    // name it even when its backward path was withdrawn by an unsaved removal:
    // only a file never committed (made by this session) and used by nothing
    // else is deleted.
    if (nNeeds == 0 || nOthers > 0 || nImage == 1)
        QLNI_CommitFile(photoPath, 1, 0);
    else
        QLNI_DeleteFile(photoPath);
}

void CAlbum::DiscardChanges() {
    CWaitCursor wait;
    const std::string albumPath = GetAlbumPath();
    const std::vector<std::string> saved = DistinctPaths(m_savedElems);
    if (!m_bNewAlbum) {
        for (const std::string& path : saved) {
            try {
                if (m_nSavedScale >= 0) {
                    const uint16_t wSaved = static_cast<uint16_t>(m_nSavedScale);
                    QLNI_ChangeThumbnailScale(path, wSaved, albumPath);
                    // Another album's save may have cleaned up the thumbnail
                    // this album had stopped using: build it again.
                    if (!HasThumbnailOfScale(path, wSaved)) {
                        std::unique_ptr<CDib> picture = LoadHolderImage(path);
                        CreateThumbnail(path, *picture, m_nSavedScale, albumPath);
                    }
                }
                QLNI_CommitFile(path, 1, 0);
            } catch (const CException&) {
                ZTRACE("DiscardChanges(): %s skipped\n", path.c_str());
            }
        }
    }
    auto isSaved = [&](const std::string& p) {
        return std::find(saved.begin(), saved.end(), p) != saved.end();
    };
    for (const std::string& path : DistinctPaths(m_elems)) {
        if (isSaved(path)) continue;
        try {
            ReleaseOrDelete(path);
        } catch (const CException&) {
            ZTRACE("DiscardChanges(): %s skipped\n", path.c_str());
        }
    }
    for (const std::string& path : DistinctPaths(m_removedElems)) {
        if (isSaved(path) || FindElem(path) >= 0) continue;
        try {
            ReleaseOrDelete(path);
        } catch (const CException&) {
            ZTRACE("DiscardChanges(): %s skipped\n", path.c_str());
        }
    }
    m_strProvisionalPath.clear();
    try {
        QLNI_CloseFile();
    } catch (const CException&) {
    }
}

// --- texts -------------------------------------------------------------------------------

std::string CAlbum::GetPhotoTitle(int i) const {
    return GetPhotoText(GetPath(i), QLNI_TAG_TEXT1);
}

void CAlbum::SetPhotoTitle(int i, const std::string& title) {
    SetPhotoText(GetPath(i), QLNI_TAG_TEXT1, title);
}

std::string CAlbum::GetPhotoDescription(int i) const {
    return GetPhotoText(GetPath(i), QLNI_TAG_TEXT2);
}

void CAlbum::SetPhotoDescription(int i, const std::string& description) {
    SetPhotoText(GetPath(i), QLNI_TAG_TEXT2, description);
}
