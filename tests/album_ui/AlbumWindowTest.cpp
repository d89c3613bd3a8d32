// The album window driven as a user drives it: opening, sizes, selection,
// keys, delete, drags within and between albums, saving, bad photo files,
// view switching and the tool bar.

#include "AlbumUiTestUtil.h"
#include "album/AlbumViewRules.h"
#include "album/CAlbum.h"
#include "album/CTnLayout.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CAlbumInfoDlg.h"
#include "album/ui/CPhotoListBox.h"
#include "album/ui/CTextDlg.h"
#include "album/ui/CTnView.h"
#include "app/CMainFrame.h"
#include "app/CZelApp.h"
#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CMDIChildWnd.h"
#include "imaging/CDib.h"
#include "print/CAlbumPrintJob.h"
#include "print/ui/CAlbumPrintDlg.h"
#include "print/ui/CImagePrintDlg.h"
#include "storage/formats/ImportExport.h"
#include "storage/install/IDriveList.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CBaseDoc.h"
#include "view/CBaseView.h"
#include "view/CImageEnhancerView.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AlbumWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_defaultAsk = CBaseDoc::s_askSaveName;
        SetDisplayDepth(24); // pixel checks assume a true-colour screen
        char tmpl[] = "/tmp/zozi-albumui-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_oldCwd = fs::current_path();
        fs::current_path(m_dir);
        CBaseDoc::s_askSaveName = [this](const std::string& proposal, const std::string&) {
            m_proposals.push_back(proposal);
            if (m_saveNames.empty()) return std::string();
            std::string n = m_saveNames.front();
            m_saveNames.pop_front();
            return n;
        };
        CTnView::SetDragBetweenAlbums(false);
    }
    void TearDown() override {
        CBaseDoc::s_askSaveName = m_defaultAsk;
        if (m_app) {
            for (const auto& t : m_app->GetTemplates())
                for (CDocument* d : std::vector<CDocument*>(t->GetDocuments())) {
                    d->SetModifiedFlag(false);
                    d->OnCloseDocument();
                }
        }
        m_app.reset();
        fs::current_path(m_oldCwd);
        fs::remove_all(m_dir);
    }
    // An album of n photos (photo i shaded 20 i, landscape unless listed as portrait).
    std::string MakeAlbum(const std::string& name, int n, int nScale = 1, std::vector<int> portrait = {}) {
        CUserPromptScope scope(&m_prompt);
        QLNI_Initialize(nullptr);
        std::vector<std::string> photos;
        for (int i = 0; i < n; ++i) {
            const std::string p = (m_dir / (name + std::to_string(i) + ".qln")).string();
            const bool bTall = std::find(portrait.begin(), portrait.end(), i) != portrait.end();
            MakePhoto(p, bTall ? 30 : 40, bTall ? 40 : 30, static_cast<uint8_t>(20 * i));
            photos.push_back(p);
        }
        const std::string path = (m_dir / (name + ".alb")).string();
        CAlbum album;
        album.m_nScale = nScale;
        album.m_strProvisionalPath = path;
        album.AddPhotos(photos);
        album.SaveFile(path);
        return path;
    }
    CZelApp& MakeApp() {
        CZelAppConfig cfg;
        cfg.strStorePath = (m_dir / "settings.ini").string();
        cfg.strLegacyDir = m_dir.string();
        cfg.strInstanceKey = "zozi-albumui-" + std::to_string(::getpid());
        cfg.bShowWindows = false;
        m_app = std::make_unique<CZelApp>(cfg);
        SetUserPrompt(&m_prompt);
        EXPECT_TRUE(m_app->InitApplication());
        EXPECT_TRUE(m_app->InitInstance("/E"));
        m_app->m_pMainWnd->resize(1000, 700);
        m_app->m_pMainWnd->show();
        return *m_app;
    }
    CTnView* Open(const std::string& path) {
        if (!m_app) MakeApp();
        CDocument* d = m_app->OpenDocumentFile(path);
        if (!d) return nullptr;
        for (CView* v : d->GetViews())
            if (auto* tn = dynamic_cast<CTnView*>(v)) {
                tn->GetParentFrame()->resize(700, 500);
                QApplication::processEvents();
                return tn;
            }
        return nullptr;
    }
    std::vector<std::string> Names(CTnView* v) {
        std::vector<std::string> names;
        const CAlbum& a = v->GetDocument()->GetAlbum();
        for (int i = 0; i < a.GetCount(); ++i) names.push_back(fs::path(a.GetPath(i)).stem().string());
        return names;
    }
    QRect ItemRect(CTnView* v, int i) {
        return v->GetListBox()->visualRect(v->GetListBox()->Model()->index(i, 0));
    }
    bool Route(unsigned nID) { return m_app->m_pMainWnd->RouteCommand(nID); }
    bool Checked(unsigned nID) {
        m_app->m_pMainWnd->UpdateCommandUI(nID);
        QAction* a = m_app->m_pMainWnd->CommandAction(nID);
        return a && a->isChecked();
    }
    bool Enabled(unsigned nID) {
        m_app->m_pMainWnd->UpdateCommandUI(nID);
        QAction* a = m_app->m_pMainWnd->CommandAction(nID);
        return a && a->isEnabled();
    }
    void Drag(QWidget* from, QPoint a, QWidget* to, QPoint b) {
        QTest::mousePress(from, Qt::LeftButton, {}, a);
        QMouseEvent move(QEvent::MouseMove, QPointF(b), QPointF(to->mapToGlobal(b)), Qt::NoButton,
                         Qt::LeftButton, {});
        QMouseEvent moveFrom(QEvent::MouseMove, QPointF(from->mapFromGlobal(to->mapToGlobal(b))),
                             QPointF(to->mapToGlobal(b)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(from, &moveFrom);
        QTest::mouseRelease(from, Qt::LeftButton, {}, from->mapFromGlobal(to->mapToGlobal(b)));
    }

    fs::path m_dir, m_oldCwd;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CZelApp> m_app;
    std::deque<std::string> m_saveNames;
    std::vector<std::string> m_proposals;
    std::function<std::string(const std::string&, const std::string&)> m_defaultAsk;
};

} // namespace

