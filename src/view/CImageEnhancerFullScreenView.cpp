#include "view/CImageEnhancerFullScreenView.h"

#include "framework/CDC.h"
#include "framework/qt/CMDIChildWnd.h"
#include "imaging/CDib.h"
#include "view/CImageEnhancerDoc.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

IMPLEMENT_DYNAMIC(CImageEnhancerFullScreenView, CImageEnhancerView)

std::function<void(CMDIChildWnd*)> CImageEnhancerFullScreenView::s_enterFullScreen;

CImageEnhancerFullScreenView::CImageEnhancerFullScreenView() {
    setFocusPolicy(Qt::StrongFocus);
}

void CImageEnhancerFullScreenView::OnInitialUpdate() {
    m_pFrame = GetParentFrame();
    update();
    if (m_pFrame && s_enterFullScreen) s_enterFullScreen(m_pFrame);
}

void CImageEnhancerFullScreenView::OnUpdate(CView*, long, CObject*) {
    update();
}

CRect CImageEnhancerFullScreenView::FitRect(int nWidth, int nHeight, int nClientWidth, int nClientHeight) {
    if (nWidth <= 0 || nHeight <= 0 || nClientWidth <= 0 || nClientHeight <= 0) return CRect();
    int w = nClientWidth;
    int h = static_cast<int>(static_cast<long long>(nHeight) * w / nWidth);
    if (h > nClientHeight) {
        h = nClientHeight;
        w = static_cast<int>(static_cast<long long>(nWidth) * h / nHeight);
    }
    const int x = (nClientWidth - w) / 2, y = (nClientHeight - h) / 2;
    return CRect(x, y, x + std::max(1, w), y + std::max(1, h));
}

void CImageEnhancerFullScreenView::OnDraw(CDC* pDC) {
    pDC->FillRect(CRect(0, 0, width(), height()), RGB(0, 0, 0));
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    CDib* pDib = pDoc->GetDib();
    pDC->SetStretchBltMode(HALFTONE);
    pDib->StretchDraw(*pDC, FitRect(pDib->GetWidth(), pDib->GetHeight(), width(), height()),
                      CRect(0, 0, pDib->GetWidth(), pDib->GetHeight()));
}

void CImageEnhancerFullScreenView::Close() {
    // Posted: the frame deletes this view as it closes.
    QPointer<CMDIChildWnd> pFrame = m_pFrame;
    QTimer::singleShot(0, [pFrame] {
        if (pFrame) pFrame->close();
    });
}

void CImageEnhancerFullScreenView::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) Close();
}

void CImageEnhancerFullScreenView::keyPressEvent(QKeyEvent*) {
    Close();
}
