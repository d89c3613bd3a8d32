#include "album/ui/CSlideShowView.h"

#include "album/ui/CAlbumDoc.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CQtDC.h"
#include "framework/qt/CWinApp.h"
#include "imaging/CDib.h"
#include "view/IShowPanel.h"
#include "view/core/CBlockEffects.h"
#include "view/core/CShowLayout.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

IMPLEMENT_DYNAMIC(CSlideShowView, CBaseSlideShowView)

using S = CSlideShowState;

constexpr uint32_t kReallyExit = 1242; // "Do you really want to exit the application?"

CScreenSaverStart CSlideShowView::s_screenSaver;

namespace {

constexpr int kLookEvery = 8; // milliseconds between looks at the screen and the input during a transition

struct CKeyCommand {
    int nKey;
    unsigned nCmd;
    const char* pszKey;
    const char* pszWhat;
};
// The accelerator table of the show, also the key map's rows.
const CKeyCommand kKeys[] = {
    {Qt::Key_Left, S::kCmdPrevious, "Left", "Go to the previous photo"},
    {Qt::Key_Right, S::kCmdNext, "Right", "Go to the next photo"},
    {Qt::Key_Home, S::kCmdFirst, "Home", "Go to the first photo"},
    {Qt::Key_End, S::kCmdLast, "End", "Go to the last photo"},
    {Qt::Key_Space, S::kCmdPause, "Space", "Play or stop"},
    {Qt::Key_T, S::kCmdTitles, "T", "Show or hide the titles"},
    {Qt::Key_I, S::kCmdTitlesIndex, "I", "Number the titles"},
    {Qt::Key_R, S::kCmdRepeat, "R", "Repeat the show"},
    {Qt::Key_S, S::kCmdShuffle, "S", "Shuffle the photos"},
    {Qt::Key_F, S::kCmdFullScreen, "F", "Full screen on or off"},
    {Qt::Key_C, S::kCmdCursor, "C", "Show or hide the cursor"},
    {Qt::Key_P, S::kCmdPanel, "P", "Show or hide the panel"},
    {Qt::Key_Escape, S::kCmdExit, "Esc", "Close the slide show"},
    {Qt::Key_Q, S::kCmdQuit, "Q", "Quit the program"},
    {Qt::Key_F1, S::kCmdKeyMap, "F1", "This key map"},
};

void RunKeyMapDialog(QWidget* pParent) {
    QDialog dlg(pParent);
    dlg.setObjectName("1052");
    dlg.setWindowTitle(QString::fromStdString(LoadResString(1052)));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const CKeyCommand& k : kKeys) {
        grid->addWidget(new QLabel(QString("<b>%1</b>").arg(k.pszKey)), row, 0);
        grid->addWidget(new QLabel(k.pszWhat), row++, 1);
    }
    grid->addWidget(new QLabel("<b>Left button</b>"), row, 0);
    grid->addWidget(new QLabel("Go to the next photo"), row++, 1);
    grid->addWidget(new QLabel("<b>Right button</b>"), row, 0);
    grid->addWidget(new QLabel("Go to the previous photo"), row++, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(box, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    auto* v = new QVBoxLayout(&dlg);
    v->addLayout(grid);
    v->addWidget(box);
    dlg.exec();
}

class CSystemKeys : public CBlockEffects::IKeyQueue {
public:
    explicit CSystemKeys(std::function<bool()> f) : m_f(std::move(f)) {}
    bool IsKeyPending() override { return m_f(); }

private:
    std::function<bool()> m_f;
};

} // namespace

std::function<void(QWidget*)> CSlideShowView::s_runKeyMap = RunKeyMapDialog;

// Holds the user's input while a transition lets events through, so that a
// key press can end the transition and then act as usual.
class CSlideShowView::CHeldInput : public QObject {
public:
    CHeldInput() { qApp->installEventFilter(this); }
    ~CHeldInput() override { qApp->removeEventFilter(this); }

    bool HasKey() const { return m_bKey; }
    // Gives the held events back to their widgets, in order.
    void Release() {
        qApp->removeEventFilter(this);
        for (auto& [pTarget, pEvent] : m_held)
            if (pTarget) QCoreApplication::postEvent(pTarget, pEvent.release());
        m_held.clear();
    }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        switch (pEvent->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (!pWatched->isWidgetType()) return false;
            if (pEvent->type() == QEvent::KeyPress) m_bKey = true;
            m_held.emplace_back(QPointer<QObject>(pWatched), std::unique_ptr<QEvent>(pEvent->clone()));
            return true;
        case QEvent::ShortcutOverride:
            // Accepted, so that the key arrives as a key press and is held.
            if (!pWatched->isWidgetType()) return false;
            pEvent->accept();
            return true;
        default:
            return false;
        }
    }

private:
    bool m_bKey = false;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
};

