#include "album/ui/CFullScreenView.h"

#include "framework/qt/CMDIChildWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

IMPLEMENT_DYNAMIC(CFullScreenView, CBaseSlideShowView)

void CFullScreenView::OnInitialUpdate() {
    CBaseSlideShowView::OnInitialUpdate();
    // Its own settings keep the default: full screen, and the photo only.
    QTimer::singleShot(0, this, [this] {
        SetFullScreen(m_state.m_showProps.m_bFullScreen != 0);
        setFocus();
    });
    LoadCurrentImage();
    m_back = QImage();
    update();
}

bool CFullScreenView::event(QEvent* pEvent) {
    // Every key closes the view, before any shortcut sees it.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        pEvent->accept();
        return true;
    }
    return CBaseSlideShowView::event(pEvent);
}

void CFullScreenView::keyPressEvent(QKeyEvent*) {
    CloseFrame();
}

void CFullScreenView::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) CloseFrame();
}

void CFullScreenView::CloseFrame() {
    SetFullScreen(false);
    if (CMDIChildWnd* pFrame = GetParentFrame())
        QMetaObject::invokeMethod(pFrame, "close", Qt::QueuedConnection);
}
