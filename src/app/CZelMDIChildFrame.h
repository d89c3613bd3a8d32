#pragma once
// The program's child frame: it can put its view on the whole screen, and a
// minimised picture window shows its picture as its icon.

#include "framework/qt/CMDIChildWnd.h"

#include <QPointer>

class CZelMDIChildFrame : public CMDIChildWnd {
    DECLARE_DYNAMIC(CZelMDIChildFrame)
public:
    CZelMDIChildFrame();
    ~CZelMDIChildFrame() override;

    // On: the view alone covers the whole screen, no caption, borders or bars.
    // Off: the view goes back into the frame, and both windows are where they were.
    void SetFullScreen(bool bOn);
    bool IsFullScreen() const { return m_bFullScreen; }

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    bool m_bFullScreen = false;
    QPointer<QWidget> m_pFullScreenWidget;
    QRect m_rcSavedChild;
    bool m_bChildWasMaximized = false;
};
