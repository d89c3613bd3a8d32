// The album wizard driven as a user drives it: the chooser, each task clicked
// through to Finish, Cancel on every page, and the package, floppy and
// add-images tasks with their failures.

#include "album/CAlbum.h"
#include "album/ui/CAddImagesAlbWizDlg.h"
#include "album/ui/CAlbWizChooserDlg.h"
#include "album/ui/CAlbWizTitleDlg.h"
#include "album/ui/CAlbWizTnSizeDlg.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CAlbumWizard.h"
#include "album/ui/CAutoCreateAlbWiz3Dlg.h"
#include "album/ui/CAutoInstallAlbWiz3Dlg.h"
#include "album/ui/CParcelgramDlg.h"
#include "album/ui/CWizardPropertyPageBmp.h"
#include "album/ui/CWizardPropertySheet.h"
#include "app/CHelpWnd.h"
#include "app/CMainFrame.h"
#include "app/CZelApp.h"
#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/SystemInfo.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"
#include "storage/install/CxQLNArchiveWriter.h"
#include "storage/install/IDriveList.h"
#include "storage/photo/QlnPhotoFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void MakePhoto(const std::string& path, uint8_t shade) {
    CDib dib(24, 40, 30, nullptr);
    for (int y = 0; y < 30; ++y) std::memset(dib.GetRow(y), shade, static_cast<size_t>(dib.GetStride()));
    ASSERT_EQ(ExportPicture(dib, 666, path), 1);
}

// Runs f on the next modal window of type T once it is up.
template <class T> void WhenShown(std::function<void(T*)> f) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, f] {
        if (auto* w = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            f(w);
        }
    });
    timer->start();
}

void Click(QAbstractButton* b) {
    ASSERT_TRUE(b->isEnabled()) << b->text().toStdString();
    // Check boxes and radio buttons take clicks on their indicator.
    const bool bIndicator = qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b);
    QTest::mouseClick(b, Qt::LeftButton, {}, bIndicator ? QPoint(6, b->height() / 2) : QPoint());
}

template <class T> T* Page(CWizardPropertySheet* s) {
    return dynamic_cast<T*>(s->GetActivePage());
}

class CFakeDrives : public IDriveList {
public:
    std::vector<std::string> m_roots;
    std::vector<std::string> GetRemovableDrives() override { return m_roots; }
};

class CFixedSpace : public ISystemInfo {
public:
    uint64_t GetAvailableMemory() override { return 1ull << 30; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return m_nFree; }
    uint64_t m_nFree = 1ull << 40;
};

