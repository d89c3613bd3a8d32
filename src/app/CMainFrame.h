#pragma once
// The main frame: menus, tool bar, status bar with its indicators, the MDI
// area, files dropped on it, and the settings written when it goes.

#include "app/CKeyboardLocks.h"
#include "app/core/CZelSettings.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "view/IShowPanel.h"
#include "view/ToolBarSets.h"

#include <map>

#include <functional>

class QIcon;
class QLabel;
class QMenu;
class QToolBar;
class CShowPanel;

class CMainFrame : public CMDIFrameWnd, public IToolBarHost, public IShowPanelHost {
    DECLARE_DYNAMIC(CMainFrame)
public:
    explicit CMainFrame(bool bScreenSaver = false);
    ~CMainFrame() override;

    void ShowBars(bool bToolBar, bool bStatusBar);
    void SetMessageText(const std::string& text);
    void ApplyPlacement(const CWindowPlacement& wp);
    CMainWindowState GetWindowState() const;
    // The first splash closed: ask the application for the second.
    void OnFirstSplashClosed();
    // The slide-show panel, created on the first request.
    CShowPanel* GetShowPanel(bool bCreate = true);
    IShowPanel* GetSlideShowPanel(bool bCreate) override;
    QToolBar* ToolBar() const { return m_pToolBar; }
    QMenu* HelpMenu() const { return m_pHelpMenu; }
    // Adds the order-form items to the Help menu when "ORDER.HLP" can be read.
    void UpdateHelpMenu();
    // The message pane's text.
    QString MessageText() const;
    // The CAP, NUM and SCRL panes follow the lock keys from this source.
    void SetLockSource(std::function<CKeyboardLocks()> source) { m_lockSource = std::move(source); }
    void UpdateIndicators();
    QLabel* Indicator(int nIndex) const { return m_pIndicators[nIndex]; }
    // The program's icon: an album with a photograph laid on it.
    static QIcon AppIcon();
    // The views' tool-bar sets: rebuilt only when the set changes.
    void SetToolBarSet(int nSet) override;
    void EnableToolBar(bool bEnable) override;
    int GetToolBarSet() const { return m_nToolBarSet; }
    int GetToolBarRebuilds() const { return m_nToolBarRebuilds; }

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();

    bool m_bScreenSaver;
    QToolBar* m_pToolBar = nullptr;
    QMenu* m_pHelpMenu = nullptr;
    QLabel* m_pMessage = nullptr;
    QLabel* m_pIndicators[3] = {};
    std::function<CKeyboardLocks()> m_lockSource;
    CShowPanel* m_pShowPanel = nullptr;
    bool m_bPrefsWritten = false;
    int m_nToolBarSet = kToolBarSetNone;
    int m_nToolBarRebuilds = 0;
    std::map<int, std::vector<QAction*>> m_toolBarSets;
};
