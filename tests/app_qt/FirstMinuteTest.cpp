// What a new user meets first: the splash at any font size, the open
// dialog's filters, several files and missing paths on the command line,
// the Window menu, the status bar, the help window and the last-chance
// handling of exceptions that escape an event handler.

#include "app/CHelpWnd.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CZelApp.h"
#include "app/CZelMDIChildFrame.h"
#include "framework/CAppException.h"
#include "framework/CommandIds.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CLastChanceApplication.h"
#include "framework/qt/CView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FirstMinute : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zozi-first-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_oldCwd = fs::current_path();
        fs::current_path(m_dir);
    }
    void TearDown() override {
        m_app.reset();
        SetUserPrompt(nullptr);
        fs::current_path(m_oldCwd);
        fs::remove_all(m_dir);
    }
    CZelApp& MakeApp() {
        CZelAppConfig cfg;
        cfg.strStorePath = (m_dir / "settings.ini").string();
        cfg.strLegacyDir = m_dir.string();
        cfg.strInstanceKey = "zozi-first-" + std::to_string(::getpid());
        cfg.bShowWindows = false;
        m_app = std::make_unique<CZelApp>(cfg);
        SetUserPrompt(&m_prompt);
        EXPECT_TRUE(m_app->InitApplication());
        return *m_app;
    }
    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_app->m_pMainWnd); }
    std::string Picture(const std::string& name) {
        QImage img(16, 12, QImage::Format_RGB888);
        img.fill(Qt::darkGreen);
        const std::string path = (m_dir / name).string();
        EXPECT_TRUE(img.save(QString::fromStdString(path), "BMP"));
        return path;
    }
    CZelMDIChildFrame* AddWindow(const QString& title) {
        auto* f = new CZelMDIChildFrame;
        f->setWidget(new QLabel(title));
        f->setWindowTitle(title);
        Frame()->AddChild(f);
        f->show();
        return f;
    }

    fs::path m_dir, m_oldCwd;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CZelApp> m_app;
};

TEST(Splash, EveryTextFitsAtAnyFontSize) {
    for (double dDpi : {96.0, 192.0})
        for (double pt : {6.0, 9.0, 12.0, 20.0, 36.0}) {
            QFont base("Sans");
            base.setPointSizeF(pt);
            CSplashWnd::Layout L = CSplashWnd::LayoutOwnSplash(base, dDpi);
            const QRect whole(QPoint(0, 0), L.size);
            const std::pair<const QFont*, std::pair<QString, QRect>> texts[] = {
                {&L.titleFont, {L.strTitle, L.title}},
                {&L.smallFont, {L.strVersion, L.version}},
            };
            for (const auto& [font, tr] : texts) {
                EXPECT_LE(QFontMetrics(*font).horizontalAdvance(tr.first), tr.second.width())
                    << tr.first.toStdString() << " at " << pt << " pt, " << dDpi << " dpi";
                EXPECT_GE(tr.second.height(), QFontMetrics(*font).height());
                EXPECT_TRUE(whole.contains(tr.second)) << pt;
            }
            const QRect need = QFontMetrics(L.subFont).boundingRect(QRect(0, 0, L.subtitle.width(), 100000),
                                                                    Qt::TextWordWrap, L.strSubtitle);
            EXPECT_LE(need.height(), L.subtitle.height());
            EXPECT_TRUE(whole.contains(L.subtitle));
            EXPECT_FALSE(L.title.intersects(L.subtitle));
            EXPECT_FALSE(L.subtitle.intersects(L.version));
            EXPECT_EQ(CSplashWnd::DrawOwnSplash(L).size(), L.size);
        }
    EXPECT_EQ(CSplashWnd::LayoutOwnSplash(QFont("Sans", 9), 96).strTitle, "Pictavo Zozi");
}

