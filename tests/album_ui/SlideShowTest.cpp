// The slide show and full-screen views driven as a user drives them: the
// timer rule, switching between album, show and full screen, keys, the red
// texts of an empty album and of a photo that cannot be read, and the starts
// from the command line.

#include "AlbumUiTestUtil.h"
#include "album/CAlbum.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CFullScreenView.h"
#include "album/ui/CSlideShowView.h"
#include "album/ui/CTnView.h"
#include "app/CMainFrame.h"
#include "app/CShowPanel.h"
#include "app/CZelApp.h"
#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CMDIChildWnd.h"
#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CShowSetupDlg.h"
#include "view/core/CBlockEffects.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFocusEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using S = CSlideShowState;

namespace {

class SlideShow : public ::testing::Test {
protected:
    void SetUp() override {
        SetDisplayDepth(24);
        char tmpl[] = "/tmp/zozi-show-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_oldCwd = fs::current_path();
        fs::current_path(m_dir);
        CSlideShowView::s_runKeyMap = [this](QWidget*) { ++m_nKeyMaps; };
    }
    void TearDown() override {
        if (m_app) {
            for (const auto& t : m_app->GetTemplates())
                for (CDocument* d : std::vector<CDocument*>(t->GetDocuments())) {
                    d->SetModifiedFlag(false);
                    d->OnCloseDocument();
                }
        }
        m_app.reset();
        CSlideShowView::s_screenSaver = {};
        fs::current_path(m_oldCwd);
        fs::remove_all(m_dir);
    }
    // n photos of 40 x 30 shaded 40 i (+ 20), no transition, the given delay.
    std::string MakeAlbum(const std::string& name, int n, uint32_t dwDelay = 1000, bool bRepeat = false) {
        CUserPromptScope scope(&m_prompt);
        QLNI_Initialize(nullptr);
        std::vector<std::string> photos;
        for (int i = 0; i < n; ++i) {
            const std::string p = (m_dir / (name + std::to_string(i) + ".qln")).string();
            MakePhoto(p, 40, 30, static_cast<uint8_t>(20 + 40 * i));
            photos.push_back(p);
        }
        const std::string path = (m_dir / (name + ".alb")).string();
        CAlbum album;
        album.m_strProvisionalPath = path;
        album.AddPhotos(photos);
        for (int i = 0; i < n; ++i) {
            album.GetShowElemProps(i).m_nEffect = CBlockEffects::kNone;
            album.GetShowElemProps(i).m_dwDelay = dwDelay;
        }
        album.m_showProps.m_bAutoAdvance = 1;
        album.m_showProps.m_bRepeat = bRepeat;
        album.m_showProps.m_bFullScreen = 0;
        album.m_showProps.m_bPanel = 0;
        album.SaveFile(path);
        return path;
    }
    CZelApp& MakeApp(const std::string& commandLine = "/E") {
        CZelAppConfig cfg;
        cfg.strStorePath = (m_dir / "settings.ini").string();
        cfg.strLegacyDir = m_dir.string();
        cfg.strInstanceKey = "zozi-show-" + std::to_string(::getpid());
        cfg.bShowWindows = false;
        m_app = std::make_unique<CZelApp>(cfg);
        SetUserPrompt(&m_prompt);
        EXPECT_TRUE(m_app->InitApplication());
        m_bStarted = m_app->InitInstance(commandLine);
        if (m_bStarted) {
            m_app->m_pMainWnd->resize(1000, 700);
            m_app->m_pMainWnd->show();
        }
        return *m_app;
    }
    CMainFrame* Frame() { return dynamic_cast<CMainFrame*>(m_app->m_pMainWnd); }
    template <class V> V* Active() {
        QApplication::processEvents();
        return dynamic_cast<V*>(Frame()->GetActiveView());
    }
    CSlideShowView* OpenShow(const std::string& path) {
        if (!m_app) MakeApp();
        CDocTemplate* t = m_app->FindTemplate(RUNTIME_CLASS(CSlideShowView));
        if (!t || !t->OpenDocumentFile(path, true)) return nullptr;
        auto* v = Active<CSlideShowView>();
        if (v) {
            v->GetParentFrame()->resize(400, 300);
            QApplication::processEvents();
            v->ShowNewSlide();
        }
        return v;
    }
    bool Route(unsigned nID) { return m_app->m_pMainWnd->RouteCommand(nID); }
    // The colour at the middle of what the show has on the screen.
    static QRgb Middle(CBaseSlideShowView* v) {
        const QImage& img = v->GetBackBuffer();
        return img.pixel(img.width() / 2, img.height() / 2 - 40);
    }
    static bool HasRed(CBaseSlideShowView* v) {
        const QImage& img = v->GetBackBuffer();
        for (int y = 0; y < img.height(); y += 2)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == qRgb(255, 0, 0)) return true;
        return false;
    }

