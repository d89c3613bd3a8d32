// The picture window driven as a user drives it: the enable rules of its
// commands for every depth, zoom steps and captions, painting at a zoom,
// changes with undo and redo, duplicate, the clipboard, Save As in each
// family, and files that cannot be opened.

#include "album/AlbumPhotos.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CTnView.h"
#include "app/CZelApp.h"
#include "framework/CDC.h"
#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "imaging/CUndo.h"
#include "imaging/ops/COperationTable.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CImageEnhancerDoc.h"
#include "view/CImageEnhancerFullScreenView.h"
#include "view/CImageEnhancerView.h"
#include "view/CImageInfoDlg.h"
#include "view/CImpExpFileDialog.h"
#include "view/COperationDialogs.h"
#include "view/CZoomCursor.h"
#include "view/dialogs/EnhancerDialogs.h"

#include <QTest>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A 24-bit picture with a gradient, so that mirrors and crops show.
std::unique_ptr<CDib> Gradient(int w, int h) {
    auto dib = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = dib->GetRow(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x * 7);
            p[1] = static_cast<uint8_t>(y * 11);
            p[2] = static_cast<uint8_t>(x + y);
        }
    return dib;
}

bool SamePixels(CDib& a, CDib& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    std::vector<uint8_t> ra(static_cast<size_t>(a.GetWidth()) * 3), rb(ra.size());
    for (int y = 0; y < a.GetHeight(); ++y)
        if (std::memcmp(a.GetRowRGB(y, ra.data()), b.GetRowRGB(y, rb.data()), ra.size()) != 0) return false;
    return true;
}

class EnhancerWindow : public ::testing::Test {
protected:
    void SetUp() override {
        SetDisplayDepth(24);
        char tmpl[] = "/tmp/zozi-enhancer-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_oldAsk = CImageEnhancerDoc::s_askExportName;
        CImageEnhancerDoc::s_askExportName = [this](const std::string& proposal, int, int& nSaveType) {
            m_proposals.push_back(proposal);
            if (m_saveAs.empty()) return std::string();
            auto [name, type] = m_saveAs.front();
            m_saveAs.pop_front();
            nSaveType = type;
            return name;
        };
        CZelAppConfig cfg;
        cfg.strStorePath = (m_dir / "settings.ini").string();
        cfg.strLegacyDir = m_dir.string();
        cfg.strInstanceKey = "zozi-enhancer-" + std::to_string(::getpid());
        cfg.bShowWindows = false;
        m_app = std::make_unique<CZelApp>(cfg);
        SetUserPrompt(&m_prompt);
        ASSERT_TRUE(m_app->InitApplication());
        ASSERT_TRUE(m_app->InitInstance("/E"));
        m_app->m_pMainWnd->resize(1000, 700);
        m_app->m_pMainWnd->show();
        CUndo::InitUndo(true);
        QLNI_Initialize(nullptr);
    }
    void TearDown() override {
        for (const auto& t : m_app->GetTemplates())
            for (CDocument* d : std::vector<CDocument*>(t->GetDocuments())) {
                d->SetModifiedFlag(false);
                d->OnCloseDocument();
            }
        m_app.reset();
        CImageEnhancerDoc::s_askExportName = m_oldAsk;
        fs::remove_all(m_dir);
    }
    std::string MakePhoto(const std::string& name, int w = 40, int h = 30) {
        const std::string p = (m_dir / name).string();
        EXPECT_EQ(ExportPicture(*Gradient(w, h), 666, p), 1);
        return p;
    }
    CImageEnhancerView* Open(const std::string& path) {
        CDocument* d = m_app->OpenDocumentFile(path);
        return d ? ViewOf(d) : nullptr;
    }
    static CImageEnhancerView* ViewOf(CDocument* d) {
        for (CView* v : d->GetViews())
            if (auto* e = dynamic_cast<CImageEnhancerView*>(v)) return e;
        return nullptr;
    }
    CImageEnhancerView* Active() {
        return dynamic_cast<CImageEnhancerView*>(m_app->m_pMainWnd->GetActiveView());
    }
    bool Route(unsigned nID) { return m_app->m_pMainWnd->RouteCommand(nID); }
    static bool Enabled(CImageEnhancerView* v, unsigned nID) {
        CCmdUI ui(nID);
        return v->OnCmdMsg(nID, &ui) && ui.m_bEnabled;
    }