TEST(OpenDialog, AllFormatsShowsEveryReadablePicture) {
    const QStringList filters = CZelApp::OpenFileFilters();
    ASSERT_GE(filters.size(), 5);
    EXPECT_TRUE(filters.front().startsWith("All Formats ("));
    EXPECT_TRUE(filters.back().startsWith("All Files (*.*) ("));
    // The patterns QFileDialog takes: the last parentheses of each filter.
    auto patterns = [](const QString& filter) {
        const qsizetype open = filter.lastIndexOf('(');
        return filter.mid(open + 1, filter.size() - open - 2).split(' ', Qt::SkipEmptyParts);
    };
    char tmpl[] = "/tmp/zozi-filter-XXXXXX";
    const QString dir = QString::fromLocal8Bit(::mkdtemp(tmpl));
    const QStringList pictures = {"a.JPG", "b.jpeg",   "c.png", "d.PNG", "e.tif", "f.bmp", "g.alb",
                                  "h.qln", "ROLL.#01", "i.gif", "j.pcx", "k.tga", "l.wmf"};
    for (const QString& n : pictures + QStringList{"notes.txt", "core"}) {
        QFile f(dir + "/" + n);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir d(dir);
    QStringList shown = d.entryList(patterns(filters.front()), QDir::Files | QDir::CaseSensitive, QDir::Name);
    QStringList expected = pictures;
    expected.sort();
    shown.sort();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(d.entryList(patterns(filters.back()), QDir::Files).size(), pictures.size() + 2);
    EXPECT_EQ(d.entryList(patterns(filters[1]), QDir::Files | QDir::CaseSensitive), QStringList{"g.alb"});
    QDir(dir).removeRecursively();
}

TEST_F(FirstMinute, SeveralFilesOnTheCommandLineOpenEach) {
    CZelApp& app = MakeApp();
    const std::string a = Picture("a.bmp"), b = Picture("b.bmp");
    ASSERT_TRUE(app.InitInstance(std::vector<std::string>{a, b}));
    EXPECT_TRUE(m_prompt.m_shown.empty());
    EXPECT_EQ(Frame()->GetChildFrames().size(), 2u);
    EXPECT_EQ(app.GetSplash(), nullptr);
}

TEST_F(FirstMinute, AMissingAbsolutePathIsReportedAsAFileNotAsASwitch) {
    CZelApp& app = MakeApp();
    const std::string missing = (m_dir / "holiday" / "missing.qln").string();
    ASSERT_TRUE(app.InitInstance(missing)); // the program stays up
    EXPECT_FALSE(app.m_bScreenSaver);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    const std::string& text = m_prompt.m_shown[0].text;
    EXPECT_EQ(text.find("Invalid command line"), std::string::npos) << text;
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    EXPECT_TRUE(Frame()->GetChildFrames().empty());
}

TEST_F(FirstMinute, WindowMenuListsTheWindowsWithTheActiveOneChecked) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    Frame()->RebuildWindowList();
    EXPECT_TRUE(Frame()->WindowListActions().empty()); // no window, no list
    std::vector<CZelMDIChildFrame*> frames;
    for (int i = 1; i <= 11; ++i) frames.push_back(AddWindow(QString("Photo %1 & co").arg(i)));
    Frame()->MDIArea()->setActiveSubWindow(frames[1]);
    Frame()->RebuildWindowList();
    const std::vector<QAction*>& list = Frame()->WindowListActions();
    ASSERT_EQ(list.size(), 11u); // separator, nine windows, More Windows
    EXPECT_TRUE(list[0]->isSeparator());
    EXPECT_EQ(list[1]->text(), "&1 Photo 1 && co");
    EXPECT_EQ(list[9]->text(), "&9 Photo 9 && co");
    EXPECT_EQ(list[10]->text(), "&More Windows...");
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(list[i]->isChecked(), i == 2) << i;
    list[3]->trigger();
    EXPECT_EQ(Frame()->MDIGetActive(), frames[2]);
    Frame()->RebuildWindowList(); // rebuilt, not appended
    EXPECT_EQ(Frame()->WindowListActions().size(), 11u);
    EXPECT_TRUE(Frame()->WindowListActions()[3]->isChecked());
    // Closing windows shortens the list.
    for (size_t i = 2; i < frames.size(); ++i) delete frames[i];
    Frame()->RebuildWindowList();
    EXPECT_EQ(Frame()->WindowListActions().size(), 3u);
}

TEST_F(FirstMinute, TileHorizontallyAndVerticallyDifferAndIconsLineUp) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    Frame()->resize(1000, 800);
    Frame()->show();
    QApplication::processEvents();
    CZelMDIChildFrame* a = AddWindow("a");
    CZelMDIChildFrame* b = AddWindow("b");
    const QRect vp = Frame()->MDIArea()->viewport()->rect();
    Frame()->RouteCommand(ID_WINDOW_TILE_HORZ);
    EXPECT_EQ(a->geometry(), QRect(0, 0, vp.width(), vp.height() / 2));
    EXPECT_EQ(b->geometry().top(), vp.height() / 2);
    EXPECT_EQ(b->width(), vp.width());
    Frame()->RouteCommand(ID_WINDOW_TILE_VERT);
    EXPECT_EQ(a->geometry(), QRect(0, 0, vp.width() / 2, vp.height()));
    EXPECT_EQ(b->geometry().left(), vp.width() / 2);
    EXPECT_EQ(b->height(), vp.height());

    CZelMDIChildFrame* c = AddWindow("c");
    a->showMinimized();
    c->showMinimized();
    a->move(300, 10);
    Frame()->RouteCommand(ID_WINDOW_ARRANGE);
    EXPECT_EQ(a->pos(), QPoint(0, vp.height() - a->height()));
    EXPECT_EQ(c->pos(), QPoint(a->width(), vp.height() - a->height()));
    // Tiling leaves the icon row free.
    Frame()->RouteCommand(ID_WINDOW_TILE_HORZ);
    EXPECT_EQ(b->geometry(), QRect(0, 0, vp.width(), vp.height() - a->height()));
}