    fs::path m_dir, m_oldCwd;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CZelApp> m_app;
    bool m_bStarted = false;
    int m_nKeyMaps = 0;
};

} // namespace

TEST_F(SlideShow, TimerAdvancesAfterTheDelayCountedFromTheSlide) {
    CSlideShowView* v = OpenShow(MakeAlbum("timer", 3, 1000));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    EXPECT_TRUE(v->IsPlaying());
    EXPECT_EQ(v->GetElapsed(), 0);
    EXPECT_NEAR(qGray(Middle(v)), 20, 3); // stored as JPEG
    for (int i = 0; i < 9; ++i) v->OnTimerTick();
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    v->OnTimerTick(); // 1000 ms
    EXPECT_EQ(v->GetCurrentIndex(), 1);
    // No tick counts while the new slide waits to appear.
    v->OnTimerTick();
    v->ShowNewSlide();
    EXPECT_EQ(v->GetElapsed(), 0);
    EXPECT_NEAR(qGray(Middle(v)), 60, 3); // stored as JPEG
    EXPECT_EQ(v->GetDocument()->GetCurrentPhoto(), 1);
    // Without repeat the show stops after the last photo's delay.
    for (int i = 0; i < 10; ++i) v->OnTimerTick();
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 2);
    for (int i = 0; i < 10; ++i) v->OnTimerTick();
    EXPECT_FALSE(v->IsPlaying());
    EXPECT_EQ(v->GetCurrentIndex(), 2);
}

TEST_F(SlideShow, OnePhotoWithRepeatComesBackAndDelayZeroGoesAtTheFirstTick) {
    CSlideShowView* v = OpenShow(MakeAlbum("one", 1, 0, true));
    ASSERT_NE(v, nullptr);
    v->OnTimerTick();
    EXPECT_TRUE(v->GetState().m_bNewSlide);
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    v->ShowNewSlide();
    EXPECT_FALSE(v->GetState().m_bNewSlide);
    EXPECT_TRUE(v->IsPlaying());
}

TEST_F(SlideShow, KeysMouseAndTogglesLeaveTheAlbumAlone) {
    const std::string path = MakeAlbum("keys", 3);
    CSlideShowView* v = OpenShow(path);
    ASSERT_NE(v, nullptr);
    QTest::keyClick(v, Qt::Key_Space); // stop
    EXPECT_FALSE(v->IsPlaying());
    QTest::keyClick(v, Qt::Key_End);
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 2);
    QTest::keyClick(v, Qt::Key_Right); // nothing after the last
    EXPECT_EQ(v->GetCurrentIndex(), 2);
    QTest::mouseClick(v, Qt::RightButton, {}, QPoint(10, 10));
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 1);
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(10, 10));
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 2);
    QTest::keyClick(v, Qt::Key_Home);
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    // Titles, repeat and shuffle change the show's copy only.
    QTest::keyClick(v, Qt::Key_T);
    QTest::keyClick(v, Qt::Key_R);
    QTest::keyClick(v, Qt::Key_S);
    EXPECT_EQ(v->GetShowProps().m_bTitles, 0);
    EXPECT_EQ(v->GetShowProps().m_bRepeat, 1);
    EXPECT_EQ(v->GetShowProps().m_bRandomOrder, 1);
    const CShowProps& album = v->GetDocument()->GetAlbum().m_showProps;
    EXPECT_EQ(album.m_bTitles, 1);
    EXPECT_EQ(album.m_bRepeat, 0);
    EXPECT_FALSE(v->GetDocument()->IsModified());
    // The menu follows the update rules.
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(Frame()->CommandAction(S::kCmdPlay)->isEnabled());
    EXPECT_FALSE(Frame()->CommandAction(S::kCmdStop)->isEnabled());
    EXPECT_FALSE(Frame()->CommandAction(S::kCmdTitlesIndex)->isEnabled());
    EXPECT_TRUE(Frame()->CommandAction(S::kCmdRepeat)->isChecked());
    QTest::keyClick(v, Qt::Key_F1);
    EXPECT_EQ(m_nKeyMaps, 1);
    // Q asks first; No keeps the program.
    m_prompt.m_answers.push_back(IDNO);
    QTest::keyClick(v, Qt::Key_Q);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "Do you really want to exit the application?");
    QApplication::processEvents();
    EXPECT_TRUE(Frame()->isVisible());
    // Esc closes the show's window.
    QTest::keyClick(v, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(Frame()->GetActiveView(), nullptr);
}