    fs::path m_dir;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CZelApp> m_app;
    std::deque<std::pair<std::string, int>> m_saveAs;
    std::vector<std::string> m_proposals;
    std::function<std::string(const std::string&, int, int&)> m_oldAsk;
};

} // namespace

TEST_F(EnhancerWindow, EnableRulesForEveryDepth) {
    CImageEnhancerView* v = Open(MakePhoto("rules.qln"));
    ASSERT_NE(v, nullptr);
    // Every dialog answers Cancel, so that only the rules decide.
    for (unsigned nID : {2038u, 2058u, 2037u, 2028u, 2120u, 2173u})
        if (!COperationDialogs::Has(nID))
            COperationDialogs::Register(nID, [](COperationDialogRequest&) { return false; });
    // Columns: 1, 4, 8 grey, 8 colour, 16, 24, 32 bits.
    struct Row {
        unsigned nID;
        int on[7];
    };
    const Row rows[] = {
        {2038, {0, 0, 1, 1, 1, 1, 1}},  // scale: bits ≥ 8
        {2058, {0, 0, 0, 0, 1, 1, 1}},  // crop: bits > 8 at 1:1
        {2034, {0, 0, 0, 0, 0, 1, 0}},  // rotate: 24 bits
        {2164, {0, 0, 0, 0, 0, 1, 0}},  // emboss: 24 bits
        {2050, {1, 1, 1, 1, 1, 0, 1}},  // true colour: not 24 bits
        {2126, {0, 0, 1, 1, 0, 0, 0}},  // 1-bit pattern: 8 bits
        {2051, {0, 0, 1, 1, 0, 0, 0}},  // grey palette: 8 bits
        {2054, {0, 1, 1, 1, 1, 1, 1}},  // 16 colours diffused: bits ≥ 4
        {2056, {0, 0, 1, 1, 1, 1, 1}},  // 8 colours pattern: bits ≥ 8
        {2028, {0, 0, 0, 0, 1, 1, 1}},  // negative: bits > 8
        {2123, {0, 0, 1, 0, 0, 0, 0}},  // false colour: a grey picture
        {2173, {0, 0, 1, 0, 1, 1, 1}},  // histogram: bits > 8 or grey
        {2119, {1, 1, 1, 1, 1, 1, 1}},  // count colours
        {2184, {1, 1, 1, 1, 1, 1, 1}},  // duplicate
        {2059, {1, 1, 1, 1, 1, 1, 1}},  // fit
        {57643, {0, 0, 0, 0, 0, 0, 0}}, // nothing to undo yet
    };
    auto* d = v->GetDocument();
    std::vector<std::unique_ptr<CDib>> pictures;
    pictures.push_back(std::make_unique<CDib>(1, 20, 10, nullptr));
    pictures.push_back(std::make_unique<CDib>(4, 20, 10, nullptr));
    pictures.push_back(std::make_unique<CDib>(20, 10, 8, 256, nullptr));
    RGBQUAD colors[256] = {};
    for (int i = 0; i < 256; ++i)
        colors[i] = RGBQUAD{static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i), 0};
    pictures.push_back(std::make_unique<CDib>(8, 20, 10, colors));
    pictures.push_back(std::make_unique<CDib>(16, 20, 10, nullptr));
    pictures.push_back(std::make_unique<CDib>(24, 20, 10, nullptr));
    pictures.push_back(std::make_unique<CDib>(32, 20, 10, nullptr));
    CUndo(nullptr, nullptr);
    for (int c = 0; c < 7; ++c) {
        d->SetDib(std::move(pictures[c]));
        for (const Row& r : rows)
            EXPECT_EQ(Enabled(v, r.nID), r.on[c] != 0) << "command " << r.nID << " column " << c;
    }
    // Zoomed, the crop goes grey; with the zoom tool the zoom commands stay.
    v->SetZoom(2);
    EXPECT_FALSE(Enabled(v, 2058));
    EXPECT_TRUE(Enabled(v, 2080));
}

