#include "framework/qt/CDocument.h"

#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CView.h"
#include "framework/qt/CWinApp.h"

#include <QFileDialog>
#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
    for (CView* v : m_views)
        if (CMDIChildWnd* f = v->GetParentFrame()) f->OnUpdateFrameTitle();
}

void CDocument::SetPathName(const std::string& path, bool bAddToMRU) {
    m_strPathName = path;
    size_t slash = path.find_last_of('/');
    SetTitle(slash == std::string::npos ? path : path.substr(slash + 1));
    if (bAddToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(path);
}

void CDocument::AddView(CView* pView) {
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    std::erase(m_views, pView);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, long lHint, CObject* pHint) {
    for (CView* v : std::vector<CView*>(m_views))
        if (v != pSender) v->OnUpdate(pSender, lHint, pHint);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string&) {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string&) {
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument() {
    if (m_bClosing) return;
    m_bClosing = true;
    // Closing the frames removes the views; the document goes with the last one.
    std::vector<CMDIChildWnd*> frames;
    for (CView* v : m_views)
        if (CMDIChildWnd* f = v->GetParentFrame();
            f && std::find(frames.begin(), frames.end(), f) == frames.end())
            frames.push_back(f);
    for (CMDIChildWnd* f : frames) f->DestroyFrame();
    DeleteContents();
    delete this;
}

bool CDocument::SaveModified() {
    if (!IsModified()) return true;
    std::string name = m_strPathName.empty() ? m_strTitle : m_strPathName;
    switch (GetUserPrompt().MessageBox(FormatResString1(IDS_SAVE_CHANGES, name),
                                       MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

bool CDocument::CanCloseFrame(CMDIChildWnd* pFrame) {
    for (CView* v : m_views)
        if (v->GetParentFrame() != pFrame) return true; // another frame still shows the document
    return SaveModified();
}

bool CDocument::DoFileSave() {
    return DoSave(m_strPathName, true);
}

bool CDocument::DoSave(const std::string& path, bool bReplace) {
    std::string target = path;
    if (target.empty()) {
        QString name = QFileDialog::getSaveFileName(nullptr, QString(), QString::fromStdString(m_strTitle));
        if (name.isEmpty()) return false;
        target = name.toStdString();
    }
    try {
        if (!OnSaveDocument(target)) return false;
    } catch (...) {
        ReportException(std::current_exception());
        return false;
    }
    if (bReplace) SetPathName(target);
    return true;
}