TEST_F(SlideShow, SwitchingBetweenAlbumShowAndFullScreenKeepsThePhoto) {
    MakeApp();
    CDocument* d = m_app->OpenDocumentFile(MakeAlbum("sw", 3));
    ASSERT_NE(d, nullptr);
    auto* tn = Active<CTnView>();
    ASSERT_NE(tn, nullptr);
    tn->SetCurrentIndex(2);
    ASSERT_TRUE(Route(ID_SHOW_CURRENT));
    auto* show = Active<CSlideShowView>();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->GetCurrentIndex(), 2);
    EXPECT_TRUE(show->GetParentFrame()->windowTitle().startsWith(" sw.alb - Slide Show "));
    EXPECT_FALSE(Frame()->ToolBar()->isEnabled());
    QTest::keyClick(show, Qt::Key_Space);
    QTest::keyClick(show, Qt::Key_Left);
    show->ShowNewSlide();
    ASSERT_TRUE(Route(ID_VIEW_FULLSCREEN));
    auto* full = Active<CFullScreenView>();
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->GetCurrentIndex(), 1);
    QApplication::processEvents();
    EXPECT_TRUE(full->IsFullScreen());
    EXPECT_TRUE(Frame()->isFullScreen());
    // Any key closes it and the main window comes back.
    QTest::keyClick(full, Qt::Key_X);
    QApplication::processEvents();
    EXPECT_FALSE(Frame()->isFullScreen());
    EXPECT_TRUE(Frame()->menuBar()->isVisible());
    ASSERT_TRUE(Route(ID_VIEW_ALBUM));
    EXPECT_EQ(d->GetViews().size(), 2u); // the album and the show
    EXPECT_EQ(static_cast<CAlbumDoc*>(d)->GetCurrentPhoto(), 1);
}

TEST_F(SlideShow, EmptyAlbumAndUnreadablePhotoShowRedTextAndTheShowGoesOn) {
    CSlideShowView* e = OpenShow(MakeAlbum("empty", 0));
    ASSERT_NE(e, nullptr);
    QApplication::processEvents();
    e->repaint();
    EXPECT_EQ(e->GetCurrentIndex(), -1);
    EXPECT_TRUE(HasRed(e));

    const std::string path = MakeAlbum("bad", 2, 500);
    {
        std::ofstream f(m_dir / "bad0.qln", std::ios::binary | std::ios::trunc);
        f << "not a photo";
    }
    CSlideShowView* v = OpenShow(path);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    EXPECT_TRUE(HasRed(v));
    for (int i = 0; i < 5; ++i) v->OnTimerTick();
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 1);
    EXPECT_FALSE(HasRed(v));
    EXPECT_NEAR(qGray(Middle(v)), 60, 3); // stored as JPEG
}

TEST_F(SlideShow, CommandLineStartsAShow) {
    const std::string path = MakeAlbum("cmd", 2);
    MakeApp("/f " + path);
    ASSERT_TRUE(m_bStarted);
    auto* v = Active<CSlideShowView>();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetDocument()->GetPhotoCount(), 2);
    EXPECT_TRUE(v->IsPlaying());
}

TEST_F(SlideShow, ScreenSaverPlaysFullScreenAndEndsAtInput) {
    const std::string path = MakeAlbum("saver", 2);
    // Titles index 1, random order 0, titles 0 at positions 3, 5 and 7.
    MakeApp("/s 1 0 0 " + path);
    ASSERT_TRUE(m_bStarted);
    auto* v = Active<CSlideShowView>();
    ASSERT_NE(v, nullptr);
    const CShowProps& p = v->GetShowProps();
    EXPECT_EQ(p.m_bRepeat, 1);
    EXPECT_EQ(p.m_bFullScreen, 1);
    EXPECT_EQ(p.m_bCursor, 0);
    EXPECT_EQ(p.m_bPanel, 0);
    EXPECT_EQ(p.m_bTitlesIndex, 1);
    EXPECT_EQ(p.m_bRandomOrder, 0);
    EXPECT_EQ(p.m_bTitles, 0);
    EXPECT_TRUE(v->IsPlaying());
    EXPECT_EQ(v->cursor().shape(), Qt::BlankCursor);
    QApplication::processEvents();
    EXPECT_TRUE(Frame()->isFullScreen());
    EXPECT_EQ(Frame()->GetSlideShowPanel(true), nullptr);
    // A small pointer move does not end it; a larger one does.
    QTest::mouseMove(v, QPoint(100, 100));
    QTest::mouseMove(v, QPoint(102, 101));
    QApplication::processEvents();
    EXPECT_TRUE(Frame()->isVisible());
    QTest::mouseMove(v, QPoint(120, 100));
    QApplication::processEvents();
    EXPECT_FALSE(Frame()->isVisible());
}

