#include "framework/qt/CDocTemplate.h"

#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/qt/CDocument.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CView.h"
#include "framework/qt/CWinApp.h"

#include <QMdiArea>
#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(unsigned nIDResource, DocFactory doc, FrameFactory frame, ViewFactory view,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_docFactory(std::move(doc)), m_frameFactory(std::move(frame)),
      m_viewFactory(std::move(view)), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() {
    for (CDocument* d : m_docs) d->m_pDocTemplate = nullptr;
}

std::string CDocTemplate::GetDocString(DocStringIndex i) const {
    const std::string s = LoadResString(m_nIDResource);
    size_t start = 0;
    for (int n = 0; n < i; ++n) {
        start = s.find('\n', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    size_t end = s.find('\n', start);
    return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    m_docs.push_back(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    std::erase(m_docs, pDoc);
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::FindOpenDocument(const std::string& path) const {
    for (CDocument* d : m_docs)
        if (!path.empty() && d->GetPathName() == path) return d;
    return nullptr;
}

CMDIChildWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc) {
    CMDIChildWnd* pFrame = m_frameFactory();
    CView* pView = m_viewFactory();
    pDoc->AddView(pView);
    pFrame->SetView(pView, pView->CreateHolder());
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) app->m_pMainWnd->AddChild(pFrame);
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CMDIChildWnd* pFrame, CDocument*, bool bMakeVisible) {
    if (CView* v = pFrame->GetActiveView()) {
        v->OnInitialUpdate();
        // The frame fits what the view wants to show, within the MDI area.
        if (QMdiArea* area = pFrame->mdiArea()) {
            QSize want = v->sizeHint() + QSize(40, 60);
            // Before the main window is first shown the area has no size yet: use the window's.
            QSize room = area->isVisible() ? area->viewport()->size() * 9 / 10
                                           : area->window()->size() - QSize(40, 140);
            pFrame->resize(std::max(240, std::min(want.width(), room.width())),
                           std::max(180, std::min(want.height(), room.height())));
        }
    }
    pFrame->OnUpdateFrameTitle();
    if (bMakeVisible) {
        pFrame->show();
        if (pFrame->mdiArea()) pFrame->mdiArea()->setActiveSubWindow(pFrame);
    }
}

CDocument* CDocTemplate::OpenDocumentFile(const std::string& path, bool bMakeVisible) {
    std::unique_ptr<CDocument> pDoc(m_docFactory());
    AddDocument(pDoc.get());
    try {
        if (path.empty()) {
            if (!pDoc->OnNewDocument()) return nullptr;
            pDoc->SetTitle(GetDocString(docName) + std::to_string(++m_nUntitledCount));
        } else {
            if (!pDoc->OnOpenDocument(path)) return nullptr;
            pDoc->SetPathName(path);
        }
    } catch (...) {
        ReportException(std::current_exception());
        return nullptr;
    }
    CDocument* p = pDoc.release();
    InitialUpdateFrame(CreateNewFrame(p), p, bMakeVisible);
    return p;
}

bool CDocTemplate::SaveAllModified() {
    for (CDocument* d : std::vector<CDocument*>(m_docs))
        if (!d->SaveModified()) return false;
    return true;
}

void CDocTemplate::CloseAllDocuments() {
    for (CDocument* d : std::vector<CDocument*>(m_docs)) d->OnCloseDocument();
}
