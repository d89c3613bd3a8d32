// Start-up, splash, single instance, settings at exit, options, full screen
// and the slide-show panel.

#include "app/CMainFrame.h"
#include "app/CModalOptionsPropSheet.h"
#include "app/CShowPanel.h"
#include "app/CSplashWnd.h"
#include "app/CZelApp.h"
#include "app/CZelMDIChildFrame.h"
#include "framework/CIniProfileStore.h"
#include "framework/CommandIds.h"
#include "framework/SystemInfo.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CQtSettingsStore.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zozi-app-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_oldCwd = fs::current_path();
        fs::current_path(m_dir); // no company.bmp, no ORDER.HLP
    }
    void TearDown() override {
        m_app.reset();
        fs::current_path(m_oldCwd);
        fs::remove_all(m_dir);
    }
    CZelApp& MakeApp(const std::string& key = "zozi-test-instance") {
        CZelAppConfig cfg;
        cfg.strStorePath = (m_dir / "settings.ini").string();
        cfg.strLegacyDir = m_dir.string();
        cfg.strInstanceKey = key + std::to_string(::getpid());
        cfg.clock = [this] { return m_now; };
        cfg.bShowWindows = false;
        m_app = std::make_unique<CZelApp>(cfg);
        SetUserPrompt(&m_prompt);
        EXPECT_TRUE(m_app->InitApplication());
        return *m_app;
    }

    fs::path m_dir, m_oldCwd;
    uint32_t m_now = 1000;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CZelApp> m_app;
};

TEST_F(Startup, EmptyCommandLineShowsTheSplashOthersDoNot) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance(""));
    ASSERT_NE(app.GetSplash(), nullptr);
    EXPECT_FALSE(app.GetSplash()->IsFirstKind()); // no company.bmp here
    EXPECT_EQ(app.GetSplash()->Deadline(), 1000u + 10000u);
    m_app.reset();

    CZelApp& app2 = MakeApp();
    ASSERT_TRUE(app2.InitInstance("/E"));
    EXPECT_EQ(app2.GetSplash(), nullptr);
    EXPECT_TRUE(m_prompt.m_shown.empty());
}

TEST_F(Startup, SplashClosesAtItsDeadlineAndOpensTheWizard) {
    CZelApp& app = MakeApp();
    int nWizard = 0;
    app.m_hooks.runAlbumWizard = [&] { ++nWizard; };
    ASSERT_TRUE(app.InitInstance(""));
    EXPECT_TRUE(app.OnIdle(0)); // still showing: more idle time wanted
    m_now += 9999;
    EXPECT_TRUE(app.OnIdle(1));
    EXPECT_EQ(nWizard, 0);
    m_now += 1;
    app.OnIdle(2);
    EXPECT_EQ(app.GetSplash(), nullptr);
    EXPECT_EQ(nWizard, 1);
}

TEST_F(Startup, KeyPressClosesTheSplashWithoutWizardWhenSwitchedOff) {
    CIniProfileStore unused;
    {
        CQtSettingsStore st((m_dir / "settings.ini").string());
        st.WriteProfileInt("View", "Show Alb Wizard", 0);
    }
    CZelApp& app = MakeApp();
    int nWizard = 0;
    app.m_hooks.runAlbumWizard = [&] { ++nWizard; };
    ASSERT_TRUE(app.InitInstance(""));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_TRUE(app.PreTranslateMessage(&key));
    EXPECT_EQ(app.GetSplash(), nullptr);
    EXPECT_EQ(nWizard, 0);
}

TEST_F(Startup, CompanySplashBringsTheSecond) {
    QImage img(8, 4, QImage::Format_RGB888);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save("company.bmp", "BMP"));
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance(""));
    ASSERT_TRUE(app.GetSplash() && app.GetSplash()->IsFirstKind());
    EXPECT_EQ(app.GetSplash()->Picture().size(), QSize(8, 4));
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    app.PreTranslateMessage(&click);
    EXPECT_EQ(app.GetSplash(), nullptr);
    QApplication::processEvents(); // the request for the second splash is posted
    ASSERT_NE(app.GetSplash(), nullptr);
    EXPECT_FALSE(app.GetSplash()->IsFirstKind());
}