TEST_F(AlbumWindow, OpensWithItemsCellSizeAndTitle) {
    CTnView* v = Open(MakeAlbum("trip", 5, 2));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetListBox()->Model()->rowCount(), 5);
    const CTnLayout& l = v->GetLayout();
    EXPECT_EQ(l.m_thumb, CSize(102, 68));
    EXPECT_EQ(ItemRect(v, 0).size(), QSize(l.m_item.cx, l.m_item.cy));
    EXPECT_EQ(v->GetParentFrame()->windowTitle(), "trip.alb - Medium");
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    EXPECT_EQ(v->GetListBox()->SelectedIndexes(), std::vector<int>{0});
    // Only the cells on the screen have read their thumbnails.
    EXPECT_LE(v->GetDocument()->LoadedThumbnailCount(), 5);
    EXPECT_FALSE(v->GetDocument()->IsModified());
}

TEST_F(AlbumWindow, EmptyAlbumAndSizeCommands) {
    CTnView* v = Open(MakeAlbum("empty", 0, 1));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetListBox()->Model()->rowCount(), 0);
    EXPECT_EQ(v->GetListBox()->gridSize().width(), v->GetLayout().m_item.cx);
    EXPECT_TRUE(Checked(ID_TN_SIZE_SMALL));
    ASSERT_TRUE(Route(ID_TN_SIZE_LARGE));
    // An empty album: only the title changes.
    EXPECT_EQ(v->GetParentFrame()->windowTitle(), "empty.alb - Large");
    EXPECT_TRUE(Checked(ID_TN_SIZE_LARGE));
    EXPECT_FALSE(Checked(ID_TN_SIZE_SMALL));
    EXPECT_FALSE(v->GetDocument()->IsModified());
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));

    CTnView* w = Open(MakeAlbum("four", 4, 0));
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    w->GetListBox()->repaint();
    ASSERT_GT(w->GetDocument()->LoadedThumbnailCount(), 0);
    const int nWidth0 = w->GetLayout().m_item.cx;
    for (unsigned id : {ID_TN_SIZE_SMALL, ID_TN_SIZE_MEDIUM, ID_TN_SIZE_LARGE, ID_TN_SIZE_TINY}) {
        ASSERT_TRUE(Route(id));
        EXPECT_TRUE(Checked(id));
        EXPECT_EQ(w->GetDocument()->GetScale(), static_cast<int>(id - ID_TN_SIZE_TINY));
        EXPECT_EQ(ItemRect(w, 0).width(), w->GetLayout().m_item.cx);
    }
    EXPECT_EQ(w->GetLayout().m_item.cx, nWidth0);
    EXPECT_TRUE(w->GetDocument()->IsModified()); // thumbnails were loaded
    EXPECT_EQ(w->GetParentFrame()->windowTitle(), "four.alb - Tiny");
}