class AlbumWizard : public ::testing::Test {
protected:
    void SetUp() override {
        SetDisplayDepth(24);
        char tmpl[] = "/tmp/zozi-wizard-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_oldCwd = fs::current_path();
        fs::current_path(m_dir);
        CZelAppConfig cfg;
        cfg.strStorePath = (m_dir / "settings.ini").string();
        cfg.strLegacyDir = m_dir.string();
        cfg.strInstanceKey = "zozi-wizard-" + std::to_string(::getpid());
        cfg.bShowWindows = false;
        m_app = std::make_unique<CZelApp>(cfg);
        SetUserPrompt(&m_prompt);
        ASSERT_TRUE(m_app->InitApplication());
        ASSERT_TRUE(m_app->InitInstance("/E"));
        m_app->m_pMainWnd->show();
        fs::create_directories(m_dir / "images");
        m_app->m_settings.m_strImagesDir = (m_dir / "images").string();
        m_app->m_settings.m_strDownloadDir = (m_dir / "download").string();
        fs::create_directories(m_dir / "download");
        m_askFiles = CAutoCreateAlbWiz3Dlg::s_askFiles;
        m_browse = CParcelgramDlg::s_browseDir;
    }
    void TearDown() override {
        CAutoCreateAlbWiz3Dlg::s_askFiles = m_askFiles;
        CParcelgramDlg::s_browseDir = m_browse;
        SetDriveList(nullptr);
        SetSystemInfo(nullptr);
        for (CAlbumDoc* d : Albums()) {
            d->SetModifiedFlag(false);
            d->OnCloseDocument();
        }
        m_app.reset();
        fs::current_path(m_oldCwd);
        fs::remove_all(m_dir);
    }
    std::vector<CAlbumDoc*> Albums() { return m_app->MakeAlbumWizardHost().openAlbums(); }
    int Run(EWizTask task) {
        CAlbumWizardHost host = m_app->MakeAlbumWizardHost();
        return CAlbumWizard(host, m_app->m_pMainWnd).RunTask(task);
    }
    std::vector<std::string> Photos(int n, const std::string& stem) {
        std::vector<std::string> v;
        for (int i = 0; i < n; ++i) {
            v.push_back((m_dir / (stem + std::to_string(i) + ".qln")).string());
            MakePhoto(v.back(), static_cast<uint8_t>(30 * i));
        }
        return v;
    }
    // Clicks Next through the intro, title (given texts) and size (given scale) pages.
    static void Opening(CWizardPropertySheet* s, const std::string& title, int nScale) {
        Click(s->NextButton());
        auto* t = Page<CAlbWizTitleDlg>(s);
        ASSERT_NE(t, nullptr);
        t->TitleEdit()->setText(QString::fromStdString(title));
        t->DescriptionEdit()->setPlainText("Pictures of " + QString::fromStdString(title));
        Click(s->NextButton());
        auto* z = Page<CAlbWizTnSizeDlg>(s);
        ASSERT_NE(z, nullptr);
        Click(z->findChild<QRadioButton*>(QString("radio%1").arg(3172 + nScale)));
        Click(s->NextButton());
    }
    std::string MakePackage(const std::string& name, const std::vector<std::string>& photos) {
        const std::string path = (m_dir / "download" / name).string();
        CxQLNArchiveWriter w(path);
        for (const std::string& p : photos) w.AddFile(fs::path(p).filename().string(), p);
        w.Commit();
        return path;
    }

    fs::path m_dir, m_oldCwd;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CZelApp> m_app;
    CAutoCreateAlbWiz3Dlg::AskFiles m_askFiles;
    CParcelgramDlg::BrowseDir m_browse;
};

} // namespace

TEST_F(AlbumWizard, ChooserStartsOnFloppyAndStoresStartupBoxOnlyOnOk) {
    m_app->m_settings.m_bShowAlbWizard = 1;
    int nMessages = 0;
    WhenShown<CAlbWizChooserDlg>([&](CAlbWizChooserDlg* c) {
        EXPECT_TRUE(c->TaskButton(EWizTask::Floppy)->isChecked());
        EXPECT_EQ(c->Description()->text(),
                  "Helps you make a new album using all of the photos on a Diskfolio floppy disk.");
        EXPECT_FALSE(c->TaskButton(EWizTask::AddImages)->isEnabled()); // no album open
        Click(c->TaskButton(EWizTask::Package));
        EXPECT_EQ(c->Description()->text(),
                  "Helps you make a new album using all of the photos from a Parcelgram package.");
        EXPECT_TRUE(c->ShowBox()->isChecked());
        Click(c->ShowBox());
        WhenShown<QMessageBox>([&](QMessageBox* m) {
            ++nMessages;
            EXPECT_EQ(m->windowTitle(), "What's an album");
            EXPECT_TRUE(m->text().startsWith("An album is like"));
            m->accept();
        });
        Click(c->findChild<QPushButton*>("button3196"));
        c->reject();
    });
    CAlbumWizardHost host = m_app->MakeAlbumWizardHost();
    EXPECT_EQ(CAlbumWizard(host, m_app->m_pMainWnd).Run(), 0);
    EXPECT_EQ(nMessages, 1);
    EXPECT_EQ(m_app->m_settings.m_bShowAlbWizard, 1); // Cancel kept it

    WhenShown<CAlbWizChooserDlg>([&](CAlbWizChooserDlg* c) {
        Click(c->ShowBox());
        Click(c->TaskButton(EWizTask::Empty));
        WhenShown<CWizardPropertySheet>([](CWizardPropertySheet* s) { s->reject(); });
        c->accept();
    });
    EXPECT_EQ(CAlbumWizard(host, m_app->m_pMainWnd).Run(), 0);
    EXPECT_EQ(m_app->m_settings.m_bShowAlbWizard, 0);
    EXPECT_TRUE(Albums().empty());
}