CSlideShowView::CSlideShowView() {
    setMouseTracking(true);
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(CSlideShowState::kTimerPeriod);
    QObject::connect(m_pTimer, &QTimer::timeout, this, [this] { OnTimerTick(); });
    RegisterCommands();
}

CSlideShowView::~CSlideShowView() {
    m_pTimer->stop();
    if (hasFocus()) ShowPanel(false);
    ReleaseImage(GetCurrentIndex());
}

std::string CSlideShowView::FrameTitle(const std::string& docTitle) const {
    return CShowLayout::GetCaption(docTitle);
}

void CSlideShowView::OnInitialUpdate() {
    CBaseSlideShowView::OnInitialUpdate();
    CAlbumDoc* pDoc = GetDocument();
    const CScreenSaverStart& ss = s_screenSaver;
    m_state.InitialUpdate(pDoc->GetAlbum().m_showProps, m_nCurrentIndex, ss.m_bOn, ss.m_nTitlesIndex,
                          ss.m_nRandomOrder, ss.m_nTitles);
    if (m_state.GetCurrentIndex() != m_nCurrentIndex)
        GoToPhoto(m_state.GetCurrentIndex());
    else if (m_nCurrentIndex < 0)
        update();
    m_pTimer->start();
    if (CMDIChildWnd* pFrame = GetParentFrame()) pFrame->OnUpdateFrameTitle();
    // After the frame has been shown by its template.
    QTimer::singleShot(0, this, [this] {
        SetFullScreen(m_state.m_showProps.m_bFullScreen != 0);
        setFocus();
    });
    ApplyCursor();
    UpdatePanel();
}

void CSlideShowView::GoToPhoto(int i) {
    if (GetCurrentIndex() >= 0) ReleaseImage(GetCurrentIndex());
    SetCurrentIndex(i);
    m_state.GoToPhoto(i);
    if (!m_bShowPosted) {
        m_bShowPosted = true;
        QTimer::singleShot(0, this, [this] {
            m_bShowPosted = false;
            ShowNewSlide();
        });
    }
}

void CSlideShowView::OnTimerTick() {
    // The pointer is also watched here: moves over another window or during
    // a transition reach no event handler of this view.
    if (s_screenSaver.m_bOn) OnPointerAt(QCursor::pos());
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc || m_bInTransition || m_state.m_bNewSlide) return;
    m_state.SetCount(pDoc->GetPhotoCount());
    const int i = GetCurrentIndex();
    const uint32_t dwDelay =
        i >= 0 && i < pDoc->GetPhotoCount() ? pDoc->GetAlbum().GetShowElemProps(i).m_dwDelay : 0;
    const int nNext = m_state.OnTimer(dwDelay);
    if (nNext >= 0) GoToPhoto(nNext);
    UpdatePanel();
}

void CSlideShowView::RenderStill() {
    if (m_bFailed) {
        QPainter p(&m_back);
        DrawFailure(p);
        return;
    }
    CBaseSlideShowView::RenderStill();
}

void CSlideShowView::ShowNewSlide() {
    if (!m_state.m_bNewSlide || m_bInTransition) return;
    if (width() <= 0 || height() <= 0) return;
    m_bInTransition = true;
    if (m_back.size() != size()) {
        m_back = QImage(size(), QImage::Format_RGB32);
        m_back.fill(Qt::black);
    }
    const bool bScreenSaver = s_screenSaver.m_bOn;
    if (!bScreenSaver) QApplication::setOverrideCursor(Qt::WaitCursor);
    bool bShown = LoadCurrentImage() != 0;
    if (!bScreenSaver) QApplication::restoreOverrideCursor();
    CHeldInput held;
    {
        QPainter p(&m_back);
        if (bShown) {
            QRect rcTitle;
            const QRect rcImage = ImageRect(&rcTitle);
            // Black around the photo; the photo's place keeps the previous one.
            const QRegion outside = QRegion(m_back.rect()) - QRegion(rcImage);
            for (const QRect& r : outside) p.fillRect(r, Qt::black);
            repaint();
            CQtDC dc(&p);
            CBlockEffects fx;
            fx.SetOffscreenSlot(&m_pOffscreen);
            fx.SetScreenSaver(bScreenSaver);
            fx.SetRandom([] { return static_cast<unsigned>(std::rand()); });
            // The screen and the input are looked at no more often than every
            // few milliseconds: a dissolve of 3-pixel blocks has thousands of steps.
            QElapsedTimer sinceFlush, sinceInput;
            sinceFlush.start();
            CSystemKeys keys([&held, &sinceInput] {
                if (!sinceInput.isValid() || sinceInput.elapsed() >= kLookEvery) {
                    sinceInput.start();
                    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
                }
                return held.HasKey();
            });
            fx.SetKeyQueue(&keys);
            fx.SetStepHook([this, &sinceFlush, rcImage] {
                if (sinceFlush.elapsed() < kLookEvery) return;
                sinceFlush.restart();
                repaint(rcImage);
            });
            const int nEffect = GetDocument()->GetAlbum().GetShowElemProps(GetCurrentIndex()).m_nEffect;
            bShown = fx.PlayEffect(dc, nullptr, *m_pDib, rcImage.left(), rcImage.top(), nEffect);
            if (bShown) DrawTitle(p, rcTitle);
        }
        m_bFailed = !bShown;
        if (!bShown) DrawFailure(p);
    }
    // The delay counts from now, also for a slide that could not be shown.
    m_state.OnSlideShown();
    m_bInTransition = false;
    repaint();
    held.Release();
    UpdatePanel();
}