TEST_F(EnhancerWindow, ZoomStepsLimitsAndCaptions) {
    EXPECT_EQ(CImageEnhancerView::NextZoomIn(-2), 1);
    EXPECT_EQ(CImageEnhancerView::NextZoomOut(1), -2);
    EXPECT_EQ(CImageEnhancerView::NextZoomIn(16), 16);
    EXPECT_EQ(CImageEnhancerView::NextZoomOut(-16), -16);
    EXPECT_EQ(CImageEnhancerView::NextZoomIn(-5), -4);
    CImageEnhancerView* v = Open(MakePhoto("cap.qln", 40, 30));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->FrameTitle("x"), "cap.qln (40 x 30 x 24 BPP)");
    ASSERT_TRUE(Route(2063));
    EXPECT_EQ(v->GetZoom(), 4);
    EXPECT_EQ(v->size(), QSize(160, 120));
    EXPECT_EQ(v->FrameTitle("x"), "cap.qln (Zoomed by 4 - 24 BPP)");
    ASSERT_TRUE(Route(2073));
    EXPECT_EQ(v->FrameTitle("x"), "cap.qln (Zoomed by 1/4 - 24 BPP)");
    EXPECT_EQ(v->size(), QSize(10, 7));
    ASSERT_TRUE(Route(2059));
    EXPECT_TRUE(v->IsFitToWindow());
    EXPECT_EQ(v->FrameTitle("x"), "cap.qln (Fitted - 24 BPP)");
    ASSERT_TRUE(Route(2059));
    EXPECT_FALSE(v->IsFitToWindow());
    ASSERT_TRUE(Route(2059));
    ASSERT_TRUE(Route(2060)); // actual size always leaves fit mode
    EXPECT_FALSE(v->IsFitToWindow());
    EXPECT_EQ(v->GetZoom(), 1);
    // The zoom tool: left in, right out, Escape leaves it at 1:1.
    ASSERT_TRUE(Route(ID_ZOOM_TOOL));
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(v->GetZoom(), 2);
    QTest::mouseClick(v, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseClick(v, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(v->GetZoom(), -2);
    QTest::keyClick(v, Qt::Key_Escape);
    EXPECT_EQ(v->GetToolKind(), EEnhancerTool::Default);
    EXPECT_EQ(v->GetZoom(), 1);
}

TEST_F(EnhancerWindow, PaintAtZoomMatchesStretchDraw) {
    CImageEnhancerView* v = Open(MakePhoto("paint.qln", 37, 23));
    ASSERT_NE(v, nullptr);
    for (int nZoom : {3, -3}) {
        v->SetZoom(nZoom);
        const QImage shown = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
        CDib* pDib = v->GetDocument()->GetDib();
        CRect src, dest;
        CImageEnhancerView::MapPaintRect(CRect(0, 0, shown.width(), shown.height()), nZoom, pDib->GetWidth(),
                                         pDib->GetHeight(), src, dest);
        QImage expect(shown.size(), QImage::Format_RGB32);
        expect.fill(QColor(192, 192, 192));
        QPainter painter(&expect);
        CQtDC dc(&painter);
        pDib->StretchDraw(dc, dest, src);
        painter.end();
        EXPECT_EQ(shown, expect) << "zoom " << nZoom;
    }
}

TEST_F(EnhancerWindow, ModifyCountThroughChangeUndoRedoSave) {
    const std::string path = MakePhoto("count.qln");
    CImageEnhancerView* v = Open(path);
    ASSERT_NE(v, nullptr);
    auto* d = v->GetDocument();
    auto original = std::make_unique<CDib>(*d->GetDib());
    ASSERT_TRUE(Route(2031)); // mirror
    EXPECT_TRUE(d->IsModified());
    EXPECT_FALSE(SamePixels(*d->GetDib(), *original));
    ASSERT_TRUE(Route(ID_EDIT_UNDO));
    EXPECT_FALSE(d->IsModified());
    EXPECT_TRUE(SamePixels(*d->GetDib(), *original));
    EXPECT_FALSE(Enabled(v, ID_EDIT_UNDO));
    ASSERT_TRUE(Route(ID_EDIT_REDO));
    EXPECT_TRUE(d->IsModified());
    ASSERT_TRUE(Route(2032)); // flip: two changes, one undone leaves it modified
    ASSERT_TRUE(Route(ID_EDIT_UNDO));
    EXPECT_TRUE(d->IsModified());
    EXPECT_EQ(d->GetModifyCount(), 1);
    ASSERT_TRUE(Route(ID_FILE_SAVE));
    EXPECT_FALSE(d->IsModified());
    EXPECT_EQ(d->GetModifyCount(), 0);
    std::unique_ptr<CDib> back;
    ASSERT_EQ(ImportPicture(path, back), 1);
    // A 24-bit photo file keeps its picture as JPEG: the size is what comes back exactly.
    EXPECT_EQ(back->GetWidth(), d->GetDib()->GetWidth());
    EXPECT_EQ(back->GetHeight(), d->GetDib()->GetHeight());
}

TEST_F(EnhancerWindow, DuplicateIsUntitledModifiedAndSavesAsSaveAs) {
    CImageEnhancerView* v = Open(MakePhoto("dup.qln"));
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(Route(2184));
    CImageEnhancerView* dup = Active();
    ASSERT_NE(dup, nullptr);
    ASSERT_NE(dup, v);
    EXPECT_TRUE(dup->GetDocument()->GetPathName().empty());
    EXPECT_TRUE(dup->GetDocument()->IsModified());
    EXPECT_TRUE(SamePixels(*dup->GetDocument()->GetDib(), *v->GetDocument()->GetDib()));
    const std::string target = (m_dir / "copy.qln").string();
    m_saveAs.push_back({target, kSaveTypePhoto});
    ASSERT_TRUE(Route(ID_FILE_SAVE));
    ASSERT_EQ(m_proposals.size(), 1u);
    EXPECT_EQ(dup->GetDocument()->GetPathName(), target);
    EXPECT_FALSE(dup->GetDocument()->IsModified());
    EXPECT_TRUE(fs::exists(target));
}

TEST_F(EnhancerWindow, CopyThenPasteRoundTrip) {
    CImageEnhancerView* a = Open(MakePhoto("a.qln", 40, 30));
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(Route(ID_EDIT_COPY));
    EXPECT_TRUE(CImageEnhancerView::ClipboardHasPicture());
    CImageEnhancerView* b = Open(MakePhoto("b.qln", 12, 9));
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(Active(), b);
    ASSERT_TRUE(Route(ID_EDIT_PASTE));
    EXPECT_TRUE(SamePixels(*b->GetDocument()->GetDib(), *a->GetDocument()->GetDib()));
    EXPECT_TRUE(b->GetDocument()->IsModified());
    ASSERT_TRUE(Route(ID_EDIT_UNDO));
    EXPECT_EQ(b->GetDocument()->GetDib()->GetWidth(), 12);
}

TEST_F(EnhancerWindow, SaveAsEveryFamily) {
    CImageEnhancerView* v = Open(MakePhoto("fam.qln", 33, 21));
    ASSERT_NE(v, nullptr);
    for (const char* ext : {"BMP", "TIF", "JPG", "PCX", "TGA", "PNG"}) {
        const int nType = SaveTypeFromExtension(ext, 24);
        ASSERT_NE(nType, 0) << ext;
        const std::string target = (m_dir / (std::string("out.") + ext)).string();
        m_saveAs.push_back({target, nType});
        ASSERT_TRUE(Route(ID_FILE_SAVE_AS));
        std::unique_ptr<CDib> back;
        ASSERT_EQ(ImportPicture(target, back), 1) << ext;
        EXPECT_EQ(back->GetWidth(), 33) << ext;
        EXPECT_EQ(back->GetHeight(), 21) << ext;
        EXPECT_EQ(v->GetDocument()->GetPathName(), target);
    }
    // The dialog's logic: a typed extension picks its own type.
    EXPECT_EQ(CImpExpFileDialog::SaveTypeForName("x.png", 24, kSaveTypePhoto),
              SaveTypeFromExtension("PNG", 24));
    EXPECT_EQ(CImpExpFileDialog::SaveTypeForName("x", 24, kSaveTypePhoto), kSaveTypePhoto);
}

TEST_F(EnhancerWindow, DamagedAndMissingFiles) {
    const std::string missing = (m_dir / "gone.qln").string();
    EXPECT_EQ(m_app->OpenDocumentFile(missing), nullptr);
    ASSERT_FALSE(m_prompt.m_shown.empty());
    EXPECT_NE(m_prompt.m_shown.back().text.find("Failed to open document"), std::string::npos);
    EXPECT_NE(m_prompt.m_shown.back().text.find(missing), std::string::npos);
    const std::string bad = (m_dir / "bad.bmp").string();
    std::ofstream(bad) << "BM this is not a picture at all";
    m_prompt.m_shown.clear();
    EXPECT_EQ(m_app->OpenDocumentFile(bad), nullptr);
    ASSERT_FALSE(m_prompt.m_shown.empty());
    EXPECT_NE(m_prompt.m_shown.back().text.find("An error was encountered while reading the file:"),
              std::string::npos);
    EXPECT_EQ(m_app->m_pMainWnd->GetActiveView(), nullptr);
}

TEST_F(EnhancerWindow, CropToolByMouse) {
    CImageEnhancerView* v = Open(MakePhoto("crop.qln", 80, 60));
    ASSERT_NE(v, nullptr);
    auto original = std::make_unique<CDib>(*v->GetDocument()->GetDib());
    ASSERT_TRUE(Route(ID_CROP_TOOL));
    EXPECT_EQ(v->GetToolKind(), EEnhancerTool::Crop);
    EXPECT_EQ(v->GetCropRect().size(), QSize(20, 15)); // a quarter of the visible picture
    EXPECT_FALSE(Enabled(v, 2080));                    // no zooming while cropping
    // A new rectangle from (10,5) to (29,24), then moved by (5,5) and clamped on the way.
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(10, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(29, 24), QPointF(v->mapToGlobal(QPoint(29, 24))),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(v, &move);
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(29, 24));
    EXPECT_EQ(v->GetCropRect(), QRect(QPoint(10, 5), QPoint(29, 24)));
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(15, 10));
    QMouseEvent far(QEvent::MouseMove, QPointF(500, 10), QPointF(v->mapToGlobal(QPoint(500, 10))),
                    Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(v, &far);
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(500, 10));
    EXPECT_EQ(v->GetCropRect(), QRect(QPoint(60, 5), QPoint(79, 24))); // kept inside the picture
    QTest::mouseDClick(v, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_EQ(v->GetToolKind(), EEnhancerTool::Default);
    CDib* pDib = v->GetDocument()->GetDib();
    ASSERT_EQ(pDib->GetWidth(), 20);
    ASSERT_EQ(pDib->GetHeight(), 20);
    // The inclusive rectangle's pixels, whichever way the rows are stored.
    std::vector<uint8_t> a(20 * 3), b(80 * 3);
    int nSame = 0;
    for (int y = 0; y < 20; ++y) {
        pDib->GetRowRGB(y, a.data());
        original->GetRowRGB(y + 5, b.data());
        nSame += std::memcmp(a.data(), b.data() + 60 * 3, a.size()) == 0;
    }
    EXPECT_EQ(nSame, 20);
    EXPECT_TRUE(v->GetDocument()->IsModified());
}

TEST_F(EnhancerWindow, FullScreenFitsOnBlackAndClosesOnAKey) {
    EXPECT_EQ(CImageEnhancerFullScreenView::FitRect(400, 300, 1000, 500), CRect(167, 0, 833, 500));
    EXPECT_EQ(CImageEnhancerFullScreenView::FitRect(400, 300, 800, 800), CRect(0, 100, 800, 700));
    CImageEnhancerView* v = Open(MakePhoto("full.qln", 40, 30));
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(Route(ID_VIEW_FULLSCREEN));
    CImageEnhancerFullScreenView* full = nullptr;
    for (CView* p : v->GetDocument()->GetViews())
        if (auto* f = dynamic_cast<CImageEnhancerFullScreenView*>(p)) full = f;
    ASSERT_NE(full, nullptr);
    full->resize(200, 100);
    const QImage shown = full->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(2, 50)), QColor(Qt::black)); // the bars at the sides
    EXPECT_NE(QColor(shown.pixel(100, 50)), QColor(Qt::black));
    QTest::keyClick(full, Qt::Key_Space);
    QTest::qWait(20);
    EXPECT_EQ(v->GetDocument()->GetViews().size(), 1u);
}