TEST_F(AlbumWindow, KeyboardSelectionAndEnter) {
    CTnView* v = Open(MakeAlbum("keys", 6));
    ASSERT_NE(v, nullptr);
    CPhotoListBox* lb = v->GetListBox();
    lb->setFocus();
    QTest::keyClick(lb, Qt::Key_Down);
    EXPECT_EQ(v->GetCurrentIndex(), 1);
    EXPECT_EQ(v->GetDocument()->GetCurrentPhoto(), 1);
    QTest::keyClick(lb, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(lb->SelectedIndexes(), (std::vector<int>{1, 2}));
    EXPECT_EQ(v->GetCurrentIndex(), 2);
    // Ctrl+click adds, a plain click selects one.
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, Qt::ControlModifier, ItemRect(v, 4).center());
    EXPECT_EQ(lb->SelectedIndexes(), (std::vector<int>{1, 2, 4}));
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, ItemRect(v, 5).center());
    EXPECT_EQ(lb->SelectedIndexes(), std::vector<int>{5});
    // Enter opens the current photo in a picture window.
    const size_t nFrames = m_app->m_pMainWnd->GetChildFrames().size();
    QTest::keyClick(lb, Qt::Key_Return);
    ASSERT_EQ(m_app->m_pMainWnd->GetChildFrames().size(), nFrames + 1);
    CView* pActive = m_app->m_pMainWnd->GetActiveView();
    ASSERT_NE(dynamic_cast<CImageEnhancerView*>(pActive), nullptr);
    EXPECT_EQ(pActive->GetDocument()->GetPathName(), v->GetDocument()->GetAlbum().GetPath(5));
}

TEST_F(AlbumWindow, DeleteReselects) {
    CTnView* v = Open(MakeAlbum("del", 5));
    ASSERT_NE(v, nullptr);
    CPhotoListBox* lb = v->GetListBox();
    // The last photo: the one before it.
    lb->SelectOnly(4);
    EXPECT_TRUE(Enabled(ID_TN_DELETE));
    ASSERT_TRUE(Route(ID_TN_DELETE));
    EXPECT_EQ(Names(v), (std::vector<std::string>{"del0", "del1", "del2", "del3"}));
    EXPECT_EQ(lb->SelectedIndexes(), std::vector<int>{3});
    EXPECT_EQ(v->GetCurrentIndex(), 3);
    EXPECT_TRUE(v->GetDocument()->IsModified());
    // The first visible photo: it stays the first, which is now the old second.
    lb->SelectOnly(0);
    lb->setFocus();
    QTest::keyClick(lb, Qt::Key_Delete);
    EXPECT_EQ(Names(v), (std::vector<std::string>{"del1", "del2", "del3"}));
    EXPECT_EQ(lb->SelectedIndexes(), std::vector<int>{0});
    // Several at once, then the rest.
    QItemSelection s;
    s.select(lb->Model()->index(1, 0), lb->Model()->index(2, 0));
    lb->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(Route(ID_TN_DELETE));
    EXPECT_EQ(Names(v), std::vector<std::string>{"del1"});
    EXPECT_EQ(v->GetCurrentIndex(), 0);
    lb->SelectOnly(0);
    ASSERT_TRUE(Route(ID_TN_DELETE));
    EXPECT_EQ(lb->Model()->rowCount(), 0);
    EXPECT_TRUE(lb->SelectedIndexes().empty());
    EXPECT_EQ(v->GetCurrentIndex(), -1);
    EXPECT_FALSE(Enabled(ID_TN_DELETE));
    EXPECT_TRUE(m_prompt.m_shown.empty()); // no question asked
}

