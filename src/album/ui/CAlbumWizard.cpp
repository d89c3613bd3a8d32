#include "album/ui/CAlbumWizard.h"

#include "album/ui/CAddImagesAlbWizDlg.h"
#include "album/ui/CAlbWizChooserDlg.h"
#include "album/ui/CAlbWizTitleDlg.h"
#include "album/ui/CAlbWizTnSizeDlg.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CAutoCreateAlbWiz3Dlg.h"
#include "album/ui/CAutoInstallAlbWiz3Dlg.h"
#include "album/ui/CParcelgramDlg.h"
#include "album/ui/CWizardPropertyPageBmp.h"
#include "album/ui/CWizardPropertySheet.h"
#include "framework/CException.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"

CAlbumWizard::CAlbumWizard(CAlbumWizardHost& host, QWidget* parent) : m_host(host), m_pParent(parent) {}

int CAlbumWizard::Run() {
    const bool bAlbumOpen = m_host.openAlbums && !m_host.openAlbums().empty();
    const bool bShow = m_host.getShowWizard ? m_host.getShowWizard() : true;
    EWizTask task;
    {
        CAlbWizChooserDlg chooser(bShow, bAlbumOpen, m_pParent);
        if (chooser.exec() != QDialog::Accepted) return 0;
        if (m_host.setShowWizard) m_host.setShowWizard(chooser.GetShowWizard());
        task = chooser.GetTask();
    }
    return RunTask(task);
}

int CAlbumWizard::RunTask(EWizTask task) {
    if (task == EWizTask::Open) {
        if (m_host.openAlbum) m_host.openAlbum();
        return 1;
    }
    if (task == EWizTask::AddImages && (!m_host.openAlbums || m_host.openAlbums().empty())) return 0;

    // The pages belong to the sheet and go with it, whatever the result.
    CWizardPropertySheet sheet(m_pParent);
    CAlbWizTitleDlg* pTitle = nullptr;
    CAlbWizTnSizeDlg* pSize = nullptr;
    CAutoCreateAlbWiz3Dlg* pFiles = nullptr;
    CAutoInstallAlbWiz3Dlg* pFloppy = nullptr;
    CParcelgramDlg* pPackage = nullptr;
    CAddImagesAlbWizDlg* pChoice = nullptr;
    for (const SWizPageSpec& spec : GetWizardPages(task)) {
        CBaseWizardPropertyPage* pPage = nullptr;
        switch (spec.m_nPage) {
        case EWizPage::Intro:
        case EWizPage::Finish:
            pPage = new CWizardPropertyPageBmp(spec.m_nDialog, spec.m_nTitle, spec.m_nBitmap, spec.m_texts,
                                               &sheet);
            break;
        case EWizPage::Title:
            pPage = pTitle = new CAlbWizTitleDlg(spec.m_nTitle, &sheet);
            break;
        case EWizPage::Size:
            pPage = pSize = new CAlbWizTnSizeDlg(spec.m_nTitle, m_host.m_nThumbnailSize, &sheet);
            break;
        case EWizPage::Files:
            pPage = pFiles = new CAutoCreateAlbWiz3Dlg(spec.m_nTitle, GetFilesInstructionId(task), &sheet);
            break;
        case EWizPage::Floppy: {
            CInstallWizardData data;
            data.m_bNewAlbum = true;
            data.m_strImageDir = m_host.m_strImagesDir;
            data.m_strProgramDir = m_host.m_strProgramDir;
            pPage = pFloppy = new CAutoInstallAlbWiz3Dlg(spec.m_nTitle, data, &sheet);
            break;
        }
        case EWizPage::Package:
            pPage = pPackage = new CParcelgramDlg(spec.m_nTitle, m_host.m_strDownloadDir,
                                                  m_host.m_strImagesDir, m_host.m_bDeleteWhenThrough, &sheet);
            break;
        case EWizPage::AlbumChoice:
            pPage = pChoice = new CAddImagesAlbWizDlg(spec.m_nTitle, m_host, &sheet);
            break;
        }
        sheet.AddPage(pPage);
    }
    if (sheet.exec() != QDialog::Accepted) return 0;

    const int nScale = pSize ? pSize->GetScale() : m_host.m_nThumbnailSize;
    const std::string title = pTitle ? pTitle->GetAlbumTitle() : std::string();
    const std::string description = pTitle ? pTitle->GetAlbumDescription() : std::string();
    switch (task) {
    case EWizTask::Empty:
        MakeAlbum(nScale, title, description);
        break;
    case EWizTask::HardDisk:
        MakeAlbumWithFiles(pFiles->GetFiles(), nScale, title, description);
        break;
    case EWizTask::Floppy:
        MakeAlbumWithFiles(pFloppy->GetInstalledFiles(), nScale, title, description);
        break;
    case EWizTask::Package: {
        const std::string package = pPackage->GetPackagePath();
        if (package.empty()) break;
        std::vector<std::string> paths;
        if (ExtractPackageForAlbum(package, pPackage->GetTargetDir(), pPackage->GetDeleteWhenThrough(),
                                   paths))
            MakeAlbumWithFiles(paths, nScale, title, description);
        break;
    }
    case EWizTask::AddImages: {
        const std::vector<std::string> files = pFiles->GetFiles();
        if (!files.empty()) AddToAlbum(pChoice->GetAlbum(), files);
        break;
    }
    case EWizTask::Open:
        break;
    }
    return 1;
}

CAlbumDoc* CAlbumWizard::MakeAlbum(int nScale, const std::string& strTitle,
                                   const std::string& strDescription) {
    CAlbumDoc* pDoc = m_host.newAlbum ? m_host.newAlbum(nScale) : nullptr;
    if (!pDoc) return nullptr;
    CAlbum& album = pDoc->GetAlbum();
    // A title or description the user typed is worth a question before it is lost.
    if (album.m_strTitle != strTitle || album.m_strDescription != strDescription) pDoc->SetModifiedFlag();
    album.m_strTitle = strTitle;
    album.m_strDescription = strDescription;
    return pDoc;
}

void CAlbumWizard::MakeAlbumWithFiles(std::vector<std::string> files, int nScale, const std::string& strTitle,
                                      const std::string& strDescription) {
    if (files.empty()) return;
    AddToAlbum(MakeAlbum(nScale, strTitle, strDescription), files);
}

void CAlbumWizard::AddToAlbum(CAlbumDoc* pDoc, const std::vector<std::string>& files) {
    if (!pDoc) return;
    try {
        pDoc->AddImages(files);
    } catch (...) {
        ReportException(std::current_exception());
    }
}