TEST_F(SlideShow, ScreenSaverWithMissingAlbumEndsSilently) {
    MakeApp("/s 1 0 0 " + (m_dir / "none.alb").string());
    EXPECT_FALSE(m_bStarted);
    EXPECT_TRUE(m_prompt.m_shown.empty());
}

TEST_F(SlideShow, PanelFollowsTheFocusAndTheUpdateRules) {
    const std::string path = MakeAlbum("panel", 2);
    {
        CAlbum a;
        a.LoadFile(path);
        a.m_showProps.m_bPanel = 1;
        a.SaveFile(path);
    }
    CSlideShowView* v = OpenShow(path);
    ASSERT_NE(v, nullptr);
    // Gaining the focus shows the panel, losing it hides it.
    QFocusEvent in(QEvent::FocusIn), out(QEvent::FocusOut);
    QApplication::sendEvent(v, &in);
    IShowPanel* p = Frame()->GetSlideShowPanel(false);
    ASSERT_NE(p, nullptr);
    auto* panel = dynamic_cast<CShowPanel*>(p);
    ASSERT_TRUE(panel->isVisible());
    QApplication::sendEvent(v, &out);
    EXPECT_FALSE(panel->isVisible());
    QApplication::sendEvent(v, &in);
    ASSERT_TRUE(panel->isVisible());
    // Playing: Stop is on, Play is off (buttons 2 and 1).
    EXPECT_FALSE(panel->IsButtonEnabled(1));
    EXPECT_TRUE(panel->IsButtonEnabled(2));
    QTest::keyClick(v, Qt::Key_Space);
    EXPECT_TRUE(panel->IsButtonEnabled(1));
    EXPECT_FALSE(panel->IsButtonEnabled(2));
    // P hides it; P shows it again.
    QTest::keyClick(v, Qt::Key_P);
    EXPECT_FALSE(panel->isVisible());
    QTest::keyClick(v, Qt::Key_P);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->IsButtonChecked(11)); // Show Panel
}

TEST_F(SlideShow, SetupDialogMarksTheAlbumModifiedOnlyOnChange) {
    MakeApp();
    auto* d = dynamic_cast<CAlbumDoc*>(m_app->OpenDocumentFile(MakeAlbum("setup", 2)));
    ASSERT_NE(d, nullptr);
    auto runWith = [this](std::function<void(QDialog*)> act) {
        QTimer::singleShot(0, [act] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            act(dlg);
        });
        ASSERT_TRUE(Route(CAlbumDoc::kCmdShowSetup));
    };
    runWith([](QDialog* dlg) { dlg->accept(); });
    EXPECT_FALSE(d->IsModified());
    runWith([](QDialog* dlg) {
        auto* cursor = dlg->findChild<QCheckBox*>(QString::number(CShowSetupDlg::kCursor));
        ASSERT_NE(cursor, nullptr);
        cursor->setChecked(!cursor->isChecked());
        dlg->accept();
    });
    EXPECT_TRUE(d->IsModified());
    EXPECT_EQ(d->GetAlbum().m_showProps.m_bCursor, 0);
}

TEST_F(SlideShow, KeyDuringATransitionShowsThePhotoThenActs) {
    const std::string path = MakeAlbum("fx", 3);
    CSlideShowView* v = OpenShow(path);
    ASSERT_NE(v, nullptr);
    QTest::keyClick(v, Qt::Key_Space); // stop
    for (int i = 0; i < 3; ++i)
        v->GetDocument()->GetAlbum().GetShowElemProps(i).m_nEffect = CBlockEffects::kSpiralIn;
    v->GoToPhoto(1);
    // The key waits in the queue when the transition starts.
    QCoreApplication::postEvent(v, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
    v->ShowNewSlide();
    EXPECT_EQ(v->GetCurrentIndex(), 1);
    EXPECT_FALSE(v->GetState().m_bNewSlide);
    EXPECT_NEAR(qGray(Middle(v)), 60, 3); // the whole photo
    // Then Right acts.
    QApplication::processEvents();
    EXPECT_EQ(v->GetCurrentIndex(), 2);
}