TEST_F(AlbumWizard, EmptyAlbumTakesScaleButLeavesTheSetting) {
    m_app->m_settings.m_nThumbnailSize = 1;
    WhenShown<CWizardPropertySheet>([](CWizardPropertySheet* s) {
        EXPECT_EQ(s->windowTitle(), "Album Wizard - Step 1 of 4");
        EXPECT_FALSE(s->BackButton()->isEnabled());
        EXPECT_FALSE(s->FinishButton()->isEnabled());
        Opening(s, "Summer", 3);
        EXPECT_EQ(s->windowTitle(), "Album Wizard - Step 4 of 4");
        auto* fin = Page<CWizardPropertyPageBmp>(s);
        ASSERT_NE(fin, nullptr);
        EXPECT_EQ(fin->TextLabels().size(), 3u);
        EXPECT_FALSE(fin->findChild<QLabel*>("picture")->pixmap().isNull());
        EXPECT_FALSE(s->NextButton()->isEnabled());
        Click(s->FinishButton());
    });
    EXPECT_EQ(Run(EWizTask::Empty), 1);
    ASSERT_EQ(Albums().size(), 1u);
    CAlbumDoc* d = Albums()[0];
    EXPECT_EQ(d->GetAlbum().m_strTitle, "Summer");
    EXPECT_EQ(d->GetAlbum().m_strDescription, "Pictures of Summer");
    EXPECT_EQ(d->GetScale(), 3);
    EXPECT_EQ(d->GetPhotoCount(), 0);
    EXPECT_TRUE(d->IsModified());
    EXPECT_EQ(m_app->m_settings.m_nThumbnailSize, 1);
}

TEST_F(AlbumWizard, HardDiskTaskMakesAnAlbumOfTheListedFiles) {
    const std::vector<std::string> photos = Photos(3, "disk");
    CAutoCreateAlbWiz3Dlg::s_askFiles = [&](QWidget*) { return photos; };
    WhenShown<CWizardPropertySheet>([](CWizardPropertySheet* s) {
        Opening(s, "Garden", 0);
        auto* f = Page<CAutoCreateAlbWiz3Dlg>(s);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->findChild<QLabel*>("text3271")
                        ->text()
                        .startsWith("Press Add to choose the pictures for the new"));
        EXPECT_FALSE(f->RemoveButton()->isEnabled());
        Click(f->AddButton());
        ASSERT_EQ(f->List()->count(), 3);
        f->List()->item(1)->setSelected(true);
        Click(f->RemoveButton());
        EXPECT_EQ(f->List()->count(), 2);
        // Back and forth keeps the list.
        Click(s->BackButton());
        Click(s->NextButton());
        EXPECT_EQ(f->List()->count(), 2);
        Click(s->NextButton());
        EXPECT_EQ(s->windowTitle(), "Album Wizard - Step 5 of 5");
        Click(s->FinishButton());
    });
    EXPECT_EQ(Run(EWizTask::HardDisk), 1);
    ASSERT_EQ(Albums().size(), 1u);
    CAlbumDoc* d = Albums()[0];
    ASSERT_EQ(d->GetPhotoCount(), 2);
    EXPECT_EQ(d->GetAlbum().GetPath(0), photos[0]);
    EXPECT_EQ(d->GetAlbum().GetPath(1), photos[2]);
    EXPECT_EQ(d->GetScale(), 0);
    EXPECT_EQ(d->GetAlbum().m_strTitle, "Garden");
    EXPECT_TRUE(d->IsModified());
    EXPECT_TRUE(d->GetPathName().empty());

    // An empty list makes nothing.
    WhenShown<CWizardPropertySheet>([](CWizardPropertySheet* s) {
        Opening(s, "None", 1);
        Click(s->NextButton());
        Click(s->FinishButton());
    });
    EXPECT_EQ(Run(EWizTask::HardDisk), 1);
    EXPECT_EQ(Albums().size(), 1u);
}

