#include "view/CImageEnhancerView.h"

#include "framework/CDC.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CQtDC.h"
#include "framework/qt/CWinApp.h"
#include "print/ui/CImagePrintDlg.h"
#include "print/ui/PrintRun.h"
#include "imaging/CDib.h"
#include "view/CImageEnhancerDoc.h"

#include <QImage>
#include <QPainter>
#include <QScrollArea>

IMPLEMENT_DYNAMIC(CImageEnhancerView, CBaseView)

CImageEnhancerView::CImageEnhancerView() {
    setAutoFillBackground(false);
}

CImageEnhancerDoc* CImageEnhancerView::GetDocument() const {
    return dynamic_cast<CImageEnhancerDoc*>(CView::GetDocument());
}

QSize CImageEnhancerView::sizeHint() const {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return QSize(200, 150);
    return QSize(pDoc->GetDib()->GetWidth(), pDoc->GetDib()->GetHeight());
}

void CImageEnhancerView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CImageEnhancerView::OnUpdate(CView*, long, CObject*) {
    resize(sizeHint());
    setMinimumSize(sizeHint());
    update();
    // A minimised picture window shows its picture as its icon.
    CImageEnhancerDoc* pDoc = GetDocument();
    CMDIChildWnd* pFrame = GetParentFrame();
    if (!pDoc || !pDoc->GetDib() || !pFrame) return;
    CDib* pDib = pDoc->GetDib();
    const int n = 64;
    QSize fit = QSize(pDib->GetWidth(), pDib->GetHeight()).scaled(n, n, Qt::KeepAspectRatio);
    QImage icon(std::max(1, fit.width()), std::max(1, fit.height()), QImage::Format_RGB32);
    QPainter painter(&icon);
    CQtDC dc(&painter);
    dc.SetStretchBltMode(HALFTONE);
    pDib->StretchDraw(dc, CRect(0, 0, icon.width(), icon.height()),
                      CRect(0, 0, pDib->GetWidth(), pDib->GetHeight()));
    painter.end();
    pFrame->SetPictureIcon(icon);
}

void CImageEnhancerView::OnDraw(CDC* pDC) {
    const CRect rcClip = GetClipBox();
    pDC->FillRect(rcClip, RGB(128, 128, 128));
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    CDib* pDib = pDoc->GetDib();
    // Only the part of the picture that needs painting.
    CRect rcPic(0, 0, pDib->GetWidth(), pDib->GetHeight()), rcDraw;
    if (!rcDraw.IntersectRect(rcPic, rcClip)) return;
    pDib->Draw(*pDC, rcDraw.left, rcDraw.top, rcDraw);
}

QWidget* CImageEnhancerView::CreateHolder() {
    auto* pScroll = new QScrollArea;
    pScroll->setWidget(this);
    pScroll->setAlignment(Qt::AlignCenter);
    pScroll->setBackgroundRole(QPalette::Dark);
    return pScroll;
}

bool CImageEnhancerView::CanPrint() const {
    CImageEnhancerDoc* pDoc = GetDocument();
    return pDoc && pDoc->GetDib();
}

std::unique_ptr<CPrintDlg> CImageEnhancerView::CreatePrintDialog() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return nullptr;
    return std::make_unique<CImagePrintDlg>(GetImagePrintSettings(), AfxGetApp() ? AfxGetApp()->m_pStore : nullptr,
                                            GetRunPrinter(), pDoc->GetDib(), this);
}
