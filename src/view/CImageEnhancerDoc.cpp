#include "view/CImageEnhancerDoc.h"

#include "album/AlbumPhotos.h"
#include "album/AlbumViewRules.h"
#include "framework/CAppException.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/CommandIds.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CWinApp.h"
#include "imaging/CDib.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CImageEnhancerView.h"
#include "view/CImpExpFileDialog.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CImageEnhancerDoc, CBaseDoc)

namespace {
constexpr uint32_t IDS_FAILED_TO_OPEN_DOC = 61697;
} // namespace

std::function<std::unique_ptr<CDib>(const std::string&, int*)> CImageEnhancerDoc::s_loadPicture =
    [](const std::string& path, int* pFormat) {
        std::unique_ptr<CDib> image;
        CImageFileInfo info{};
        const int rc = ImportPicture(path, image, &info);
        if (rc == IMPEXP_ERR_MEMORY_LOW) AfxThrowMemoryException();
        if (rc != IMPEXP_SUCCESS || !image)
            ThrowAppException(FormatImpExpError(IDS_FILE_READ_ERROR, path, rc));
        if (pFormat) *pFormat = info.nFormat;
        return image;
    };

std::function<std::string(const std::string&, int, int&)> CImageEnhancerDoc::s_askExportName =
    [](const std::string& proposal, int nBits, int& nSaveType) {
        return CImpExpFileDialog::Ask(proposal, nBits, nSaveType);
    };

CImageEnhancerDoc::CImageEnhancerDoc() {
    OnCommand(
        ID_FILE_SAVE, [this] { OnFileSave(); }, [this](CCmdUI& ui) { ui.Enable(IsModified() && m_pDib); });
    OnCommand(
        ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); }, [this](CCmdUI& ui) { ui.Enable(m_pDib != nullptr); });
}

CImageEnhancerDoc::~CImageEnhancerDoc() {
    DeleteContents();
}

bool CImageEnhancerDoc::OnOpenDocument(const std::string& path) {
    // A file that is not there (or cannot be read) is the framework's open failure.
    CFile probe;
    if (!CFile::Exists(path) || !probe.Open(path, CFile::modeRead)) {
        GetUserPrompt().MessageBox(FormatResString1(IDS_FAILED_TO_OPEN_DOC, path),
                                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    probe.Close();
    std::unique_ptr<CDib> image;
    int nFormat = 0;
    try {
        GetUserPrompt().BeginWaitCursor();
        image = s_loadPicture(path, &nFormat);
        GetUserPrompt().EndWaitCursor();
    } catch (...) {
        GetUserPrompt().EndWaitCursor();
        // The import layer's text with its reason.
        ReportException(std::current_exception());
        return false;
    }
    if (!image) return false;
    DeleteContents();
    m_pDib = std::move(image);
    m_nFileFormat = nFormat;
    UpdateSaveFormat();
    m_nModifyCount = 0;
    SetModifiedFlag(false);
    return true;
}

bool CImageEnhancerDoc::OnSaveDocument(const std::string& path) {
    if (!m_pDib) return false;
    GetUserPrompt().BeginWaitCursor();
    int rc = 0;
    try {
        rc = ExportPicture(*m_pDib, m_nSaveFormat, path);
    } catch (...) {
        GetUserPrompt().EndWaitCursor();
        throw;
    }
    GetUserPrompt().EndWaitCursor();
    if (rc != IMPEXP_SUCCESS) {
        // The picture stays marked as changed, so closing still asks.
        ReportException(CAppException(FormatImpExpError(IDS_FILE_SAVE_ERROR, path, rc)));
        return false;
    }
    m_nModifyCount = 0;
    SetModifiedFlag(false);
    if (m_nSaveFormat == kSaveTypePhoto) PhotoFileChanged(path);
    return true;
}

void CImageEnhancerDoc::PhotoFileChanged(const std::string& path) {
    // The thumbnails the file keeps for its albums show the new picture.
    try {
        for (uint16_t wScale = 0; wScale < QLNI_SCALE_COUNT; ++wScale) {
            uint32_t dwLength = 0;
            if (GetTagLength(path, QLNI_TAG_THUMBNAIL, &dwLength, wScale) > 0 && dwLength > 0)
                CreateThumbnail(path, *m_pDib, wScale, std::string());
        }
        QLNI_CloseFile();
    } catch (...) {
        ReportException(std::current_exception());
    }
    // Open albums holding the photo show it anew.
    if (CWinApp* pApp = AfxGetApp())
        for (const auto& pTemplate : pApp->GetTemplates())
            for (CDocument* pDoc : pTemplate->GetDocuments())
                if (auto* pBase = dynamic_cast<CBaseDoc*>(pDoc); pBase && pBase != this)
                    pBase->OnPhotoFileChanged(path);
}

void CImageEnhancerDoc::DeleteContents() {
    CImageEnhancerView::KeepClipboardPicture(this);
    m_pDib.reset();
}

void CImageEnhancerDoc::SetDibPointer(CDib* pDib) {
    (void)m_pDib.release();
    m_pDib.reset(pDib);
}

void CImageEnhancerDoc::SetDib(std::unique_ptr<CDib> pDib) {
    if (pDib.get() != m_pDib.get()) m_pDib = std::move(pDib);
    UpdateSaveFormat();
    MarkModified();
}

void CImageEnhancerDoc::MarkModified() {
    ++m_nModifyCount;
    SetModifiedFlag(true);
}

void CImageEnhancerDoc::UndoModified() {
    if (m_nModifyCount > 0) --m_nModifyCount;
    SetModifiedFlag(m_nModifyCount > 0);
}

void CImageEnhancerDoc::UpdateSaveFormat() {
    if (!m_pDib) return;
    // A photo file (or a picture never read from a file) saves as a photo file.
    m_nSaveFormat = (m_nFileFormat == 0 || m_nFileFormat == kFormatPhoto)
                        ? kSaveTypePhoto
                        : SaveTypeForOwnFormat(m_nFileFormat, m_pDib->GetBitCount());
    if (!IsValidSaveType(m_nSaveFormat)) m_nSaveFormat = kSaveTypePhoto;
}

bool CImageEnhancerDoc::OnFileSave() {
    if (!m_pDib) return false;
    CFile probe;
    if (!m_strPathName.empty() && probe.Open(m_strPathName, CFile::modeReadWrite)) {
        probe.Close();
        return DoSave(m_strPathName, true);
    }
    return OnFileSaveAs();
}

bool CImageEnhancerDoc::OnFileSaveAs() {
    if (!m_pDib) return false;
    std::string base = !m_strPathName.empty()
                           ? m_strPathName
                           : (m_strTitle.empty() ? LoadResString(IDS_UNTITLED) : m_strTitle);
    int nSaveType = m_nSaveFormat;
    const std::string proposal = ReplaceExtension(base, nSaveType);
    m_bAskingName = true;
    const std::string target =
        s_askExportName ? s_askExportName(proposal, m_pDib->GetBitCount(), nSaveType) : std::string();
    m_bAskingName = false;
    if (target.empty() || !IsAcceptableFileName(target)) return false;
    const int nOld = m_nSaveFormat;
    m_nSaveFormat = nSaveType;
    if (!DoSave(target, true)) {
        m_nSaveFormat = nOld;
        return false;
    }
    return true;
}
