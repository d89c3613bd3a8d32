#include "framework/qt/CMDIFrameWnd.h"

#include "framework/CommandIds.h"
#include "framework/MdiLayout.h"
#include "framework/ReportException.h"
#include "framework/qt/CDocument.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CView.h"
#include "framework/qt/CWinApp.h"

#include <QAction>
#include <QCloseEvent>
#include <QInputDialog>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTimer>

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CCmdTarget)

CMDIFrameWnd::CMDIFrameWnd() : m_pMdiArea(new QMdiArea(this)), m_pUpdateTimer(new QTimer(this)) {
    setCentralWidget(m_pMdiArea);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QObject::connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        auto* pNew = dynamic_cast<CMDIChildWnd*>(w);
        CMDIChildWnd* pOld = m_pLastActive;
        if (pNew == pOld) return;
        m_pLastActive = pNew;
        OnActiveChildChanged(pNew, pOld);
        UpdateCommandUI();
    });
    // Buttons follow their update rules while the program is idle.
    m_pUpdateTimer->setInterval(250);
    QObject::connect(m_pUpdateTimer, &QTimer::timeout, this, [this] { UpdateCommandUI(); });
    m_pUpdateTimer->start();

    OnCommand(
        ID_WINDOW_CASCADE, [this] { m_pMdiArea->cascadeSubWindows(); },
        [this](CCmdUI& ui) { ui.Enable(!m_pMdiArea->subWindowList().isEmpty()); });
    OnCommand(
        ID_WINDOW_TILE_HORZ, [this] { TileChildren(true); },
        [this](CCmdUI& ui) { ui.Enable(!m_pMdiArea->subWindowList().isEmpty()); });
    OnCommand(
        ID_WINDOW_TILE_VERT, [this] { TileChildren(false); },
        [this](CCmdUI& ui) { ui.Enable(!m_pMdiArea->subWindowList().isEmpty()); });
    OnCommand(ID_WINDOW_ARRANGE, [this] { ArrangeIconic(); });
    OnCommand(ID_APP_EXIT, [this] { close(); });
}

CMDIFrameWnd::~CMDIFrameWnd() {
    // The MDI area outlives this part of the object while the widget is torn
    // down: closing its windows then must not call back into the frame.
    QObject::disconnect(m_pMdiArea, nullptr, this, nullptr);
    m_pUpdateTimer->stop();
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
    return dynamic_cast<CMDIChildWnd*>(m_pMdiArea->activeSubWindow() ? m_pMdiArea->activeSubWindow()
                                                                     : m_pMdiArea->currentSubWindow());
}