TEST_F(AlbumWindow, DragWithinTheAlbum) {
    CTnView* v = Open(MakeAlbum("drag", 10));
    ASSERT_NE(v, nullptr);
    CPhotoListBox* lb = v->GetListBox();
    QWidget* vp = lb->viewport();
    // Below the threshold: a plain click, nothing moves.
    QItemSelection s;
    s.select(lb->Model()->index(0, 0), lb->Model()->index(1, 0));
    lb->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    const QPoint c0 = ItemRect(v, 0).center();
    QTest::mousePress(vp, Qt::LeftButton, {}, c0);
    QMouseEvent nudge(QEvent::MouseMove, QPointF(c0 + QPoint(8, 0)),
                      QPointF(vp->mapToGlobal(c0 + QPoint(8, 0))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(vp, &nudge);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, c0 + QPoint(8, 0));
    EXPECT_EQ(Names(v)[0], "drag0");
    EXPECT_EQ(lb->SelectedIndexes(), std::vector<int>{0});
    EXPECT_FALSE(v->GetDocument()->IsModified());
    // The click is the anchor of a Shift extension.
    QTest::keyClick(lb, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(lb->SelectedIndexes(), (std::vector<int>{0, 1}));
    lb->SelectOnly(0);
    // The first photo dropped on the fourth: it ends third.
    Drag(vp, c0, vp, ItemRect(v, 3).center());
    EXPECT_EQ(Names(v)[2], "drag0");
    EXPECT_EQ(Names(v)[0], "drag1");
    EXPECT_TRUE(v->GetDocument()->IsModified());
    // Indexes 7 and 8 dropped at position 2: 9, 8 (old numbering).
    s.clear();
    s.select(lb->Model()->index(7, 0), lb->Model()->index(8, 0));
    lb->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    Drag(vp, ItemRect(v, 7).center(), vp, ItemRect(v, 2).center());
    EXPECT_EQ(Names(v), (std::vector<std::string>{"drag1", "drag2", "drag8", "drag7", "drag0", "drag3",
                                                  "drag4", "drag5", "drag6", "drag9"}));
    // The file holds the new order after a save.
    ASSERT_TRUE(Route(ID_FILE_SAVE));
    CAlbum saved;
    saved.LoadFile(v->GetDocument()->GetPathName(), false);
    EXPECT_EQ(fs::path(saved.GetPath(2)).stem(), "drag8");
    EXPECT_FALSE(v->GetDocument()->IsModified());
}

TEST_F(AlbumWindow, DragBetweenAlbums) {
    CTnView* a = Open(MakeAlbum("src", 4));
    CTnView* b = Open(MakeAlbum("dst", 2, 2));
    ASSERT_TRUE(a && b);
    // Side by side, so each list is under the pointer where it is.
    a->GetParentFrame()->setGeometry(0, 0, 480, 500);
    b->GetParentFrame()->setGeometry(490, 0, 480, 500);
    QApplication::processEvents();
    QItemSelection s;
    s.select(a->GetListBox()->Model()->index(1, 0), a->GetListBox()->Model()->index(2, 0));
    a->GetListBox()->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    QWidget* va = a->GetListBox()->viewport();
    QWidget* vb = b->GetListBox()->viewport();
    // Mode off: nothing happens.
    Drag(va, ItemRect(a, 1).center(), vb, ItemRect(b, 1).center());
    EXPECT_EQ(Names(b), (std::vector<std::string>{"dst0", "dst1"}));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"src0", "src1", "src2", "src3"}));
    // Mode on (F2 command): copied in order at the drop position.
    ASSERT_TRUE(Route(ID_TN_DRAG_BETWEEN));
    EXPECT_TRUE(Checked(ID_TN_DRAG_BETWEEN));
    a->GetListBox()->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    m_prompt.m_status.clear();
    Drag(va, ItemRect(a, 1).center(), vb, ItemRect(b, 1).center());
    EXPECT_EQ(Names(b), (std::vector<std::string>{"dst0", "src1", "src2", "dst1"}));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"src0", "src1", "src2", "src3"}));
    EXPECT_TRUE(b->GetDocument()->IsModified());
    EXPECT_FALSE(a->GetDocument()->IsModified());
    EXPECT_EQ(b->GetListBox()->Model()->rowCount(), 4);
    ASSERT_FALSE(m_prompt.m_status.empty());
    EXPECT_NE(m_prompt.m_status.front().find("Reading file 1 out of 2 : "), std::string::npos);
    // A drop on something that is not a photo list does nothing.
    Drag(va, ItemRect(a, 1).center(), m_app->m_pMainWnd->menuBar(), QPoint(5, 5));
    EXPECT_EQ(Names(b).size(), 4u);
    Route(ID_TN_DRAG_BETWEEN);
    EXPECT_FALSE(Checked(ID_TN_DRAG_BETWEEN));
}

