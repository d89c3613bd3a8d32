#include "app/CMainFrame.h"

#include "app/CKeyboardLocks.h"
#include "app/CShowPanel.h"
#include "app/CZelApp.h"
#include "framework/CFile.h"
#include "framework/CommandIds.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "print/ui/PrintRun.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

namespace {

// The album wizard's tool bar picture: a small album with a star.
QIcon WizardIcon() {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 90, 160));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(3, 4, 15, 17, 2, 2);
    p.setBrush(QColor(250, 250, 240));
    p.drawRect(6, 7, 9, 7);
    p.setBrush(QColor(255, 200, 40));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? 2.5 : 6.0, a = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(18 + r * std::cos(a), 7 + r * std::sin(a));
    }
    p.drawPolygon(star);
    return QIcon(pm);
}

} // namespace

QIcon CMainFrame::AppIcon() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 160));
    p.drawRoundedRect(6, 10, 40, 46, 3, 3);
    p.setBrush(QColor(250, 248, 240));
    p.drawRect(12, 16, 28, 22);
    p.setBrush(QColor(60, 122, 80));
    p.drawPolygon(QPolygon(
        {QPoint(12, 38), QPoint(22, 26), QPoint(30, 33), QPoint(34, 29), QPoint(40, 35), QPoint(40, 38)}));
    p.translate(42, 26);
    p.rotate(12);
    p.setBrush(QColor(253, 252, 247));
    p.setPen(QPen(QColor(128, 144, 168), 1.5));
    p.drawRect(-16, -20, 32, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 120, 80));
    p.drawRect(-12, -16, 24, 24);
    return QIcon(pm);
}

CMainFrame::CMainFrame(bool bScreenSaver) : m_bScreenSaver(bScreenSaver) {
    setObjectName("_OrlenWndMDIFrame");
    setWindowTitle(QString::fromStdString(LoadResString(IDS_APP_TITLE)));
    BuildMenus();
    if (!m_bScreenSaver) {
        BuildToolBar();
        BuildStatusBar();
    }
    OnCommand(
        ID_VIEW_TOOLBAR,
        [this] {
            if (m_pToolBar) m_pToolBar->setVisible(!m_pToolBar->isVisible());
        },
        [this](CCmdUI& ui) {
            ui.Enable(m_pToolBar != nullptr);
            ui.SetCheck(m_pToolBar && m_pToolBar->isVisible());
        });
    OnCommand(
        ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
        [this](CCmdUI& ui) { ui.SetCheck(statusBar()->isVisible()); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] { RunPrintSetup(this); });
    OnCommand(ID_OPTIONS, [] {
        if (CZelApp* app = GetZelApp()) app->OnOptions();
    });
    // The album wizard is there once its part of the program is wired in;
    // until then the command is disabled and the start after the splash skips it.
    OnCommand(
        ID_ALBUM_WIZARD,
        [] {
            if (CZelApp* app = GetZelApp(); app && app->m_hooks.runAlbumWizard) app->m_hooks.runAlbumWizard();
        },
        [](CCmdUI& ui) {
            CZelApp* app = GetZelApp();
            ui.Enable(app && app->m_hooks.runAlbumWizard);
        });
    resize(900, 650);
}

CMainFrame::~CMainFrame() {
    delete m_pShowPanel;
}

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    AddCommand(file, ID_FILE_NEW, "&New\tCtrl+N");
    AddCommand(file, ID_FILE_OPEN, "&Open...\tCtrl+O");
    AddCommand(file, ID_FILE_CLOSE_ALL, "Close &All");
    AddCommand(file, ID_FILE_SAVE, "&Save\tCtrl+S");
    AddCommand(file, ID_FILE_SAVE_AS, "Save &As/Convert To...");
    file->addSeparator();
    AddCommand(file, ID_ALBUM_WIZARD, "&Album Wizard...");
    file->addSeparator();
    AddCommand(file, ID_FILE_PRINT, "&Print...\tCtrl+P");
    AddCommand(file, ID_FILE_PRINT_PREVIEW, "Print Pre&view...");
    AddCommand(file, ID_FILE_PRINT_SETUP, "P&rint Setup...");
    file->addSeparator();
    QAction* exit = AddCommand(file, ID_APP_EXIT, "E&xit");
    file->insertSeparator(exit);
    SetRecentFileMenu(file, exit);

    QMenu* view = menuBar()->addMenu("&View");
    AddCommand(view, ID_VIEW_TOOLBAR, "Too&lbar")->setCheckable(true);
    AddCommand(view, ID_VIEW_STATUS_BAR, "Stat&us Bar")->setCheckable(true);
    view->addSeparator();
    AddCommand(view, ID_OPTIONS, "&Options...");

    QMenu* window = menuBar()->addMenu("&Window");
    AddCommand(window, ID_WINDOW_CASCADE, "&Cascade");
    AddCommand(window, ID_WINDOW_TILE_HORZ, "Tile &Horizontally");
    AddCommand(window, ID_WINDOW_TILE_VERT, "Tile &Vertically");
    AddCommand(window, ID_WINDOW_ARRANGE, "&Arrange Icons");
    SetWindowMenu(window);

    m_pHelpMenu = menuBar()->addMenu("&Help");
    AddCommand(m_pHelpMenu, ID_HELP_CONTENTS, "&Contents\tF1");
    AddCommand(m_pHelpMenu, ID_HELP_USING, "&Using Help");
    m_pHelpMenu->addSeparator();
    AddCommand(m_pHelpMenu, ID_HELP_TECH_SUPPORT, "&Technical Support");
    m_pHelpMenu->addSeparator();
    AddCommand(m_pHelpMenu, ID_APP_ABOUT, "&About Pictavo Zozi...");
    QObject::connect(m_pHelpMenu, &QMenu::aboutToShow, this, [this] { UpdateHelpMenu(); });
    for (QMenu* m : {file, view, window, m_pHelpMenu})
        QObject::connect(m, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
}