TEST_F(EnhancerWindow, ClipboardOutlivesTheWindowAndExitAsks) {
    CImageEnhancerView* v = Open(MakePhoto("clip.qln", 16, 8));
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(Route(ID_EDIT_COPY));
    CDocument* d = v->GetDocument();
    d->SetModifiedFlag(false);
    d->OnCloseDocument(); // the copy stays when its window closes
    EXPECT_TRUE(CImageEnhancerView::ClipboardHasPicture());
    CImageEnhancerView* b = Open(MakePhoto("other.qln", 5, 5));
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(Route(ID_EDIT_PASTE));
    EXPECT_EQ(b->GetDocument()->GetDib()->GetWidth(), 16);
    // On exit: No leaves the clipboard empty.
    m_prompt.m_answers.push_back(IDNO);
    CImageEnhancerView::OfferClipboardOnExit();
    if (QApplication::clipboard()->ownsClipboard() || !m_prompt.m_shown.empty()) {
        ASSERT_FALSE(m_prompt.m_shown.empty());
        EXPECT_NE(m_prompt.m_shown.back().text.find("There is image data on the clipboard."),
                  std::string::npos);
        EXPECT_FALSE(CImageEnhancerView::ClipboardHasPicture());
    }
}

TEST_F(EnhancerWindow, ArithmeticTakesItsTwoPicturesAmongTheOpenWindows) {
    CImageEnhancerView* a = Open(MakePhoto("one.qln", 40, 30));
    CImageEnhancerView* b = Open(MakePhoto("two.qln", 40, 30));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(Route(2031)); // the second picture mirrored, so the two differ
    // A dialog that offers what it was given and picks Image1 and Image2.
    std::vector<std::string> offered;
    COperationDialogs::Register(2178, [&](COperationDialogRequest& r) {
        for (const COpenPicture& p : r.m_openPictures) offered.push_back(p.m_strTitle);
        r.m_strImage1 = a->GetDocument()->GetTitle();
        r.m_values.Set("IN2", 0, b->GetDocument()->GetTitle());
        return true;
    });
    const bool bRouted = Route(2178);
    RegisterEnhancerDialogs(); // the real dialog again for the tests after this one
    ASSERT_TRUE(bRouted);
    EXPECT_EQ(offered,
              (std::vector<std::string>{a->GetDocument()->GetTitle(), b->GetDocument()->GetTitle()}));

    // The result opens in a new window; the two pictures stay as they were.
    CImageEnhancerView* result = Active();
    ASSERT_NE(result, nullptr);
    ASSERT_NE(result, a);
    ASSERT_NE(result, b);
    std::unique_ptr<CDib> expected = std::make_unique<CDib>(*a->GetDocument()->GetDib());
    COpValues values;
    values.Set("IN2", 0, "two");
    COpContext ctx{expected, values,
                   [&](const std::string&) { return std::make_unique<CDib>(*b->GetDocument()->GetDib()); }};
    COperationTable::Run(*COperationTable::FindById(2178), ctx);
    EXPECT_TRUE(SamePixels(*result->GetDocument()->GetDib(), *expected));
    EXPECT_FALSE(a->GetDocument()->IsModified());
}

