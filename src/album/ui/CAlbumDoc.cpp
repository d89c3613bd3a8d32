#include "album/ui/CAlbumDoc.h"

#include "album/AlbumPhotos.h"
#include "album/AlbumScales.h"
#include "album/AlbumViewRules.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CWinApp.h"
#include "imaging/CDib.h"
#include "storage/install/CImageInstaller.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CShowSetupDlg.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <filesystem>

IMPLEMENT_DYNAMIC(CAlbumDoc, CBaseDoc)

int CAlbumDoc::s_nThumbnailLoads = 0;

CAlbumDoc::CAlbumDoc() {
    m_nScale = m_data.m_album.m_nScale;
    m_thumbSize = GetThumbnailSize(m_nScale);
    OnCommand(
        ID_FILE_SAVE, [this] { DoFileSave(); }, [this](CCmdUI& ui) { ui.Enable(IsModified()); });
    OnCommand(ID_FILE_SAVE_AS, [this] { DoSave(std::string(), true); });
    OnCommand(kCmdShowSetup, [this] { OnShowSetup(); });
}

void CAlbumDoc::OnShowSetup() {
    CAlbum& album = m_data.m_album;
    const int n = album.GetCount();
    CWinApp* app = AfxGetApp();
    CShowSetupDlg dlg(app ? app->m_pMainWnd : nullptr, n, 0);
    CShowSetupData& data = dlg.Data();
    data.m_showProps = album.m_showProps;
    std::vector<CShowElemProps*> elems;
    for (int i = 0; i < n; ++i) {
        data.m_elems[static_cast<size_t>(i)] = album.GetShowElemProps(i);
        data.m_titles[static_cast<size_t>(i)] = album.GetPhotoTitle(i);
        elems.push_back(&album.GetShowElemProps(i));
    }
    if (dlg.exec() != QDialog::Accepted) return;
    if (data.CopyBack(album.m_showProps, elems)) SetModifiedFlag(true);
}

CAlbumDoc::~CAlbumDoc() = default;

bool CAlbumDoc::OnNewDocument() {
    if (!CBaseDoc::OnNewDocument()) return false;
    if (!m_data.Initialize()) return false;
    m_nScale = m_data.m_album.m_nScale;
    m_thumbSize = GetThumbnailSize(m_nScale);
    return true;
}

bool CAlbumDoc::OnOpenDocument(const std::string& path) {
    if (!CBaseDoc::OnOpenDocument(path)) return false;
    // Load errors raise the exceptions the caller reports; missing photos are
    // reported (1197) and left out.
    m_data.m_album.LoadFile(path);
    m_nScale = m_data.m_album.m_nScale;
    m_thumbSize = GetThumbnailSize(m_nScale);
    m_cache.clear();
    m_cache.resize(static_cast<size_t>(GetPhotoCount()));
    m_nCurrentPhoto = GetPhotoCount() > 0 ? 0 : -1;
    return true;
}

bool CAlbumDoc::OnSaveDocument(const std::string& path) {
    // Photo files that disappeared since loading leave the album first.
    bool bRemoved = false;
    for (int i = 0; i < GetPhotoCount();) {
        if (CFile::Exists(GetAlbum().GetPath(i))) {
            ++i;
            continue;
        }
        GetUserPrompt().MessageBox(FormatResString1(IDS_MISSING_PHOTO_FILE, GetAlbum().GetPath(i)),
                                   MB_OK | MB_ICONEXCLAMATION);
        DropMissingElem(i);
        bRemoved = true;
    }
    if (bRemoved) UpdateAllViews(nullptr, 1);
    m_data.m_album.SaveFile(path, true);
    SetModifiedFlag(false);
    return true;
}

void CAlbumDoc::DeleteContents() {
    m_cache.clear();
}

bool CAlbumDoc::SaveModified() {
    if (!IsModified()) return true;
    const std::string title = m_strTitle.empty() ? LoadResString(IDS_UNTITLED) : m_strTitle;
    switch (GetUserPrompt().MessageBox(FormatResString1(IDS_SAVE_CHANGES, title),
                                       MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        m_data.m_album.DiscardChanges();
        SetModifiedFlag(false);
        return true;
    }
}

std::string CAlbumDoc::GetPictureToOpen(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetPhotoCount()) return {};
    const std::string& path = GetAlbum().GetPath(nIndex);
    std::string source;
    if (QLNI_IsValidFile(path) && QLNI_IsImageInFile(path) == 0) QLNI_GetSourceName(path, source);
    QLNI_CloseFile();
    return source.empty() ? path : source;
}

void CAlbumDoc::SetThumbnailSize(int nScale) {
    m_data.m_album.SetScale(nScale);
    m_nScale = nScale;
    m_thumbSize = GetThumbnailSize(nScale);
    if (GetPhotoCount() > 0) {
        const bool bHadThumbnails = LoadedThumbnailCount() > 0;
        m_cache.clear();
        m_cache.resize(static_cast<size_t>(GetPhotoCount()));
        if (bHadThumbnails) SetModifiedFlag();
    }
}

