#include "view/CBaseView.h"

#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CWinApp.h"
#include "imaging/CAppPalette.h"
#include "print/CPrintJob.h"
#include "print/ui/CPrintDlg.h"
#include "print/ui/PrintRun.h"
#include "view/CBaseDoc.h"
#include "view/ToolBarSets.h"

#include <QMdiArea>
#include <QPrintPreviewDialog>
#include <QPrinter>

IMPLEMENT_DYNAMIC(CBaseView, CView)

namespace {

CDocTemplate* FindTemplateByView(const char* pszViewClass) {
    CWinApp* app = AfxGetApp();
    if (!app) return nullptr;
    for (const auto& t : app->GetTemplates())
        if (t->GetViewClass() && std::string(t->GetViewClass()->m_lpszClassName) == pszViewClass)
            return t.get();
    return nullptr;
}

IToolBarHost* ToolBarHost() {
    CWinApp* app = AfxGetApp();
    return app ? dynamic_cast<IToolBarHost*>(app->m_pMainWnd) : nullptr;
}

} // namespace

CBaseView::CBaseView() {
    if (GetDisplayCaps().nBitsPixel <= 8) m_pPalette = std::make_unique<CAppPalette>();
    RegisterViewCommands();
}

CBaseView::~CBaseView() = default;

CBaseDoc* CBaseView::GetBaseDocument() const {
    return dynamic_cast<CBaseDoc*>(GetDocument());
}

void CBaseView::SetCurrentIndex(int nIndex) {
    m_nCurrentIndex = nIndex;
    if (CBaseDoc* pDoc = GetBaseDocument()) pDoc->SetCurrentPhoto(nIndex);
}

int CBaseView::GetToolBarSet() const {
    return IsEnhancerView() ? kToolBarSetEnhancer : kToolBarSetAlbum;
}

void CBaseView::RegisterViewCommands() {
    // The album's views: not from a picture window, and only with photos.
    auto albumViews = [this](const char* pszClass) {
        return [this, pszClass](CCmdUI& ui) {
            CBaseDoc* pDoc = GetBaseDocument();
            ui.Enable(!IsEnhancerView() && pDoc && pDoc->IsAlbum() && pDoc->GetPhotoCount() > 0 &&
                      FindTemplateByView(pszClass));
            ui.SetCheck(std::string(GetRuntimeClass()->m_lpszClassName) == pszClass);
        };
    };
    auto canPrint = [this](CCmdUI& ui) { ui.Enable(CanPrint()); };
    OnCommand(
        ID_FILE_PRINT, [this] { OnFilePrint(); }, canPrint);
    OnCommand(
        ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); }, canPrint);
    OnCommand(
        ID_VIEW_ALBUM, [this] { SwitchToView("CTnView"); }, albumViews("CTnView"));
    OnCommand(
        ID_SHOW_FIRST,
        [this] {
            if (CBaseDoc* pDoc = GetBaseDocument()) pDoc->SetCurrentPhoto(0);
            SwitchToView("CSlideShowView");
        },
        albumViews("CSlideShowView"));
    OnCommand(
        ID_SHOW_CURRENT,
        [this] {
            if (CBaseDoc* pDoc = GetBaseDocument()) pDoc->SetCurrentPhoto(GetCurrentIndex());
            SwitchToView("CSlideShowView");
        },
        [this, f = albumViews("CSlideShowView")](CCmdUI& ui) {
            f(ui);
            ui.SetCheck(false);
        });
    OnCommand(
        ID_VIEW_FULLSCREEN,
        [this] {
            if (CBaseDoc* pDoc = GetBaseDocument()) pDoc->SetCurrentPhoto(GetCurrentIndex());
            SwitchToView("CFullScreenView");
        },
        albumViews("CFullScreenView"));
    OnCommand(
        ID_VIEW_ENHANCER,
        [this] {
            CBaseDoc* pDoc = GetBaseDocument();
            const int i = GetCurrentIndex();
            if (!pDoc || i < 0) return;
            const std::string path = pDoc->GetPictureToOpen(i);
            if (!path.empty() && AfxGetApp()) AfxGetApp()->OpenDocumentFile(path);
        },
        [this](CCmdUI& ui) {
            CBaseDoc* pDoc = GetBaseDocument();
            ui.Enable(!IsEnhancerView() && pDoc && pDoc->IsAlbum() && GetCurrentIndex() >= 0);
        });
}

void CBaseView::OnFilePrint() {
    if (!CanPrint()) return;
    std::unique_ptr<CPrintDlg> pDlg = CreatePrintDialog();
    if (!pDlg || pDlg->exec() != QDialog::Accepted) return;
    std::unique_ptr<CPrintJob> pJob = pDlg->TakeJob();
    if (pJob) PrintJobPages(*pJob, pDlg->GetPrinter(), pDlg->GetFromPage(), pDlg->GetToPage(), false);
}

void CBaseView::OnFilePrintPreview() {
    if (!CanPrint()) return;
    std::unique_ptr<CPrintDlg> pDlg = CreatePrintDialog();
    if (!pDlg) return;
    pDlg->SetPreviewSetup(PreviewSetupTitle());
    if (pDlg->exec() != QDialog::Accepted) return;
    // The dialog stays while the preview shows its job: the job works on
    // the dialog's settings.
    CPrintJob* pJob = pDlg->GetJob();
    if (!pJob) return;
    const unsigned nFrom = pDlg->GetFromPage(), nTo = pDlg->GetToPage();
    QPrintPreviewDialog preview(&pDlg->GetPrinter(), this);
    preview.setWindowTitle(pDlg->windowTitle());
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview,
        [pJob, nFrom, nTo](QPrinter* pPrinter) { PrintJobPages(*pJob, *pPrinter, nFrom, nTo, true); });
    preview.exec();
}

bool CBaseView::SwitchToView(const char* pszViewClass) {
    CMDIChildWnd* pMine = GetParentFrame();
    if (std::string(GetRuntimeClass()->m_lpszClassName) == pszViewClass) {
        if (pMine && pMine->isMinimized()) pMine->showNormal();
        return true;
    }
    CDocTemplate* pTemplate = FindTemplateByView(pszViewClass);
    CDocument* pDoc = GetDocument();
    if (!pTemplate || !pDoc) return false;
    CMDIChildWnd* pFrame = pTemplate->CreateNewFrame(pDoc);
    pTemplate->InitialUpdateFrame(pFrame, pDoc, true);
    return true;
}

void CBaseView::OnActivateView(bool bActivate, CView* pActivateView, CView* pDeactiveView) {
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (!bActivate) return;
    if (IToolBarHost* host = ToolBarHost()) {
        host->SetToolBarSet(GetToolBarSet());
        // The shows run without the tool bar; any other view gets it back.
        host->EnableToolBar(!IsShowView());
    }
    OnPaletteChanged(this);
}

void CBaseView::OnPaletteChanged(CView* pFocusView) {
    // On a palette display the view's colours are set up again and it repaints;
    // a true-colour display has nothing to realise.
    if (!m_pPalette) return;
    if (pFocusView != this) m_pPalette->SetDisplayColors();
    update();
}