class CLowMemory : public ISystemInfo {
public:
    uint64_t GetAvailableMemory() override { return 2 * 1024 * 1024; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return 0; }
};

TEST_F(Startup, LowMemoryWarningOnceWhenIdle) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    CLowMemory low;
    SetSystemInfo(&low);
    CZelApp::s_bLowMemoryWarningPending = true;
    app.OnIdle(0);
    app.OnIdle(1);
    SetSystemInfo(nullptr);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text.substr(0, 20), "Not enough memory to");
    EXPECT_EQ(m_prompt.m_help, (std::vector<uint32_t>{0x10862}));
}

TEST_F(Startup, CommandLineErrorsAreShownWithTheLine) {
    CZelApp& app = MakeApp();
    EXPECT_FALSE(app.InitInstance("/Q"));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "Invalid command line.\n\n</Q>");
    m_app.reset();
    m_prompt.m_shown.clear();
    CZelApp& app2 = MakeApp();
    EXPECT_FALSE(app2.InitInstance("/Falbum.alb"));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text,
              "The album specified in the command line was not found.\n\n</Falbum.alb>");
    m_app.reset();
    m_prompt.m_shown.clear();
    // Screen-saver failures are silent.
    CZelApp& app3 = MakeApp();
    EXPECT_FALSE(app3.InitInstance("/s 1 0 1 /no/such/album.alb"));
    EXPECT_TRUE(m_prompt.m_shown.empty());
}

TEST_F(Startup, AutoAlbumReportsAMissingResponseFileAndEnds) {
    CZelApp& app = MakeApp();
    std::vector<std::string> ran;
    app.m_hooks.runResponseFile = [&](const std::string& p) { ran.push_back(p); };
    { std::ofstream("one.rsp") << "x\n"; }
    EXPECT_FALSE(app.InitInstance("/Aone.rsp"));
    EXPECT_EQ(ran, (std::vector<std::string>{"one.rsp"}));
    EXPECT_TRUE(m_prompt.m_shown.empty());
    m_app.reset();
    CZelApp& app2 = MakeApp();
    EXPECT_FALSE(app2.InitInstance("/Amissing.rsp"));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_NE(m_prompt.m_shown[0].text.find("Cannot find the file"), std::string::npos);
}

TEST_F(Startup, SecondInstanceEndsAtOnce) {
    CZelApp& first = MakeApp("zozi-single-");
    ASSERT_TRUE(first.InitInstance("/E"));
    CZelAppConfig cfg;
    cfg.strStorePath = (m_dir / "other.ini").string();
    cfg.strInstanceKey = "zozi-single-" + std::to_string(::getpid());
    cfg.bShowWindows = false;
    CZelApp second(cfg);
    SetUserPrompt(&m_prompt);
    second.InitApplication();
    EXPECT_FALSE(second.InitInstance("/F some.alb"));
    EXPECT_EQ(second.m_pMainWnd, nullptr);
    EXPECT_TRUE(m_prompt.m_shown.empty()); // its command line is not acted on
}

TEST_F(Startup, SettingsWrittenAtExitButNotInScreenSaverMode) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    app.m_settings.m_nThumbnailSize = 3;
    app.m_pMainWnd->close();
    {
        CQtSettingsStore st((m_dir / "settings.ini").string());
        EXPECT_EQ(st.GetProfileInt("Thumbnails", "Size", -1), 3);
        EXPECT_FALSE(st.GetProfileString("View", "Rect").empty());
    }
    fs::remove(m_dir / "settings.ini");
    m_app.reset();
    CZelApp& saver = MakeApp();
    ASSERT_TRUE(saver.InitInstance("/E"));
    saver.m_bScreenSaver = true;
    saver.WritePreferences();
    EXPECT_FALSE(fs::exists(m_dir / "settings.ini"));
}