namespace {
// Opens Image Information, reads every value label the dialog shows, and closes it.
std::map<std::string, std::string> InformationShown(const std::function<bool()>& route) {
    std::map<std::string, std::string> shown;
    QTimer::singleShot(0, [&] {
        auto* pDlg = dynamic_cast<CImageInfoDlg*>(QApplication::activeModalWidget());
        if (!pDlg) return;
        for (QLabel* pLabel : pDlg->findChildren<QLabel*>())
            if (!pLabel->objectName().isEmpty() && !pLabel->objectName().startsWith("qt_"))
                shown[pLabel->objectName().toStdString()] = pLabel->text().toStdString();
        pDlg->accept();
    });
    EXPECT_TRUE(route());
    return shown;
}
} // namespace

TEST_F(EnhancerWindow, ImageInformationShowsAlbumTextsAndTheFile) {
    const std::string photo = MakePhoto("info.qln", 40, 30);
    SetPhotoText(photo, QLNI_TAG_TEXT1, "Harbour at dusk");
    SetPhotoText(photo, QLNI_TAG_TEXT2, "Boats, gulls and the old lighthouse");
    ASSERT_NE(Open(photo), nullptr);
    auto shown = InformationShown([this] { return Route(2039); });
    EXPECT_EQ(shown["width"], "40");
    EXPECT_EQ(shown["height"], "30");
    EXPECT_EQ(shown["bits"], "24");
    EXPECT_EQ(shown["title"], "Harbour at dusk");
    EXPECT_EQ(shown["description"], "Boats, gulls and the old lighthouse");
    EXPECT_EQ(shown["file"], "info.qln");
    EXPECT_EQ(shown["format"], "Photo File");
    EXPECT_EQ(shown["size"], std::to_string(fs::file_size(photo)) + " bytes");
    EXPECT_EQ(shown["readonly"], "No");
    EXPECT_FALSE(shown["date"].empty());

    // A picture that is no photo file has no album texts.
    const std::string bmp = (m_dir / "plain.bmp").string();
    ASSERT_EQ(ExportPicture(*Gradient(12, 7), SaveTypeFromExtension("BMP", 24), bmp), 1);
    ASSERT_NE(Open(bmp), nullptr);
    shown = InformationShown([this] { return Route(2039); });
    EXPECT_EQ(shown["width"], "12");
    EXPECT_EQ(shown["file"], "plain.bmp");
    EXPECT_EQ(shown.count("title"), 0u);
    EXPECT_EQ(shown.count("description"), 0u);

    // An untitled duplicate shows the picture alone.
    ASSERT_TRUE(Route(2184));
    shown = InformationShown([this] { return Route(2039); });
    EXPECT_EQ(shown["width"], "12");
    EXPECT_EQ(shown.count("file"), 0u);
}