TEST_F(FirstMinute, StatusBarClearsButtonDescriptionsAndHidesUnknownLocks) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    CMainFrame* f = Frame();
    QWidget* button = nullptr;
    for (QAction* a : f->ToolBar()->actions())
        if (a->data().toUInt() == ID_FILE_OPEN) button = f->ToolBar()->widgetForAction(a);
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(f->MessageText(), "Open an existing document");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(f->MessageText(), "Ready");

    // The offscreen platform cannot tell: the panes are hidden, not grey.
    f->UpdateIndicators();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(f->Indicator(i)->isHidden()) << i;
    CKeyboardLocks locks;
    locks.nCaps = 1;
    locks.nNum = 0;
    f->SetLockSource([&] { return locks; });
    f->UpdateIndicators();
    EXPECT_FALSE(f->Indicator(0)->isHidden());
    EXPECT_EQ(f->Indicator(0)->text(), "CAP");
    EXPECT_FALSE(f->Indicator(1)->isHidden());
    EXPECT_EQ(f->Indicator(1)->text(), "");
    EXPECT_TRUE(f->Indicator(2)->isHidden());
}

TEST_F(FirstMinute, HelpContentsAndF1OpenTheUserGuide) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    QAction* contents = Frame()->CommandAction(ID_HELP_CONTENTS);
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(app.GetHelpWnd(), nullptr);
    contents->trigger();
    ASSERT_NE(app.GetHelpWnd(), nullptr);
    EXPECT_TRUE(m_prompt.m_shown.empty());
    const QString text = app.GetHelpWnd()->Browser()->toPlainText();
    EXPECT_TRUE(text.contains("Opening pictures")) << text.left(200).toStdString();
    EXPECT_TRUE(app.GetHelpWnd()->ShowSection("Help"));
    EXPECT_FALSE(app.GetHelpWnd()->ShowSection("No such section"));
    CHelpWnd* first = app.GetHelpWnd();
    Frame()->RouteCommand(ID_HELP_USING);
    EXPECT_EQ(app.GetHelpWnd(), first); // one help window
    EXPECT_FALSE(CHelpWnd::FindUserGuide().empty());
}

// A view that fails in its key handler.
class CFailingView : public CView {
public:
    void OnDraw(CDC*) override {}

protected:
    void keyPressEvent(QKeyEvent*) override { ThrowAppException("The key could not be handled."); }
};

// A widget that fails while painting.
class CFailingPaint : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { throw CFileException(CFileException::hardIO); }
};

// A message box that runs the event loop while it is up, as a modal one does.
class CModalPrompt : public CScriptedPrompt {
public:
    int MessageBox(const std::string& text, unsigned nType, uint32_t nHelpId) override {
        ++m_nDepth;
        m_nMaxDepth = std::max(m_nMaxDepth, m_nDepth);
        int n = CScriptedPrompt::MessageBox(text, nType, nHelpId);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        --m_nDepth;
        return n;
    }
    int m_nDepth = 0, m_nMaxDepth = 0;
};

TEST(LastChance, ExceptionsEscapingKeyAndTimerHandlersAreReported) {
    ASSERT_NE(dynamic_cast<CLastChanceApplication*>(qApp), nullptr);
    CScriptedPrompt prompt;
    SetUserPrompt(&prompt);
    CFailingView view;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    EXPECT_TRUE(QApplication::sendEvent(&view, &key));
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, "The key could not be handled.");
    EXPECT_EQ(prompt.m_shown[0].nType, MB_OK | MB_ICONSTOP);

    QTimer::singleShot(0, &view, [] { throw CFileException(CFileException::diskFull); });
    QApplication::processEvents();
    ASSERT_EQ(prompt.m_shown.size(), 2u);
    EXPECT_EQ(prompt.m_shown[1].text, "Destination disk drive is full.");

    QTimer::singleShot(0, &view, [] { throw std::bad_alloc(); });
    QApplication::processEvents();
    ASSERT_EQ(prompt.m_shown.size(), 3u);
    EXPECT_EQ(prompt.m_shown[2].text.substr(0, 20), "Not enough memory to");
    EXPECT_EQ(prompt.m_help, (std::vector<uint32_t>{0x10862}));

    // Painting: not reported, and the program goes on.
    CFailingPaint paint;
    paint.resize(20, 20);
    paint.show();
    paint.repaint();
    QApplication::processEvents();
    EXPECT_EQ(prompt.m_shown.size(), 3u);
    SetUserPrompt(nullptr);
}

TEST(LastChance, ATimerFailingAgainBehindItsMessageIsNotStacked) {
    CModalPrompt prompt;
    SetUserPrompt(&prompt);
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [] { ThrowAppException("tick failed"); });
    timer.start();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    timer.stop();
    EXPECT_EQ(prompt.m_nMaxDepth, 1);
    EXPECT_GE(prompt.m_shown.size(), 1u);
    for (const auto& s : prompt.m_shown) EXPECT_EQ(s.text, "tick failed");
    SetUserPrompt(nullptr);
}

} // namespace
