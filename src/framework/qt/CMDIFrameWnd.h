#pragma once
// The main frame of a multiple-document program: the MDI area, menus and
// tool bar buttons bound to command ids, and the command route
// (active view -> its document -> its frame -> this frame -> application).

#include "framework/CCmdTarget.h"
#include "framework/CRect.h"

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QTimer;
class CMDIChildWnd;
class CView;

class CMDIFrameWnd : public QMainWindow, public CCmdTarget {
    DECLARE_DYNAMIC(CMDIFrameWnd)
public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    QMdiArea* MDIArea() const { return m_pMdiArea; }
    CMDIChildWnd* MDIGetActive() const;
    CView* GetActiveView() const;
    std::vector<CMDIChildWnd*> GetChildFrames() const;
    void AddChild(CMDIChildWnd* pFrame);

    // A menu item or tool bar button for a command. The text may carry its
    // accelerator after a tab ("&Open...\tCtrl+O").
    QAction* AddCommand(QMenu* pMenu, unsigned nID, const std::string& text);
    QAction* CommandAction(unsigned nID) const;
    // Runs a command along the route; false when nobody owns it.
    bool RouteCommand(unsigned nID);
    // Applies the update rule of every command to its menu items and buttons.
    void UpdateCommandUI();
    void UpdateCommandUI(unsigned nID);

    // The Window menu: the list of open windows follows its commands.
    void SetWindowMenu(QMenu* pMenu);
    void RebuildWindowList();
    const std::vector<QAction*>& WindowListActions() const { return m_windowListActions; }
    void ActivateChild(QMdiSubWindow* pWindow);
    // Tile Horizontally / Vertically and Arrange Icons; the last returns the
    // area left above the icon rows.
    void TileChildren(bool bHorizontal);
    CRect ArrangeIconic();

    // The recent-file entries at the end of the menu (before pBefore).
    void SetRecentFileMenu(QMenu* pMenu, QAction* pBefore);
    void RebuildRecentFileMenu();

protected:
    virtual void OnActiveChildChanged(CMDIChildWnd* pNew, CMDIChildWnd* pOld);
    void closeEvent(QCloseEvent* pEvent) override;
    // "More Windows...": every window in a list to choose from.
    void SelectWindow();

    QMdiArea* m_pMdiArea;
    std::map<unsigned, std::vector<QAction*>> m_actions;
    QMenu* m_pRecentMenu = nullptr;
    QAction* m_pRecentBefore = nullptr;
    std::vector<QAction*> m_recentActions;
    QPointer<CMDIChildWnd> m_pLastActive;
    QMenu* m_pWindowMenu = nullptr;
    std::vector<QAction*> m_windowListActions;
    QTimer* m_pUpdateTimer;
};
