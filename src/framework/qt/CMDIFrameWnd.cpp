#include "framework/qt/CMDIFrameWnd.h"

#include "framework/CommandIds.h"
#include "framework/ReportException.h"
#include "framework/qt/CDocument.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CView.h"
#include "framework/qt/CWinApp.h"

#include <QAction>
#include <QCloseEvent>
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
        ID_WINDOW_TILE_HORZ, [this] { m_pMdiArea->tileSubWindows(); },
        [this](CCmdUI& ui) { ui.Enable(!m_pMdiArea->subWindowList().isEmpty()); });
    OnCommand(
        ID_WINDOW_TILE_VERT, [this] { m_pMdiArea->tileSubWindows(); },
        [this](CCmdUI& ui) { ui.Enable(!m_pMdiArea->subWindowList().isEmpty()); });
    OnCommand(ID_WINDOW_ARRANGE, [this] {
        for (QMdiSubWindow* w : m_pMdiArea->subWindowList())
            if (w->isMinimized()) w->showMinimized();
    });
    OnCommand(ID_APP_EXIT, [this] { close(); });
}

CMDIFrameWnd::~CMDIFrameWnd() = default;

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