TEST_F(AlbumWindow, SaveModifiedAnswers) {
    const std::string path = MakeAlbum("ask", 3);
    CTnView* v = Open(path);
    ASSERT_NE(v, nullptr);
    CAlbumDoc* d = v->GetDocument();
    v->GetListBox()->SelectOnly(0);
    Route(ID_TN_DELETE);
    ASSERT_TRUE(Enabled(ID_FILE_SAVE));
    // Cancel keeps it open.
    m_prompt.m_answers = {IDCANCEL};
    EXPECT_FALSE(d->SaveModified());
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "Save changes to ask.alb?");
    EXPECT_EQ(m_prompt.m_shown[0].nType, unsigned(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
    // No discards: the file still has three photos.
    m_prompt.m_answers = {IDNO};
    EXPECT_TRUE(d->SaveModified());
    CAlbum a;
    a.LoadFile(path, false);
    EXPECT_EQ(a.GetCount(), 3);
    // Yes saves.
    d->SetModifiedFlag(false);
    v->GetListBox()->SelectOnly(0);
    Route(ID_TN_DELETE);
    m_prompt.m_answers = {IDYES};
    EXPECT_TRUE(d->SaveModified());
    a.LoadFile(path, false);
    EXPECT_EQ(a.GetCount(), 1);
}

TEST_F(AlbumWindow, SaveAsNewAlbum) {
    MakeApp();
    CDocTemplate* t = m_app->FindTemplate(RUNTIME_CLASS(CTnView));
    ASSERT_NE(t, nullptr);
    auto* d = dynamic_cast<CAlbumDoc*>(t->OpenDocumentFile(""));
    ASSERT_NE(d, nullptr);
    const std::string photo = (m_dir / "new0.qln").string();
    MakePhoto(photo, 40, 30, 100);
    d->AddImages({photo});
    EXPECT_TRUE(d->IsModified());
    // Save asks for a name: a cancelled dialog saves nothing.
    Route(ID_FILE_SAVE);
    ASSERT_EQ(m_proposals.size(), 1u);
    EXPECT_EQ(m_proposals[0], "Album1.alb");
    EXPECT_TRUE(d->IsModified());
    const std::string target = (m_dir / "mine.alb").string();
    m_saveNames = {target};
    Route(ID_FILE_SAVE_AS);
    EXPECT_FALSE(d->IsModified());
    EXPECT_EQ(d->GetPathName(), target);
    CAlbum a;
    a.LoadFile(target, false);
    EXPECT_EQ(a.GetCount(), 1);
    // A save that fails under a new name leaves no file behind.
    const std::string bad = (m_dir / "nodir" / "x.alb").string();
    m_saveNames = {bad};
    Route(ID_FILE_SAVE_AS);
    EXPECT_FALSE(fs::exists(bad));
    EXPECT_EQ(d->GetPathName(), target);
}

TEST_F(AlbumWindow, MissingAndDamagedPhotos) {
    const std::string path = MakeAlbum("bad", 4);
    // Missing at open: 1197 and out.
    fs::remove(m_dir / "bad1.qln");
    CTnView* v = Open(path);
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_NE(m_prompt.m_shown[0].text.find("Cannot find this file."), std::string::npos);
    EXPECT_EQ(Names(v), (std::vector<std::string>{"bad0", "bad2", "bad3"}));
    // Damaged while open: 1198 when its cell is drawn, and out.
    {
        std::ofstream f(m_dir / "bad2.qln", std::ios::binary | std::ios::trunc);
        f << "not a photo file";
    }
    v->GetDocument()->ReleaseThumbnails();
    v->GetListBox()->viewport()->repaint();
    QApplication::processEvents();
    ASSERT_EQ(m_prompt.m_shown.size(), 2u);
    EXPECT_NE(m_prompt.m_shown[1].text.find("Possible corrupted file"), std::string::npos);
    EXPECT_EQ(Names(v), (std::vector<std::string>{"bad0", "bad3"}));
    EXPECT_EQ(v->GetListBox()->Model()->rowCount(), 2);
    // Missing at save: 1197 again, the file saved without it.
    fs::remove(m_dir / "bad3.qln");
    ASSERT_TRUE(Route(ID_FILE_SAVE));
    ASSERT_EQ(m_prompt.m_shown.size(), 3u);
    EXPECT_NE(m_prompt.m_shown[2].text.find("Cannot find this file."), std::string::npos);
    CAlbum a;
    a.LoadFile(path, false);
    EXPECT_EQ(a.GetCount(), 1);
}

TEST_F(AlbumWindow, UnreadableAlbumOpensNoWindow) {
    MakeApp();
    const std::string path = (m_dir / "junk.alb").string();
    std::ofstream(path) << "junk";
    EXPECT_EQ(m_app->OpenDocumentFile(path), nullptr);
    EXPECT_TRUE(m_app->m_pMainWnd->GetChildFrames().empty());
    EXPECT_FALSE(m_prompt.m_shown.empty());
}

TEST_F(AlbumWindow, ViewSwitchingAndToolBar) {
    CTnView* v = Open(MakeAlbum("sw", 3));
    ASSERT_NE(v, nullptr);
    auto* frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetToolBarSet(), 1288);
    EXPECT_TRUE(Checked(ID_VIEW_ALBUM));
    // Album while the album is shown: the frame only comes back.
    v->GetParentFrame()->showMinimized();
    const size_t nFrames = frame->GetChildFrames().size();
    ASSERT_TRUE(Route(ID_VIEW_ALBUM));
    EXPECT_EQ(frame->GetChildFrames().size(), nFrames);
    EXPECT_FALSE(v->GetParentFrame()->isMinimized());
    // An album with photos can be shown.
    EXPECT_TRUE(Enabled(ID_SHOW_CURRENT));
    EXPECT_TRUE(Enabled(ID_VIEW_FULLSCREEN));
    // The enhancer on the current photo: the tool bar follows the active view.
    v->GetListBox()->SelectOnly(2);
    ASSERT_TRUE(Enabled(ID_VIEW_ENHANCER));
    ASSERT_TRUE(Route(ID_VIEW_ENHANCER));
    EXPECT_EQ(v->GetDocument()->GetCurrentPhoto(), 2);
    auto* pEnhancer = dynamic_cast<CImageEnhancerView*>(frame->GetActiveView());
    ASSERT_NE(pEnhancer, nullptr);
    EXPECT_EQ(frame->GetToolBarSet(), 1287);
    // In the picture window the album's view commands are off.
    EXPECT_FALSE(Enabled(ID_VIEW_ALBUM));
    EXPECT_FALSE(Enabled(ID_VIEW_ENHANCER));
    for (QAction* a : frame->ToolBar()->actions()) {
        if (a->isSeparator()) continue;
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    // Back to the album, then a second album window: the album set is not rebuilt.
    frame->MDIArea()->setActiveSubWindow(v->GetParentFrame());
    EXPECT_EQ(frame->GetToolBarSet(), 1288);
    const int nRebuilds = frame->GetToolBarRebuilds();
    CTnView* w = Open(MakeAlbum("sw2", 2));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frame->MDIGetActive(), w->GetParentFrame());
    EXPECT_EQ(frame->GetToolBarSet(), 1288);
    EXPECT_EQ(frame->GetToolBarRebuilds(), nRebuilds);
    for (QAction* a : frame->ToolBar()->actions()) {
        if (a->isSeparator()) continue;
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
}

TEST_F(AlbumWindow, RenderedCellMatchesLayout) {
    CTnView* v = Open(MakeAlbum("px", 2, 1, {1}));
    ASSERT_NE(v, nullptr);
    CPhotoListBox* lb = v->GetListBox();
    lb->scrollToTop();
    const QImage img = lb->viewport()->grab().toImage();
    const CTnLayout& l = v->GetLayout();
    const QPoint at = ItemRect(v, 0).topLeft();
    const QColor frameColour = v->palette().color(QPalette::Dark);
    // The picture frame's outer edge and the title rectangle's edge.
    EXPECT_EQ(img.pixelColor(at + QPoint(l.m_rcFrame.left, l.m_rcFrame.top + 20)).rgb(), frameColour.rgb());
    EXPECT_NE(img.pixelColor(at + QPoint(l.m_rcFrame.left - 1, l.m_rcFrame.top + 20)).rgb(),
              frameColour.rgb());
    EXPECT_EQ(img.pixelColor(at + QPoint(l.m_rcTitle.left + 3, l.m_rcTitle.top)).rgb(), frameColour.rgb());
    EXPECT_EQ(img.pixelColor(at + QPoint(l.m_rcTitle.right - 1, l.m_rcTitle.bottom - 1)).rgb(),
              frameColour.rgb());
    // Inside the title the selected item's highlight.
    EXPECT_EQ(
        img.pixelColor(at + QPoint(l.m_rcTitle.right - l.m_b - 2, l.m_rcTitle.bottom - l.m_b - 1)).rgb(),
        v->palette().color(QPalette::Highlight).rgb());
    // The thumbnail (shade 0) inside the landscape rectangle; the portrait one (shade 20) in its own.
    const QPoint land = at + QPoint(l.m_rcLandscape.left + l.m_b + 3, l.m_rcLandscape.top + l.m_b + 3);
    EXPECT_NEAR(img.pixelColor(land).green(), 0, 3);
    const QPoint at1 = ItemRect(v, 1).topLeft();
    const QPoint port = at1 + QPoint(l.m_rcPortrait.left + l.m_b + 3, l.m_rcPortrait.bottom - l.m_b - 4);
    EXPECT_NEAR(img.pixelColor(port).green(), 20, 3); // through JPEG
    // Beside the portrait rectangle lies the picture frame's button face.
    EXPECT_EQ(img.pixelColor(at1 + QPoint(l.m_rcPortrait.left - 2, l.m_rcPortrait.top + 10)).rgb(),
              v->palette().color(QPalette::Button).rgb());
}

namespace {

class CFakeDrives : public IDriveList {
public:
    std::vector<std::string> m_roots;
    std::vector<std::string> GetRemovableDrives() override { return m_roots; }
};

} // namespace

TEST_F(AlbumWindow, AddImagesCopiesFromRemovableDrives) {
    CTnView* v = Open(MakeAlbum("add", 1));
    ASSERT_NE(v, nullptr);
    fs::create_directories(m_dir / "card");
    fs::create_directories(m_dir / "disk");
    const std::string onCard = (m_dir / "card" / "roll.qln").string();
    const std::string onDisk = (m_dir / "disk" / "here.qln").string();
    MakePhoto(onCard, 40, 30, 60);
    MakePhoto(onDisk, 40, 30, 80);
    CFakeDrives drives;
    drives.m_roots = {(m_dir / "card").string()};
    SetDriveList(&drives);
    CAlbumDoc* d = v->GetDocument();
    EXPECT_TRUE(d->AddImages({onCard, onDisk}));
    SetDriveList(nullptr);
    // The card's picture was copied beside the album's photo files; the other is used in place.
    const std::vector<std::string> names = Names(v);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(d->GetAlbum().GetPath(1), onDisk);
    EXPECT_EQ(fs::path(d->GetAlbum().GetPath(2)).parent_path(), m_dir);
    EXPECT_TRUE(fs::exists(onCard));
    EXPECT_TRUE(d->IsModified());
    EXPECT_EQ(v->GetListBox()->Model()->rowCount(), 3);
    // The same picture again: declining to replace leaves it out, Cancel adds nothing at all.
    SetDriveList(&drives);
    const std::string second = (m_dir / "card" / "two.qln").string();
    MakePhoto(second, 40, 30, 90);
    m_prompt.m_answers = {2}; // "&No"
    EXPECT_TRUE(d->AddImages({onCard, second}));
    EXPECT_EQ(d->GetPhotoCount(), 4);
    m_prompt.m_answers = {3}; // "Cancel"
    EXPECT_FALSE(d->AddImages({second, onDisk}));
    SetDriveList(nullptr);
    EXPECT_EQ(d->GetPhotoCount(), 4);
}

TEST_F(AlbumWindow, PaletteDisplayDrawsFromDisplayCopies) {
    CTnView* v = Open(MakeAlbum("pal", 2));
    ASSERT_NE(v, nullptr);
    CAlbumDoc* d = v->GetDocument();
    ASSERT_EQ(d->GetThumbnail(0)->m_pDib->GetBitCount(), 24);
    SetDisplayDepth(8);
    // After the change of depth the thumbnail is read again as a display copy.
    const CTnCacheEntry* e = d->GetThumbnail(0);
    EXPECT_LE(e->m_pDib->GetBitCount(), 8);
    EXPECT_EQ(e->m_nDisplayBits, 8);
    v->GetListBox()->viewport()->repaint();
    SetDisplayDepth(24);
    EXPECT_EQ(d->GetThumbnail(0)->m_pDib->GetBitCount(), 24);
}

TEST_F(AlbumWindow, SaveDialogRefusesIllegalNames) {
    CTnView* v = Open(MakeAlbum("named", 1));
    ASSERT_NE(v, nullptr);
    CAlbumDoc* d = v->GetDocument();
    // The program's own dialog: a bad name is reported and the dialog stays.
    CBaseDoc::s_askSaveName = m_defaultAsk;
    const std::string good = (m_dir / "renamed.alb").string();
    std::vector<QString> proposals;
    int nDialogs = 0;
    int nWaits = 0;
    std::function<void()> answer = [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            QTimer::singleShot(20, answer);
            return;
        }
        auto* edit = dlg->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        // The dialog lists its folder in the background and then selects the
        // proposed file, which rewrites the name field: type only after that.
        auto* list = dlg->findChild<QListView*>("listView");
        if (nDialogs == 0 && list && !list->selectionModel()->hasSelection() && ++nWaits < 250) {
            QTimer::singleShot(20, answer);
            return;
        }
        // Typing into the focused field drops the list's selection; without
        // focus (offscreen) the selected file would win over the typed name.
        if (list) list->selectionModel()->clearSelection();
        if (++nDialogs == 1) {
            auto* help = dlg->findChild<QPushButton*>("help");
            ASSERT_NE(help, nullptr);
            help->click();
            proposals.push_back(edit->text());
            edit->setText("bad*name.alb");
            QTimer::singleShot(20, answer); // the dialog comes back
        } else {
            proposals.push_back(edit->text());
            edit->setText(QString::fromStdString(good));
        }
        QTest::keyClick(edit, Qt::Key_Return);
    };
    QTimer::singleShot(20, answer);
    ASSERT_TRUE(Route(ID_FILE_SAVE_AS));
    EXPECT_EQ(nDialogs, 2);
    ASSERT_EQ(proposals.size(), 2u);
    EXPECT_EQ(proposals[0], "named.alb");
    EXPECT_EQ(proposals[1], "bad*name.alb");
    ASSERT_FALSE(m_prompt.m_shown.empty());
    EXPECT_EQ(m_prompt.m_shown.back().text.substr(0, 18), "Illegal Filename:\n");
    EXPECT_EQ(d->GetPathName(), good);
    EXPECT_TRUE(fs::exists(good));
    EXPECT_EQ(m_prompt.m_help, std::vector<uint32_t>{0x27005});
    EXPECT_EQ(v->GetParentFrame()->windowTitle(), "renamed.alb - Small");
}