TEST_F(AlbumWizard, CancelOnEveryPageMakesNothing) {
    Photos(1, "x");
    const auto before = m_app->m_settings.m_nThumbnailSize;
    for (EWizTask task : {EWizTask::Floppy, EWizTask::HardDisk, EWizTask::Package, EWizTask::Empty}) {
        const size_t nPages = GetWizardPages(task).size();
        for (size_t i = 0; i < nPages; ++i) {
            WhenShown<CWizardPropertySheet>([i](CWizardPropertySheet* s) {
                // The floppy and package pages are passed without a disk or package chosen.
                for (size_t k = 0; k < i; ++k) {
                    if (auto* z = Page<CAlbWizTnSizeDlg>(s)) z->SetScale(3);
                    if (Page<CAutoInstallAlbWiz3Dlg>(s)) return s->reject();
                    Click(s->NextButton());
                }
                Click(s->CancelButton());
            });
            EXPECT_EQ(Run(task), 0);
        }
    }
    EXPECT_TRUE(Albums().empty());
    EXPECT_EQ(m_app->m_settings.m_nThumbnailSize, before);
    EXPECT_TRUE(fs::exists(m_dir / "download")); // nothing extracted or removed
}

TEST_F(AlbumWizard, PackageTaskExtractsMakesAlbumAndDeletesPackage) {
    const std::vector<std::string> photos = Photos(2, "pkg");
    const std::string package = MakePackage("Roll42.VRZ", photos);
    m_app->m_settings.m_bDeleteWhenThrough = 1;
    WhenShown<CWizardPropertySheet>([&](CWizardPropertySheet* s) {
        Opening(s, "Parcel", 2);
        auto* p = Page<CParcelgramDlg>(s);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->GetCurrentDir(), (m_dir / "download").string());
        ASSERT_EQ(p->Packages()->count(), 1);
        EXPECT_EQ(p->Packages()->item(0)->text(), "roll42.vrz");
        EXPECT_TRUE(p->DeleteBox()->isChecked());
        EXPECT_EQ(p->GetTargetDir(), (m_dir / "download" / "roll42").string());
        Click(s->NextButton());
        Click(s->FinishButton());
    });
    EXPECT_EQ(Run(EWizTask::Package), 1);
    EXPECT_FALSE(fs::exists(package));
    ASSERT_EQ(Albums().size(), 1u);
    CAlbumDoc* d = Albums()[0];
    ASSERT_EQ(d->GetPhotoCount(), 2);
    EXPECT_EQ(d->GetAlbum().GetPath(0), (m_dir / "download" / "roll42" / "pkg0.qln").string());
    EXPECT_TRUE(fs::exists(d->GetAlbum().GetPath(1)));
    EXPECT_EQ(d->GetScale(), 2);
    EXPECT_TRUE(d->IsModified());
    EXPECT_TRUE(m_prompt.m_shown.empty());
}