bool CSlideShowView::IsPanelVisible() const {
    IShowPanel* p = Panel(false);
    return p && p->PanelWidget()->isVisible();
}

IShowPanel* CSlideShowView::Panel(bool bCreate) const {
    CWinApp* app = AfxGetApp();
    auto* host = app ? dynamic_cast<IShowPanelHost*>(app->m_pMainWnd) : nullptr;
    return host ? host->GetSlideShowPanel(bCreate) : nullptr;
}

void CSlideShowView::ShowPanel(bool bShow) {
    IShowPanel* p = Panel(bShow);
    if (!p) return;
    p->PanelWidget()->setVisible(bShow);
    if (bShow) UpdatePanel();
}

void CSlideShowView::UpdatePanel() {
    IShowPanel* p = Panel(false);
    if (!p || !p->PanelWidget()->isVisible()) return;
    p->UpdateButtons([this](CCmdUI& ui) { OnCmdMsg(ui.m_nID, &ui); });
}

void CSlideShowView::ApplyCursor() {
    if (m_state.m_showProps.m_bCursor)
        unsetCursor();
    else
        setCursor(Qt::BlankCursor);
}

void CSlideShowView::OnCommandMove(unsigned nCmd) {
    const int i = m_state.OnCommand(nCmd);
    if (i >= 0) GoToPhoto(i);
}

void CSlideShowView::RegisterCommands() {
    auto rule = [this](unsigned nCmd) {
        return [this, nCmd](CCmdUI& ui) {
            ui.Enable(m_state.IsEnabled(nCmd));
            ui.SetCheck(m_state.IsChecked(nCmd, IsPanelVisible()));
        };
    };
    for (unsigned nCmd : {S::kCmdPrevious, S::kCmdNext, S::kCmdFirst, S::kCmdLast})
        OnCommand(
            nCmd, [this, nCmd] { OnCommandMove(nCmd); }, rule(nCmd));
    for (unsigned nCmd : {S::kCmdPlay, S::kCmdStop, S::kCmdPause, S::kCmdRepeat, S::kCmdShuffle})
        OnCommand(
            nCmd, [this, nCmd] { m_state.OnCommand(nCmd); }, rule(nCmd));
    for (unsigned nCmd : {S::kCmdTitles, S::kCmdTitlesIndex})
        OnCommand(
            nCmd,
            [this, nCmd] {
                m_state.OnCommand(nCmd);
                if (!m_state.m_bNewSlide && !m_bInTransition) {
                    m_back = QImage();
                    update();
                }
            },
            rule(nCmd));
    OnCommand(
        S::kCmdFullScreen,
        [this] {
            m_state.OnCommand(S::kCmdFullScreen);
            SetFullScreen(m_state.m_showProps.m_bFullScreen != 0);
            setFocus();
        },
        rule(S::kCmdFullScreen));
    OnCommand(
        S::kCmdCursor,
        [this] {
            m_state.OnCommand(S::kCmdCursor);
            ApplyCursor();
        },
        rule(S::kCmdCursor));
    OnCommand(
        S::kCmdPanel,
        [this] {
            const bool bShow = !IsPanelVisible();
            if (bShow && !Panel(true)) return;
            ShowPanel(bShow);
            m_state.m_showProps.m_bPanel = bShow;
        },
        rule(S::kCmdPanel));
    OnCommand(S::kCmdExit, [this] {
        SetFullScreen(false);
        if (CMDIChildWnd* pFrame = GetParentFrame())
            QMetaObject::invokeMethod(pFrame, "close", Qt::QueuedConnection);
    });
    OnCommand(S::kCmdQuit, [] {
        if (GetUserPrompt().MessageBox(LoadResString(kReallyExit), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd)
            QMetaObject::invokeMethod(app->m_pMainWnd, "close", Qt::QueuedConnection);
    });
    OnCommand(S::kCmdKeyMap, [this] {
        IShowPanel* p = Panel(false);
        if (p) p->PanelWidget()->setEnabled(false);
        s_runKeyMap(this);
        if (p) p->PanelWidget()->setEnabled(true);
    });
}

unsigned CSlideShowView::CommandOfKey(int nKey) {
    for (const CKeyCommand& k : kKeys)
        if (k.nKey == nKey) return k.nCmd;
    return 0;
}

void CSlideShowView::EndScreenSaver() {
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd)
        QMetaObject::invokeMethod(app->m_pMainWnd, "close", Qt::QueuedConnection);
}

