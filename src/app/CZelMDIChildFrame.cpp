#include "app/CZelMDIChildFrame.h"

#include <QCloseEvent>

IMPLEMENT_DYNAMIC(CZelMDIChildFrame, CMDIChildWnd)

CZelMDIChildFrame::CZelMDIChildFrame() = default;

CZelMDIChildFrame::~CZelMDIChildFrame() {
    if (m_pFullScreenWidget && m_pFullScreenWidget->parent() == nullptr) delete m_pFullScreenWidget;
}

void CZelMDIChildFrame::SetFullScreen(bool bOn) {
    if (bOn == m_bFullScreen) return;
    if (bOn) {
        if (!widget()) return;
        m_rcSavedChild = geometry();
        m_bChildWasMaximized = isMaximized();
        // The frame keeps its place; its contents move to a window of their own.
        QWidget* pHolder = widget();
        setWidget(nullptr); // gives the widget up without deleting it
        pHolder->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        pHolder->showFullScreen();
        pHolder->activateWindow();
        pHolder->setFocus();
        m_pFullScreenWidget = pHolder;
        m_bFullScreen = true;
    } else {
        m_bFullScreen = false;
        QWidget* pHolder = m_pFullScreenWidget;
        m_pFullScreenWidget = nullptr;
        if (!pHolder) return;
        pHolder->hide();
        pHolder->setWindowFlags(Qt::Widget);
        setWidget(pHolder);
        pHolder->show();
        OnUpdateFrameTitle();
        if (m_bChildWasMaximized)
            showMaximized();
        else
            setGeometry(m_rcSavedChild);
        if (QWidget* top = window()) top->activateWindow();
    }
}

void CZelMDIChildFrame::closeEvent(QCloseEvent* pEvent) {
    SetFullScreen(false); // closing leaves full screen first
    CMDIChildWnd::closeEvent(pEvent);
}