TEST_F(AlbumWindow, DragScrollsPastTheEdge) {
    CTnView* v = Open(MakeAlbum("scroll", 40, 3));
    ASSERT_NE(v, nullptr);
    CPhotoListBox* lb = v->GetListBox();
    QScrollBar* bar = lb->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QWidget* vp = lb->viewport();
    const QPoint c0 = ItemRect(v, 0).center();
    QTest::mousePress(vp, Qt::LeftButton, {}, c0);
    const QPoint out(vp->width() + 30, c0.y());
    QMouseEvent move(QEvent::MouseMove, QPointF(out), QPointF(vp->mapToGlobal(out)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(vp, &move);
    QTest::qWait(250);
    EXPECT_GE(bar->value(), v->GetLayout().m_item.cx); // at least one column per tick
    QTest::mouseRelease(vp, Qt::LeftButton, {}, out);
    EXPECT_EQ(Names(v)[0], "scroll0"); // released outside: nothing moved
}

TEST_F(AlbumWindow, TextAndInformationDialogs) {
    const std::string path = MakeAlbum("texts", 3, 3);
    CTnView* v = Open(path);
    ASSERT_NE(v, nullptr);
    CAlbum& album = v->GetDocument()->GetAlbum();
    {
        CTextDlg dlg(album, 1, v);
        EXPECT_EQ(dlg.ImageNumber()->currentIndex(), 1);
        EXPECT_EQ(dlg.Caption()->text(), "texts1.qln");
        EXPECT_EQ(dlg.Caption()->maxLength(), 128);
        dlg.Caption()->setText("Harbour");
        dlg.Description()->setPlainText(QString(1100, 'x'));
        EXPECT_EQ(dlg.Description()->toPlainText().size(), 1024);
        // Choosing another photo keeps what was typed for this one.
        dlg.ImageNumber()->setCurrentIndex(2);
        EXPECT_EQ(dlg.Caption()->text(), "texts2.qln");
        dlg.Caption()->setText("Beach");
        dlg.accept();
        EXPECT_TRUE(dlg.Changed());
    }
    EXPECT_EQ(album.GetPhotoTitle(1), "Harbour");
    EXPECT_EQ(album.GetPhotoDescription(1).size(), 1024u);
    EXPECT_EQ(album.GetPhotoTitle(2), "Beach");
    {
        CAlbumInfoDlg dlg(album, path, v);
        EXPECT_EQ(dlg.Field("Images:"), "3");
        EXPECT_EQ(dlg.Field("Thumbnail Size:"), "Large (136 x 91)");
        EXPECT_EQ(dlg.Field("File Name:"), "texts.alb");
        EXPECT_EQ(dlg.Field("Read Only:"), "No");
        EXPECT_TRUE(dlg.Field("Time:").endsWith("AM") || dlg.Field("Time:").endsWith("PM"));
        EXPECT_EQ(dlg.Field("Date:").count('/'), 2);
        dlg.accept();
        EXPECT_FALSE(dlg.Changed());
    }
}

TEST_F(AlbumWindow, PrintCommandsAndSelectionOrder) {
    ASSERT_NE(Open(MakeAlbum("noprint", 0, 1)), nullptr);
    EXPECT_FALSE(Enabled(ID_FILE_PRINT));
    EXPECT_FALSE(Enabled(ID_FILE_PRINT_PREVIEW));
    CTnView* v = Open(MakeAlbum("prints", 5));
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_PREVIEW));
    // The selection prints in the order it was made.
    CPhotoListBox* lb = v->GetListBox();
    lb->SelectOnly(3);
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, Qt::ControlModifier, ItemRect(v, 1).center());
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, Qt::ControlModifier, ItemRect(v, 4).center());
    EXPECT_EQ(lb->SelectedInOrder(), (std::vector<int>{3, 1, 4}));
    std::unique_ptr<CPrintDlg> dlg = v->CreatePrintDialog();
    auto* albumDlg = dynamic_cast<CAlbumPrintDlg*>(dlg.get());
    ASSERT_NE(albumDlg, nullptr);
    albumDlg->GetSelectedButton()->click();
    auto* job = dynamic_cast<CAlbumPrintJob*>(dlg->GetJob());
    ASSERT_NE(job, nullptr);
    ASSERT_EQ(job->ItemCount(), 3);
    EXPECT_EQ(job->ItemIndex(0), 3);
    EXPECT_EQ(job->ItemIndex(1), 1);
    EXPECT_EQ(job->ItemIndex(2), 4);
    dlg->reject();

    // A picture window prints its picture.
    ASSERT_TRUE(Route(ID_VIEW_ENHANCER));
    auto* pic = dynamic_cast<CImageEnhancerView*>(m_app->m_pMainWnd->GetActiveView());
    ASSERT_NE(pic, nullptr);
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    std::unique_ptr<CPrintDlg> picDlg = pic->CreatePrintDialog();
    EXPECT_NE(dynamic_cast<CImagePrintDlg*>(picDlg.get()), nullptr);
    picDlg->reject();
}