TEST_F(EnhancerWindow, ZoomToolCursorFollowsTheZoom) {
    auto image = [](const QCursor& c) { return c.pixmap().toImage(); };
    // Three different drawings, the hot spot in the lens.
    const QImage magnified = image(CZoomCursor::Get(CZoomCursor::Magnified));
    const QImage actual = image(CZoomCursor::Get(CZoomCursor::Actual));
    const QImage reduced = image(CZoomCursor::Get(CZoomCursor::Reduced));
    ASSERT_FALSE(actual.isNull());
    EXPECT_NE(magnified, actual);
    EXPECT_NE(reduced, actual);
    EXPECT_NE(magnified, reduced);
    EXPECT_TRUE(actual.rect().contains(CZoomCursor::Get(CZoomCursor::Actual).hotSpot()));

    CImageEnhancerView* v = Open(MakePhoto("cur.qln", 40, 30));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->cursor().shape(), Qt::ArrowCursor);
    ASSERT_TRUE(Route(ID_ZOOM_TOOL));
    EXPECT_EQ(image(v->cursor()), actual);
    const QPoint pt(5, 5);
    QTest::mouseClick(v, Qt::LeftButton, {}, pt);
    EXPECT_EQ(image(v->cursor()), magnified);
    QTest::mouseClick(v, Qt::RightButton, {}, pt); // back to 1:1
    EXPECT_EQ(image(v->cursor()), actual);
    QTest::mouseClick(v, Qt::RightButton, {}, pt);
    EXPECT_EQ(v->GetZoom(), -2);
    EXPECT_EQ(image(v->cursor()), reduced);
    // At the smallest and the largest zoom a further click changes nothing.
    v->SetZoom(-16);
    QTest::mouseClick(v, Qt::RightButton, {}, pt);
    EXPECT_EQ(v->GetZoom(), -16);
    EXPECT_EQ(image(v->cursor()), reduced);
    v->SetZoom(16);
    EXPECT_EQ(image(v->cursor()), magnified);
    QTest::mouseClick(v, Qt::LeftButton, {}, pt);
    EXPECT_EQ(v->GetZoom(), 16);
    EXPECT_EQ(image(v->cursor()), magnified);
    // Leaving the tool resets the zoom and gives the arrow back.
    QTest::keyClick(v, Qt::Key_Escape);
    EXPECT_EQ(v->GetZoom(), 1);
    EXPECT_EQ(v->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(EnhancerWindow, FailedSaveKeepsThePictureModified) {
    CImageEnhancerView* v = Open(MakePhoto("keep.qln", 20, 10));
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(Route(2031));
    ASSERT_TRUE(v->GetDocument()->IsModified());
    const std::string nowhere = (m_dir / "no-such-dir" / "out.bmp").string();
    m_saveAs.push_back({nowhere, SaveTypeFromExtension("BMP", 24)});
    m_prompt.m_answers.push_back(IDOK);
    Route(ID_FILE_SAVE_AS);
    EXPECT_FALSE(fs::exists(nowhere));
    ASSERT_FALSE(m_prompt.m_shown.empty());
    EXPECT_NE(m_prompt.m_shown.back().text.find("saving"), std::string::npos) << m_prompt.m_shown.back().text;
    EXPECT_TRUE(v->GetDocument()->IsModified());
    EXPECT_EQ(v->GetDocument()->GetModifyCount(), 1);
}

TEST_F(EnhancerWindow, SavedPhotoRefreshesItsAlbumThumbnails) {
    CDocTemplate* t = m_app->FindTemplate(RUNTIME_CLASS(CTnView));
    ASSERT_NE(t, nullptr);
    auto* album = dynamic_cast<CAlbumDoc*>(t->OpenDocumentFile(""));
    ASSERT_NE(album, nullptr);
    const std::string photo = MakePhoto("inalbum.qln", 64, 48);
    ASSERT_TRUE(album->AddImages({photo}));
    ASSERT_EQ(album->GetPhotoCount(), 1);
    // Blue grows from left to right; mirrored it falls.
    auto leftMinusRight = [&] {
        CDib* pThumb = album->GetThumbnail(0)->m_pDib.get();
        const int y = pThumb->GetHeight() / 2;
        std::vector<uint8_t> row(static_cast<size_t>(pThumb->GetWidth()) * 3);
        pThumb->GetRowRGB(y, row.data());
        return int(row[2]) - int(row[row.size() - 1]); // third byte of the first and last pixel
    };
    EXPECT_LT(leftMinusRight(), -50);

    CImageEnhancerView* v = Open(photo);
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(Route(2031));
    ASSERT_TRUE(Route(ID_FILE_SAVE));
    EXPECT_FALSE(v->GetDocument()->IsModified());
    EXPECT_EQ(album->LoadedThumbnailCount(), 0); // the album let go of the old one
    EXPECT_GT(leftMinusRight(), 50);
    album->SetModifiedFlag(false);
}