TEST_F(AlbumWizard, PackageFailuresMakeNoAlbum) {
    const std::vector<std::string> photos = Photos(2, "bad");
    const std::string package = MakePackage("roll.vrz", photos);
    auto finish = [](CWizardPropertySheet* s) {
        Opening(s, "Bad", 1);
        Click(s->NextButton());
        Click(s->FinishButton());
    };
    // A full destination drive.
    CFixedSpace space;
    space.m_nFree = 100;
    SetSystemInfo(&space);
    WhenShown<CWizardPropertySheet>(finish);
    EXPECT_EQ(Run(EWizTask::Package), 1);
    SetSystemInfo(nullptr);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_TRUE(m_prompt.m_shown[0].text.starts_with("Not enought storage available on "));
    // A directory that cannot be made (a file has its name).
    std::ofstream(m_dir / "download" / "roll") << "in the way";
    WhenShown<CWizardPropertySheet>(finish);
    EXPECT_EQ(Run(EWizTask::Package), 1);
    ASSERT_EQ(m_prompt.m_shown.size(), 2u);
    EXPECT_EQ(m_prompt.m_shown[1].text,
              "Error creating directory " + (m_dir / "download" / "roll").string() + ". Aborting...");
    fs::remove(m_dir / "download" / "roll");
    // A damaged package.
    std::fstream f(package, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(20 + 272 + 3);
    f.put('\x55');
    f.close();
    WhenShown<CWizardPropertySheet>(finish);
    EXPECT_EQ(Run(EWizTask::Package), 1);
    ASSERT_EQ(m_prompt.m_shown.size(), 3u);
    EXPECT_NE(m_prompt.m_shown[2].text.find("possibly corrupted"), std::string::npos);
    EXPECT_TRUE(fs::exists(package));
    EXPECT_TRUE(Albums().empty());
}

TEST_F(AlbumWizard, PackagePageAsksForADirectoryUntilOneWorks) {
    m_app->m_settings.m_strDownloadDir.clear();
    std::vector<std::string> answers{(m_dir / "missing").string(), (m_dir / "download").string()};
    int nAsked = 0;
    CParcelgramDlg::s_browseDir = [&](QWidget*, const std::string&) { return answers[nAsked++]; };
    MakePackage("a.vrz", Photos(1, "a"));
    fs::create_directories(m_dir / "download" / "sub");
    WhenShown<CWizardPropertySheet>([&](CWizardPropertySheet* s) {
        Opening(s, "Where", 1);
        auto* p = Page<CParcelgramDlg>(s);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->GetCurrentDir(), (m_dir / "download").string());
        EXPECT_EQ(p->Packages()->count(), 1);
        // Into the sub-directory (no packages there) and back up.
        auto items = p->Directories()->findItems("[sub]", Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        emit p->Directories()->itemActivated(items[0]);
        EXPECT_EQ(p->Packages()->count(), 0);
        EXPECT_TRUE(p->GetPackagePath().empty());
        emit p->Directories()->itemActivated(p->Directories()->item(0));
        EXPECT_EQ(p->Packages()->count(), 1);
        s->reject();
    });
    EXPECT_EQ(Run(EWizTask::Package), 0);
    EXPECT_EQ(nAsked, 2);
    EXPECT_TRUE(m_app->m_settings.m_strDownloadDir.empty());
    EXPECT_FALSE(CParcelgramDlg::IsWritableDir("/proc"));
    EXPECT_TRUE(CParcelgramDlg::IsWritableDir(m_dir.string()));
    EXPECT_FALSE(fs::exists(m_dir / "QLN_BLAH"));
}

TEST_F(AlbumWizard, FloppyTaskInstallsTheRollAndMakesTheAlbum) {
    fs::create_directories(m_dir / "floppy" / "ROLL0001.ROL");
    Photos(2, "src");
    fs::rename(m_dir / "src0.qln", m_dir / "floppy" / "ROLL0001.ROL" / "12345678.#01");
    fs::rename(m_dir / "src1.qln", m_dir / "floppy" / "ROLL0001.ROL" / "PHOTO.QLN");
    CFakeDrives drives;
    drives.m_roots = {(m_dir / "floppy").string()};
    SetDriveList(&drives);
    WhenShown<CWizardPropertySheet>([&](CWizardPropertySheet* s) {
        Opening(s, "Floppy", 1);
        auto* f = Page<CAutoInstallAlbWiz3Dlg>(s);
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(f->DriveBox()->count(), 1);
        EXPECT_EQ(f->DriveBox()->currentText().toStdString(), (m_dir / "floppy").string());
        Click(s->NextButton());
        // Installed during the page: going back is closed.
        EXPECT_EQ(f->GetInstalledFiles().size(), 2u);
        EXPECT_FALSE(s->BackButton()->isEnabled());
        Click(s->FinishButton());
    });
    EXPECT_EQ(Run(EWizTask::Floppy), 1);
    EXPECT_TRUE(fs::exists(m_dir / "images" / "12345678_01.QLN"));
    EXPECT_TRUE(fs::exists(m_dir / "images" / "PHOTO.QLN"));
    ASSERT_EQ(Albums().size(), 1u);
    EXPECT_EQ(Albums()[0]->GetPhotoCount(), 2);
    EXPECT_EQ(Albums()[0]->GetAlbum().m_strTitle, "Floppy");
}

TEST_F(AlbumWizard, FloppyPageRefusesADiskWithoutRoll) {
    fs::create_directories(m_dir / "floppy");
    std::ofstream(m_dir / "floppy" / "X.rol") << "not a directory";
    CFakeDrives drives;
    drives.m_roots = {(m_dir / "floppy").string()};
    SetDriveList(&drives);
    WhenShown<CWizardPropertySheet>([&](CWizardPropertySheet* s) {
        Opening(s, "Floppy", 1);
        Click(s->NextButton());
        EXPECT_NE(Page<CAutoInstallAlbWiz3Dlg>(s), nullptr); // the page stays
        s->reject();
    });
    EXPECT_EQ(Run(EWizTask::Floppy), 0);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "The floppy disk is not a Diskfolio disk");
    EXPECT_TRUE(Albums().empty());
}