void CMainFrame::UpdateHelpMenu() {
    if (CommandAction(ID_HELP_ORDER_FORMS) || !CFile::Exists("ORDER.HLP")) return;
    CFile probe;
    if (!probe.Open("ORDER.HLP", CFile::modeRead)) return;
    QAction* before = CommandAction(ID_HELP_TECH_SUPPORT);
    QAction* order = AddCommand(nullptr, ID_HELP_ORDER_FORMS, "Print &Order Forms");
    QAction* news = AddCommand(nullptr, ID_HELP_NEW_PRODUCTS, "&New Products");
    m_pHelpMenu->insertAction(before, order);
    m_pHelpMenu->insertAction(before, news);
    m_pHelpMenu->insertSeparator(before);
}

void CMainFrame::BuildToolBar() {
    m_pToolBar = addToolBar("Toolbar");
    m_pToolBar->setObjectName("toolbar");
    m_pToolBar->setIconSize(QSize(24, 24));
    m_pToolBar->setMovable(false);
    QStyle* st = style();
    auto button = [&](unsigned nID, const QIcon& icon, const char* tip) {
        QAction* a = AddCommand(nullptr, nID, tip);
        a->setIcon(icon);
        a->setToolTip(tip);
        // The description shows in the message pane while the pointer is on the button.
        a->setStatusTip(tip);
        m_pToolBar->addAction(a);
    };
    button(ID_FILE_NEW, st->standardIcon(QStyle::SP_FileIcon), "Create a new document");
    button(ID_FILE_OPEN, st->standardIcon(QStyle::SP_DialogOpenButton), "Open an existing document");
    button(ID_FILE_SAVE, st->standardIcon(QStyle::SP_DialogSaveButton), "Save the active document");
    m_pToolBar->addSeparator();
    button(ID_ALBUM_WIZARD, WizardIcon(), "Make or open an album with the album wizard");
    button(ID_HELP_CONTENTS, st->standardIcon(QStyle::SP_DialogHelpButton), "Show the help contents");
}

void CMainFrame::SetToolBarSet(int nSet) {
    if (!m_pToolBar || nSet == m_nToolBarSet) return;
    m_nToolBarSet = nSet;
    ++m_nToolBarRebuilds;
    auto& actions = m_toolBarSets[nSet];
    if (actions.empty()) {
        for (unsigned nID : ToolBarButtons(nSet)) {
            if (nID == 0) {
                auto* sep = new QAction(this);
                sep->setSeparator(true);
                actions.push_back(sep);
                continue;
            }
            const std::string tip = ToolBarTip(nID);
            QAction* a = AddCommand(nullptr, nID, tip);
            a->setIcon(ToolBarIcon(nID));
            QObject::connect(a, &QAction::hovered, this, [this, tip] { SetMessageText(tip); });
            actions.push_back(a);
        }
    }
    m_pToolBar->clear();
    for (QAction* a : actions) m_pToolBar->addAction(a);
    UpdateCommandUI();
}

void CMainFrame::EnableToolBar(bool bEnable) {
    if (m_pToolBar) m_pToolBar->setEnabled(bEnable);
}