bool CSlideShowView::event(QEvent* pEvent) {
    // The show's keys come before the main window's shortcuts.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(pEvent);
        if (s_screenSaver.m_bOn || (k->modifiers() == Qt::NoModifier && CommandOfKey(k->key()))) {
            pEvent->accept();
            return true;
        }
    }
    return CBaseSlideShowView::event(pEvent);
}

void CSlideShowView::keyPressEvent(QKeyEvent* pEvent) {
    if (s_screenSaver.m_bOn) {
        EndScreenSaver();
        return;
    }
    const unsigned nCmd = pEvent->modifiers() == Qt::NoModifier ? CommandOfKey(pEvent->key()) : 0;
    if (!nCmd) {
        CBaseSlideShowView::keyPressEvent(pEvent);
        return;
    }
    OnCmdMsg(nCmd, nullptr);
    UpdatePanel();
}

void CSlideShowView::mousePressEvent(QMouseEvent* pEvent) {
    if (s_screenSaver.m_bOn) {
        EndScreenSaver();
        return;
    }
    if (pEvent->button() == Qt::LeftButton)
        OnCommandMove(S::kCmdNext);
    else if (pEvent->button() == Qt::RightButton)
        OnCommandMove(S::kCmdPrevious);
    UpdatePanel();
}

void CSlideShowView::mouseMoveEvent(QMouseEvent* pEvent) {
    if (s_screenSaver.m_bOn) OnPointerAt(pEvent->globalPosition().toPoint());
}

void CSlideShowView::OnPointerAt(const QPoint& pt) {
    // A pointer that moves more than a few pixels ends the screen saver.
    if (!m_bHaveMousePos) {
        m_bHaveMousePos = true;
        m_ptFirstMouse = pt;
    } else if ((pt - m_ptFirstMouse).manhattanLength() > 4) {
        EndScreenSaver();
    }
}

void CSlideShowView::focusInEvent(QFocusEvent* pEvent) {
    CBaseSlideShowView::focusInEvent(pEvent);
    if (m_state.m_showProps.m_bPanel && !s_screenSaver.m_bOn) ShowPanel(true);
}

void CSlideShowView::focusOutEvent(QFocusEvent* pEvent) {
    CBaseSlideShowView::focusOutEvent(pEvent);
    // The panel never takes the focus, so clicking it keeps it up.
    if (IShowPanel* p = Panel(false)) p->PanelWidget()->hide();
}

void AddSlideShowMenu(CMDIFrameWnd* pFrame) {
    QMenuBar* bar = pFrame->menuBar();
    QAction* before = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == "&Window") before = a;
    auto* menu = new QMenu("&Show", pFrame);
    // The keys belong to the show's view: the texts only show them.
    auto add = [&](unsigned nCmd, const char* pszText, bool bCheck = false) {
        QAction* a = pFrame->AddCommand(menu, nCmd, pszText);
        a->setShortcutContext(Qt::WidgetShortcut);
        a->setCheckable(bCheck);
    };
    add(S::kCmdPrevious, "Go to Previous\tLeft");
    add(S::kCmdNext, "Go to Next\tRight");
    add(S::kCmdFirst, "Go to First\tHome");
    add(S::kCmdLast, "Go to Last\tEnd");
    menu->addSeparator();
    add(S::kCmdPlay, "Play\tSpace");
    add(S::kCmdStop, "Stop\tSpace");
    menu->addSeparator();
    add(S::kCmdTitles, "Show Titles\tT", true);
    add(S::kCmdTitlesIndex, "Show Titles Index\tI", true);
    add(S::kCmdRepeat, "Repeat\tR", true);
    add(S::kCmdShuffle, "Shuffle\tS", true);
    add(S::kCmdFullScreen, "Full Screen\tF", true);
    add(S::kCmdCursor, "Show Cursor\tC", true);
    add(S::kCmdPanel, "Show Panel\tP", true);
    menu->addSeparator();
    add(S::kCmdKeyMap, "Key Map...\tF1");
    add(S::kCmdExit, "Exit\tEsc");
    bar->insertMenu(before, menu);
    QObject::connect(menu, &QMenu::aboutToShow, pFrame, [pFrame] { pFrame->UpdateCommandUI(); });
}