TEST_F(AlbumWizard, AddImagesTaskAddsToTheChosenAlbum) {
    EXPECT_EQ(Run(EWizTask::AddImages), 0); // no album open: nothing to add to
    const std::vector<std::string> photos = Photos(3, "add");
    CAlbum album;
    album.m_strProvisionalPath = (m_dir / "mine.alb").string();
    album.AddPhotos({photos[0]});
    album.SaveFile((m_dir / "mine.alb").string());
    ASSERT_NE(m_app->OpenDocumentFile((m_dir / "mine.alb").string()), nullptr);
    CAlbumDoc* d = Albums().at(0);
    EXPECT_FALSE(d->IsModified());
    CAutoCreateAlbWiz3Dlg::s_askFiles = [&](QWidget*) {
        return std::vector<std::string>{photos[1], photos[2]};
    };
    WhenShown<CWizardPropertySheet>([&](CWizardPropertySheet* s) {
        Click(s->NextButton());
        auto* c = Page<CAddImagesAlbWizDlg>(s);
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->AlbumBox()->count(), 1);
        // With no album chosen the page stays.
        c->AlbumBox()->setCurrentIndex(-1);
        Click(s->NextButton());
        EXPECT_EQ(s->GetActivePage(), c);
        c->AlbumBox()->setCurrentIndex(0);
        Click(s->NextButton());
        auto* f = Page<CAutoCreateAlbWiz3Dlg>(s);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->findChild<QLabel*>("text3271")->text().contains("to add to the album"));
        Click(f->AddButton());
        Click(s->NextButton());
        EXPECT_EQ(s->windowTitle(), "Album Wizard - Step 4 of 4");
        Click(s->FinishButton());
    });
    EXPECT_EQ(Run(EWizTask::AddImages), 1);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "You must select an album in order to add images to it");
    EXPECT_EQ(Albums().size(), 1u);
    EXPECT_EQ(d->GetPhotoCount(), 3);
    EXPECT_TRUE(d->IsModified());
}

TEST_F(AlbumWizard, CommandIsEnabledAndRunsTheChooser) {
    m_app->m_pMainWnd->UpdateCommandUI(ID_ALBUM_WIZARD);
    QAction* a = m_app->m_pMainWnd->CommandAction(ID_ALBUM_WIZARD);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isEnabled());
    bool bShown = false;
    WhenShown<CAlbWizChooserDlg>([&](CAlbWizChooserDlg* c) {
        bShown = true;
        c->reject();
    });
    m_app->m_pMainWnd->RouteCommand(ID_ALBUM_WIZARD);
    EXPECT_TRUE(bShown);
    EXPECT_TRUE(Albums().empty());
}