CView* CMDIFrameWnd::GetActiveView() const {
    CMDIChildWnd* f = MDIGetActive();
    return f ? f->GetActiveView() : nullptr;
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetChildFrames() const {
    std::vector<CMDIChildWnd*> frames;
    for (QMdiSubWindow* w : m_pMdiArea->subWindowList())
        if (auto* f = dynamic_cast<CMDIChildWnd*>(w)) frames.push_back(f);
    return frames;
}

void CMDIFrameWnd::AddChild(CMDIChildWnd* pFrame) {
    m_pMdiArea->addSubWindow(pFrame);
    pFrame->resize(std::max(320, m_pMdiArea->width() * 2 / 3), std::max(240, m_pMdiArea->height() * 2 / 3));
}

QAction* CMDIFrameWnd::AddCommand(QMenu* pMenu, unsigned nID, const std::string& text) {
    QString label = QString::fromStdString(text);
    QString accel;
    if (qsizetype tab = label.indexOf('\t'); tab >= 0) {
        accel = label.mid(tab + 1);
        label = label.left(tab);
    }
    auto* pAction = new QAction(label, this);
    if (!accel.isEmpty()) pAction->setShortcut(QKeySequence(accel));
    pAction->setData(nID);
    QObject::connect(pAction, &QAction::triggered, this, [this, nID] { RouteCommand(nID); });
    if (pMenu) pMenu->addAction(pAction);
    m_actions[nID].push_back(pAction);
    return pAction;
}

QAction* CMDIFrameWnd::CommandAction(unsigned nID) const {
    auto it = m_actions.find(nID);
    return it == m_actions.end() || it->second.empty() ? nullptr : it->second.front();
}

bool CMDIFrameWnd::RouteCommand(unsigned nID) {
    // A command may close the frame it came from: hold the route's targets weakly.
    CView* pView = GetActiveView();
    CDocument* pDoc = pView ? pView->GetDocument() : nullptr;
    CMDIChildWnd* pFrame = MDIGetActive();
    try {
        bool bDone = CCmdTarget::Route({pView, pDoc, pFrame, this, AfxGetApp()}, nID, nullptr);
        if (bDone) UpdateCommandUI();
        return bDone;
    } catch (...) {
        // An exception that escapes a menu command is reported here.
        ProcessWndProcException(std::current_exception(), WM_COMMAND, false);
        return true;
    }
}

void CMDIFrameWnd::UpdateCommandUI(unsigned nID) {
    auto it = m_actions.find(nID);
    if (it == m_actions.end()) return;
    CView* pView = GetActiveView();
    CDocument* pDoc = pView ? pView->GetDocument() : nullptr;
    CCmdUI ui(nID);
    if (!CCmdTarget::Route({pView, pDoc, MDIGetActive(), this, AfxGetApp()}, nID, &ui)) ui.Enable(false);
    for (QAction* a : it->second) {
        a->setEnabled(ui.m_bEnabled);
        a->setCheckable(ui.m_nCheck != 0 || a->isCheckable());
        a->setChecked(ui.m_nCheck != 0);
        if (ui.m_bTextSet) a->setText(QString::fromStdString(ui.m_strText));
    }
}

void CMDIFrameWnd::UpdateCommandUI() {
    for (auto& [id, actions] : m_actions) UpdateCommandUI(id);
}

void CMDIFrameWnd::SetRecentFileMenu(QMenu* pMenu, QAction* pBefore) {
    m_pRecentMenu = pMenu;
    m_pRecentBefore = pBefore;
    for (unsigned i = 0; i < 8; ++i) {
        OnCommand(ID_FILE_MRU_FILE1 + i, [i] {
            if (CWinApp* app = AfxGetApp()) app->OpenRecentFile(i);
        });
    }
    RebuildRecentFileMenu();
}

void CMDIFrameWnd::RebuildRecentFileMenu() {
    if (!m_pRecentMenu || !AfxGetApp()) return;
    for (QAction* a : m_recentActions) {
        for (auto& [id, list] : m_actions) std::erase(list, a);
        delete a;
    }
    m_recentActions.clear();
    const CRecentFileList& mru = AfxGetApp()->m_recentFiles;
    for (size_t i = 0; i < mru.Files().size(); ++i) {
        QAction* a = AddCommand(nullptr, ID_FILE_MRU_FILE1 + static_cast<unsigned>(i), mru.MenuText(i));
        m_pRecentMenu->insertAction(m_pRecentBefore, a);
        m_recentActions.push_back(a);
    }
    if (!m_recentActions.empty()) {
        QAction* sep = new QAction(this);
        sep->setSeparator(true);
        m_pRecentMenu->insertAction(m_pRecentBefore, sep);
        m_recentActions.push_back(sep);
    }
}

void CMDIFrameWnd::OnActiveChildChanged(CMDIChildWnd* pNew, CMDIChildWnd* pOld) {
    CView* pNewView = pNew ? pNew->GetActiveView() : nullptr;
    CView* pOldView = pOld ? pOld->GetActiveView() : nullptr;
    if (pOldView) pOldView->OnActivateView(false, pNewView, pOldView);
    if (pNewView) pNewView->OnActivateView(true, pNewView, pOldView);
}

void CMDIFrameWnd::closeEvent(QCloseEvent* pEvent) {
    CWinApp* app = AfxGetApp();
    if (app && !app->SaveAllModified()) {
        pEvent->ignore();
        return;
    }
    if (app) app->CloseAllDocuments();
    QMainWindow::closeEvent(pEvent);
}

namespace {

CRect ToCRect(const QRect& r) {
    return CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

} // namespace

CRect CMDIFrameWnd::ArrangeIconic() {
    const QRect vp = m_pMdiArea->viewport()->rect();
    CRect area = ToCRect(vp);
    std::vector<QMdiSubWindow*> icons;
    CSize icon;
    for (QMdiSubWindow* w : m_pMdiArea->subWindowList()) {
        if (!w->isMinimized()) continue;
        icons.push_back(w);
        icon.cx = std::max(icon.cx, w->width());
        icon.cy = std::max(icon.cy, w->height());
    }
    std::vector<CPoint> at = ArrangeIcons(static_cast<int>(icons.size()), area, icon);
    for (size_t i = 0; i < at.size(); ++i) icons[i]->move(at[i].x, at[i].y);
    area.bottom -= IconRowsHeight(static_cast<int>(icons.size()), area, icon);
    return area;
}

void CMDIFrameWnd::TileChildren(bool bHorizontal) {
    // Minimised windows keep their row at the bottom; the others share the rest.
    const CRect area = ArrangeIconic();
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : m_pMdiArea->subWindowList())
        if (!w->isMinimized() && !w->isHidden()) windows.push_back(w);
    std::vector<CRect> rects = TileWindows(static_cast<int>(windows.size()), area, bHorizontal);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(rects[i].left, rects[i].top, rects[i].Width(), rects[i].Height());
    }
}