std::unique_ptr<CTnCacheEntry> CAlbumDoc::LoadThumbnail(int nIndex) const {
    const std::string& path = GetAlbum().GetPath(nIndex);
    TnImageRecType tn{};
    tn.Hdr.dwStructSize = kImageHdrSize;
    tn.wScale = static_cast<uint16_t>(m_nScale);
    const long rc = GetTag(path, QLNI_TAG_THUMBNAIL, &tn, nullptr);
    ++s_nThumbnailLoads;
    if (rc <= 0 || !tn.pPixels) {
        QLNI_FreeTagData(tn.pPixels);
        QLNI_CloseFile();
        return nullptr;
    }
    auto entry = std::make_unique<CTnCacheEntry>();
    try {
        const int nBits = static_cast<int>(tn.Hdr.BitsPerPixel);
        const int w = static_cast<int>(tn.Hdr.dwWidth), h = static_cast<int>(tn.Hdr.dwHeight);
        auto dib = std::make_unique<CDib>(
            nBits, w, h, nBits <= 8 ? reinterpret_cast<const RGBQUAD*>(tn.Palette) : nullptr);
        const uint64_t n = std::min<uint64_t>(GetImageByteSize(tn.Hdr), dib->GetImageSize());
        std::memcpy(dib->GetBits(), tn.pPixels, static_cast<size_t>(n));
        QLNI_FreeTagData(tn.pPixels);
        tn.pPixels = nullptr;
        entry->m_nDisplayBits = GetDisplayCaps().nBitsPixel;
        // A palette display draws from a copy made for it.
        if (entry->m_nDisplayBits <= 8) dib = dib->CreateDisplayDib();
        entry->m_pDib = std::move(dib);
        entry->m_strTitle = GetPhotoText(path, QLNI_TAG_TEXT1);
    } catch (...) {
        QLNI_FreeTagData(tn.pPixels);
        QLNI_CloseFile();
        throw;
    }
    QLNI_CloseFile();
    return entry;
}

const CTnCacheEntry* CAlbumDoc::GetThumbnail(int nIndex) {
    if (nIndex < 0 || nIndex >= GetPhotoCount()) return nullptr;
    if (static_cast<size_t>(nIndex) >= m_cache.size()) m_cache.resize(static_cast<size_t>(nIndex) + 1);
    auto& slot = m_cache[static_cast<size_t>(nIndex)];
    if (slot && slot->m_nDisplayBits == GetDisplayCaps().nBitsPixel) return slot.get();
    slot.reset();
    try {
        slot = LoadThumbnail(nIndex);
    } catch (const CMemoryException&) {
        slot.reset();
    }
    if (!slot) {
        // Memory may be what failed: everything cached goes, then one more try.
        ReleaseThumbnails();
        slot = LoadThumbnail(nIndex);
        if (!slot) ThrowPhotoFileError(GetAlbum().GetPath(nIndex));
    }
    return slot.get();
}

void CAlbumDoc::OnPhotoFileChanged(const std::string& path) {
    std::error_code ec;
    for (int i = 0; i < GetAlbum().GetCount(); ++i) {
        const std::string& mine = GetAlbum().GetPath(i);
        if (mine == path || std::filesystem::equivalent(mine, path, ec)) {
            ReleaseThumbnails();
            UpdateAllViews(nullptr);
            return;
        }
    }
}

void CAlbumDoc::ReleaseThumbnails() {
    for (auto& e : m_cache) e.reset();
}

int CAlbumDoc::LoadedThumbnailCount() const {
    return static_cast<int>(std::count_if(m_cache.begin(), m_cache.end(), [](const auto& e) { return !!e; }));
}

void CAlbumDoc::RemoveElem(int nIndex) {
    m_data.m_album.RemovePhoto(nIndex);
    if (static_cast<size_t>(nIndex) < m_cache.size()) m_cache.erase(m_cache.begin() + nIndex);
    SetModifiedFlag();
}

void CAlbumDoc::DropMissingElem(int nIndex) {
    m_data.m_album.DropElem(nIndex);
    if (static_cast<size_t>(nIndex) < m_cache.size()) m_cache.erase(m_cache.begin() + nIndex);
    SetModifiedFlag();
}

void CAlbumDoc::MoveElem(int nFrom, int nTo) {
    m_cache.resize(static_cast<size_t>(GetPhotoCount()));
    m_data.m_album.MovePhoto(nFrom, nTo);
    ApplyMove(m_cache, nFrom, nTo);
    SetModifiedFlag();
}

void CAlbumDoc::CopyElemFrom(const CAlbumDoc& source, int nIndex, int nPos) {
    m_cache.resize(static_cast<size_t>(GetPhotoCount()));
    nPos = std::clamp(nPos, 0, GetPhotoCount());
    m_data.m_album.CopyPhoto(source.GetAlbum(), nIndex, nPos);
    m_cache.insert(m_cache.begin() + nPos, nullptr);
    SetModifiedFlag();
}

bool CAlbumDoc::AddImages(const std::vector<std::string>& paths) {
    // Pictures on removable drives are copied to the hard disk first; a
    // cancelled copy adds nothing, a file not to be replaced is left out.
    std::vector<std::string> files = paths;
    CInstallWizardData data;
    data.m_bNewAlbum = GetPathName().empty();
    data.m_strAlbumPath = GetPathName();
    for (int i = 0; i < GetPhotoCount(); ++i) data.m_albumFiles.push_back(GetAlbum().GetPath(i));
    data.m_strImageDir = GetAlbumSettings().m_strImagesDir;
    data.m_strProgramDir = QCoreApplication::applicationDirPath().toStdString();
    CImageInstaller installer;
    if (!installer.InstallImages(files, data) || files.empty()) return false;
    const int nBefore = GetPhotoCount();
    try {
        m_data.m_album.AddPhotos(files);
    } catch (...) {
        m_cache.resize(static_cast<size_t>(GetPhotoCount()));
        GetUserPrompt().SetStatusText("");
        if (GetPhotoCount() != nBefore) {
            SetModifiedFlag();
            UpdateAllViews(nullptr, 7);
        }
        throw;
    }
    GetUserPrompt().SetStatusText("");
    m_cache.resize(static_cast<size_t>(GetPhotoCount()));
    if (GetPhotoCount() == nBefore) return false;
    SetModifiedFlag();
    UpdateAllViews(nullptr, 7);
    return true;
}