TEST(AlbumWizardStart, FollowsTheSplashAndCancelLeavesTheEmptyWindow) {
    char tmpl[] = "/tmp/zozi-wizstart-XXXXXX";
    const fs::path dir = ::mkdtemp(tmpl);
    const fs::path oldCwd = fs::current_path();
    fs::current_path(dir);
    uint32_t nNow = 1000;
    CScriptedPrompt prompt;
    {
        CZelAppConfig cfg;
        cfg.strStorePath = (dir / "settings.ini").string();
        cfg.strLegacyDir = dir.string();
        cfg.strInstanceKey = "zozi-wizstart-" + std::to_string(::getpid());
        cfg.bShowWindows = false;
        cfg.clock = [&] { return nNow; };
        CZelApp app(cfg);
        SetUserPrompt(&prompt);
        ASSERT_TRUE(app.InitApplication());
        ASSERT_TRUE(app.InitInstance(""));
        ASSERT_NE(app.GetSplash(), nullptr);
        EXPECT_EQ(app.m_settings.m_bShowAlbWizard, 1);
        int nChooser = 0;
        WhenShown<CAlbWizChooserDlg>([&](CAlbWizChooserDlg* c) {
            ++nChooser;
            Click(c->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
        });
        nNow += 60000;
        app.OnIdle(0);
        EXPECT_EQ(app.GetSplash(), nullptr);
        EXPECT_EQ(nChooser, 1);
        ASSERT_NE(app.m_pMainWnd, nullptr);
        for (const auto& t : app.GetTemplates()) EXPECT_TRUE(t->GetDocuments().empty());
        EXPECT_EQ(app.m_settings.m_bShowAlbWizard, 1);
        SetUserPrompt(nullptr);
    }
    fs::current_path(oldCwd);
    fs::remove_all(dir);
}

TEST_F(AlbumWizard, HelpOpensTheWizardSection) {
    std::vector<uint32_t> contexts;
    struct CHelpPrompt : CScriptedPrompt {
        std::vector<uint32_t>* m_pSeen;
        void ShowHelp(uint32_t n) override { m_pSeen->push_back(n); }
    } prompt;
    prompt.m_pSeen = &contexts;
    SetUserPrompt(&prompt);
    WhenShown<CWizardPropertySheet>([](CWizardPropertySheet* s) {
        Click(s->HelpButton());
        Click(s->NextButton());
        Click(s->HelpButton());
        s->reject();
    });
    EXPECT_EQ(Run(EWizTask::Empty), 0);
    SetUserPrompt(&m_prompt);
    EXPECT_EQ(contexts, (std::vector<uint32_t>{1249, 1250}));
    EXPECT_EQ(CHelpWnd::SectionFor(1289), "The album wizard");
}

TEST_F(AlbumWizard, TitlePageDefaultsAndLimits) {
    CAlbWizTitleDlg page(1306);
    EXPECT_EQ(page.GetAlbumTitle(), "Untitled");
    EXPECT_EQ(page.GetAlbumDescription(), "No Description");
    page.TitleEdit()->clear();
    QTest::keyClicks(page.TitleEdit(), QString(300, 'x'));
    EXPECT_EQ(page.GetAlbumTitle().size(), 256u);
    page.DescriptionEdit()->setPlainText(QString(3000, 'y'));
    EXPECT_EQ(page.DescriptionEdit()->toPlainText().size(), 2048);
    EXPECT_EQ(page.GetAlbumDescription().size(), 2048u);
    // The size page starts at the setting; an unknown one falls back to Small.
    CAlbWizTnSizeDlg size(1307, 2);
    EXPECT_EQ(size.GetScale(), 2);
    const QSize medium = size.Preview()->iconSize();
    size.SetScale(0);
    EXPECT_LT(size.Preview()->iconSize().width(), medium.width());
    CAlbWizTnSizeDlg odd(1307, 9);
    EXPECT_EQ(odd.GetScale(), 1);
}