TEST_F(Startup, OptionsSheetShowsAndReturnsItsValues) {
    COptions v;
    v.m_nUndoBuffer = 1;
    v.m_nThumbnailSize = 2;
    v.m_strAlbumsDir = "/a/";
    CModalOptionsPropSheet sheet(v);
    EXPECT_EQ(sheet.Values(), v);
    EXPECT_EQ(sheet.UndoGroup()->checkedId(), 1);
    sheet.SizeGroup()->button(3)->setChecked(true);
    sheet.FastPaint()->setChecked(false);
    sheet.AlbumDir()->setText("/b/");
    COptions w = sheet.Values();
    EXPECT_EQ(w.m_nThumbnailSize, 3);
    EXPECT_EQ(w.m_bIdentityPalette, 0);
    EXPECT_EQ(w.m_strAlbumsDir, "/b/");

    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    const int before = app.m_settings.m_nThumbnailSize;
    // Cancel changes nothing; OK stores.
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            static_cast<CModalOptionsPropSheet*>(d)->SizeGroup()->button(0)->setChecked(true);
            d->reject();
        }
    });
    app.OnOptions();
    EXPECT_EQ(app.m_settings.m_nThumbnailSize, before);
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            static_cast<CModalOptionsPropSheet*>(d)->SizeGroup()->button(0)->setChecked(true);
            d->accept();
        }
    });
    app.OnOptions();
    EXPECT_EQ(app.m_settings.m_nThumbnailSize, 0);
}

TEST_F(Startup, FullScreenOnAndOffRestoresTheWindows) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    auto* frame = new CZelMDIChildFrame;
    auto* content = new QLabel("picture");
    frame->setWidget(content);
    app.m_pMainWnd->AddChild(frame);
    frame->setGeometry(10, 20, 300, 200);
    const QRect mainBefore = app.m_pMainWnd->geometry();
    frame->SetFullScreen(true);
    EXPECT_TRUE(frame->IsFullScreen());
    EXPECT_TRUE(content->isWindow());
    frame->SetFullScreen(false);
    EXPECT_FALSE(content->isWindow());
    EXPECT_EQ(frame->widget(), content);
    EXPECT_EQ(frame->geometry(), QRect(10, 20, 300, 200));
    EXPECT_EQ(app.m_pMainWnd->geometry(), mainBefore);
}

TEST_F(Startup, PanelKeepsItsPositionInTheSettings) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    CShowPanel* panel = pFrame->GetShowPanel();
    EXPECT_EQ(pFrame->GetShowPanel(), panel); // created once
    EXPECT_EQ(panel->size(), QSize(23 * 14 + 3, 23 + 8 + 3));
    panel->show();
    panel->move(120, 45);
    QApplication::processEvents();
    EXPECT_EQ(app.m_settings.m_nPanelLeft, 120);
    EXPECT_EQ(app.m_settings.m_nPanelTop, 45);
    EXPECT_EQ(panel->HitTest(QPoint(1 + 23 * 3 + 5, 1 + 8 + 5)), 3);
    EXPECT_EQ(panel->HitTest(QPoint(5, 3)), -1); // the drag strip
}

TEST_F(Startup, HelpMenuGetsOrderFormsOnceWhenTheFileExists) {
    CZelApp& app = MakeApp();
    ASSERT_TRUE(app.InitInstance("/E"));
    auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    pFrame->UpdateHelpMenu();
    EXPECT_EQ(pFrame->CommandAction(ID_HELP_ORDER_FORMS), nullptr);
    { std::ofstream("ORDER.HLP") << "x"; }
    pFrame->UpdateHelpMenu();
    pFrame->UpdateHelpMenu();
    ASSERT_NE(pFrame->CommandAction(ID_HELP_ORDER_FORMS), nullptr);
    int n = 0;
    for (QAction* a : pFrame->HelpMenu()->actions()) n += a->data().toUInt() == ID_HELP_ORDER_FORMS;
    EXPECT_EQ(n, 1);
}

} // namespace