void CMDIFrameWnd::SetWindowMenu(QMenu* pMenu) {
    m_pWindowMenu = pMenu;
    QObject::connect(pMenu, &QMenu::aboutToShow, this, [this] { RebuildWindowList(); });
}

void CMDIFrameWnd::RebuildWindowList() {
    if (!m_pWindowMenu) return;
    for (QAction* a : m_windowListActions) {
        m_pWindowMenu->removeAction(a);
        delete a;
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    std::vector<std::string> titles;
    for (QMdiSubWindow* w : windows) titles.push_back(w->windowTitle().toStdString());
    const std::vector<std::string> items = WindowMenuItems(titles);
    QMdiSubWindow* pActive = MDIGetActive();

    auto* sep = new QAction(this);
    sep->setSeparator(true);
    m_pWindowMenu->addAction(sep);
    m_windowListActions.push_back(sep);
    for (size_t i = 0; i < items.size(); ++i) {
        auto* a = new QAction(QString::fromStdString(items[i]), this);
        m_pWindowMenu->addAction(a);
        m_windowListActions.push_back(a);
        if (i < static_cast<size_t>(kWindowMenuMax)) {
            QPointer<QMdiSubWindow> w = windows[static_cast<int>(i)];
            // Only the active window carries a check mark.
            a->setCheckable(w == pActive);
            a->setChecked(w == pActive);
            QObject::connect(a, &QAction::triggered, this, [this, w] {
                if (w) ActivateChild(w);
            });
        } else {
            QObject::connect(a, &QAction::triggered, this, [this] { SelectWindow(); });
        }
    }
}

void CMDIFrameWnd::ActivateChild(QMdiSubWindow* pWindow) {
    if (pWindow->isMinimized()) pWindow->showNormal();
    m_pMdiArea->setActiveSubWindow(pWindow);
}

void CMDIFrameWnd::SelectWindow() {
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::CreationOrder);
    QStringList titles;
    int nCurrent = 0;
    for (QMdiSubWindow* w : windows) {
        if (w == MDIGetActive()) nCurrent = static_cast<int>(titles.size());
        titles << w->windowTitle();
    }
    bool bOk = false;
    const QString pick =
        QInputDialog::getItem(this, "Select Window", "&Select Window:", titles, nCurrent, false, &bOk);
    if (!bOk) return;
    const qsizetype n = titles.indexOf(pick);
    if (n >= 0 && n < windows.size()) ActivateChild(windows[n]);
}