void CMainFrame::BuildStatusBar() {
    m_pMessage = new QLabel("Ready");
    statusBar()->addWidget(m_pMessage, 1);
    int i = 0;
    for (uint32_t id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        auto* l = new QLabel(QString::fromStdString(LoadResString(id)));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(l->sizeHint().width());
        l->setObjectName(QString::fromStdString(LoadResString(id)));
        l->hide();
        statusBar()->addPermanentWidget(l);
        m_pIndicators[i++] = l;
    }
    // The lock keys are asked for as the program runs; where the platform cannot
    // tell, their panes stay hidden.
    m_lockSource = [] { return CKeyboardLocks::Query(); };
    auto* pTimer = new QTimer(this);
    pTimer->setInterval(250);
    QObject::connect(pTimer, &QTimer::timeout, this, [this] { UpdateIndicators(); });
    pTimer->start();
    UpdateIndicators();
}

void CMainFrame::UpdateIndicators() {
    if (!m_lockSource) return;
    const CKeyboardLocks locks = m_lockSource();
    const int states[] = {locks.nCaps, locks.nNum, locks.nScroll};
    const uint32_t ids[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = m_pIndicators[i];
        if (!l) continue;
        // As the platform's own status bars: the text while the key is on, blank while off.
        l->setText(states[i] == 1 ? QString::fromStdString(LoadResString(ids[i])) : QString());
        l->setVisible(states[i] >= 0);
    }
}

QString CMainFrame::MessageText() const {
    return m_pMessage ? m_pMessage->text() : QString();
}

bool CMainFrame::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::StatusTip) {
        // An empty tip (the pointer left a button) brings back "Ready".
        SetMessageText(static_cast<QStatusTipEvent*>(pEvent)->tip().toStdString());
        return true;
    }
    return CMDIFrameWnd::event(pEvent);
}

void CMainFrame::ShowBars(bool bToolBar, bool bStatusBar) {
    if (m_pToolBar) m_pToolBar->setVisible(bToolBar);
    statusBar()->setVisible(bStatusBar);
}

void CMainFrame::SetMessageText(const std::string& text) {
    if (m_pMessage) m_pMessage->setText(text.empty() ? QString("Ready") : QString::fromStdString(text));
}

void CMainFrame::ApplyPlacement(const CWindowPlacement& wp) {
    const CRect& r = wp.rcNormalPosition;
    setGeometry(r.left, r.top, r.Width(), r.Height());
    if (wp.showCmd == SW_SHOWMAXIMIZED) setWindowState(windowState() | Qt::WindowMaximized);
}

CMainWindowState CMainFrame::GetWindowState() const {
    CMainWindowState st;
    st.bToolBarExists = m_pToolBar != nullptr;
    st.bToolBarVisible = m_pToolBar && !m_pToolBar->isHidden();
    st.bStatusBarExists = true;
    st.bStatusBarVisible = !statusBar()->isHidden();
    QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
    st.rcNormal = CRect(g.left(), g.top(), g.right() + 1, g.bottom() + 1);
    if (isMinimized()) {
        st.nShow = CMainWindowState::minimized;
        st.bRestoreToMaximized = windowState() & Qt::WindowMaximized;
    } else if (isMaximized()) {
        st.nShow = CMainWindowState::maximized;
    }
    return st;
}

void CMainFrame::OnFirstSplashClosed() {
    // Posted, as the splash is still closing.
    QTimer::singleShot(0, this, [] {
        if (CZelApp* app = GetZelApp()) app->ShowSplash(false);
    });
}

CShowPanel* CMainFrame::GetShowPanel(bool bCreate) {
    if (!m_pShowPanel && bCreate) {
        CZelApp* app = GetZelApp();
        m_pShowPanel = new CShowPanel(this, app ? &app->m_settings : nullptr);
    }
    return m_pShowPanel;
}

IShowPanel* CMainFrame::GetSlideShowPanel(bool bCreate) {
    // No panel in screen-saver mode.
    return m_bScreenSaver ? nullptr : GetShowPanel(bCreate);
}

void CMainFrame::closeEvent(QCloseEvent* pEvent) {
    CMDIFrameWnd::closeEvent(pEvent);
    if (pEvent->isAccepted() && !m_bPrefsWritten) {
        m_bPrefsWritten = true;
        if (CZelApp* app = GetZelApp()) app->WritePreferences();
        if (m_pShowPanel) m_pShowPanel->close();
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent) {
    if (pEvent->mimeData()->hasUrls()) pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent) {
    activateWindow();
    for (const QUrl& url : pEvent->mimeData()->urls())
        if (url.isLocalFile())
            if (CWinApp* app = AfxGetApp()) app->OpenDocumentFile(url.toLocalFile().toStdString());
}
