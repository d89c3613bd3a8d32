#include "PackageTestUtil.h"

#include "framework/CAppException.h"
#include "framework/ReportException.h"
#include "framework/UserPrompt.h"
#include "storage/install/CDiskfolioDisk.h"
#include "storage/install/CImageInstaller.h"
#include "storage/install/CLinuxDriveList.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CFakeDriveList : public IDriveList {
public:
    std::vector<std::string> GetRemovableDrives() override { return m_roots; }
    std::vector<std::string> m_roots;
};

std::string AppErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const CAppException& e) {
        return e.m_strText;
    }
    return "(no error)";
}

TEST(TargetName, NumberedFilesAndOthers) {
    EXPECT_EQ(CImageInstaller::MakeTargetName("/media/a/X.ROL/12345678.#07", "/img"), "/img/12345678_07.QLN");
    EXPECT_EQ(CImageInstaller::MakeTargetName("/media/a/X.ROL/12345678.#07", "/img", false),
              "/img/45678_07.QLN");
    EXPECT_EQ(CImageInstaller::MakeTargetName("/media/a/X.ROL/PHOTO.QLN", "/img/"), "/img/PHOTO.QLN");
    // Other lengths of base name: base, "_" and the digits.
    EXPECT_EQ(CImageInstaller::MakeTargetName("ABC.#12", "d"), "d/ABC_12.QLN");
    EXPECT_EQ(CImageInstaller::MakeTargetName("ABC.#12", "d", false), "d/ABC_12.QLN");
    EXPECT_EQ(CImageInstaller::MakeTargetName("123456789.#05", "d"), "d/123456789_05.QLN");
    EXPECT_EQ(CImageInstaller::MakeTargetName("123456789.#05", "d", false), "d/56789_05.QLN");
    // Not the disk's numbering: kept as they are.
    for (const char* name : {"A.#1X", "A.#123", "A.#1", "A.x07", "NOEXT", "a.b.#0"})
        EXPECT_EQ(CImageInstaller::MakeTargetName(std::string("/f/") + name, "d"), std::string("d/") + name);
    EXPECT_EQ(CImageInstaller::MakeTargetName("/f/a.b.#00", "d"), "d/a.b_00.QLN");
}

class FloppyTest : public ::testing::Test {
protected:
    CScratchDir m_dir;
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};
    CFakeDriveList m_drives;
    std::string m_strCwd = fs::current_path().string();

    void SetUp() override { SetDriveList(&m_drives); }
    void TearDown() override {
        SetDriveList(nullptr);
        CImageInstaller::SetClosePhotoFileHook(nullptr);
    }
};

TEST_F(FloppyTest, ScanListsTheRollDirectory) {
    std::string root = m_dir / "floppy";
    fs::create_directories(root + "/X.ROL/sub");
    WriteText(root + "/X.ROL/12345678.#02", "2");
    WriteText(root + "/X.ROL/12345678.#01", "1");
    WriteText(root + "/readme.txt", "r");
    std::vector<std::string> files{"stale"};
    CDiskfolioDisk::ScanDisk(root, files);
    EXPECT_EQ(files, (std::vector<std::string>{root + "/X.ROL/12345678.#01", root + "/X.ROL/12345678.#02"}));
    EXPECT_EQ(fs::current_path().string(), m_strCwd);
    EXPECT_TRUE(CDiskfolioDisk::ScanForNextStep(root, files));
}

TEST_F(FloppyTest, ScanRefusesOtherDisks) {
    std::vector<std::string> files;
    std::string root = m_dir / "floppy";
    fs::create_directories(root);
    EXPECT_EQ(AppErrorText([&] { CDiskfolioDisk::ScanDisk(root, files); }),
              "The floppy disk is not a Diskfolio disk: No rol dir was found.");
    WriteText(root + "/X.rol", "a file, not a directory");
    EXPECT_EQ(AppErrorText([&] { CDiskfolioDisk::ScanDisk(root, files); }),
              "The floppy disk is not a Diskfolio disk");
    EXPECT_EQ(fs::current_path().string(), m_strCwd);

    try {
        CDiskfolioDisk::ScanDisk(m_dir / "no-drive", files);
        ADD_FAILURE();
    } catch (const CAppException& e) {
        EXPECT_EQ(GetExceptionMessage(e), "Setting directory failed.");
    }
    EXPECT_EQ(fs::current_path().string(), m_strCwd);

    // The drive page: a failure or an empty roll is reported, the page stays.
    EXPECT_FALSE(CDiskfolioDisk::ScanForNextStep(root, files));
    fs::create_directories(m_dir / "empty/A.ROL");
    EXPECT_FALSE(CDiskfolioDisk::ScanForNextStep(m_dir / "empty", files));
    ASSERT_EQ(m_prompt.m_shown.size(), 2u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "The floppy disk is not a Diskfolio disk");
    EXPECT_EQ(m_prompt.m_shown[1].text, "No image files were found on the disk!");
}

TEST_F(FloppyTest, LinuxDriveListFromSysfsAndMounts) {
    std::string sys = m_dir / "block", mounts = m_dir / "mounts";
    fs::create_directories(sys + "/sda/sda1");
    WriteText(sys + "/sda/removable", "0\n");
    WriteText(sys + "/sda/sda1/partition", "1\n");
    fs::create_directories(sys + "/sdb/sdb1");
    WriteText(sys + "/sdb/removable", "1\n");
    WriteText(sys + "/sdb/sdb1/partition", "1\n");
    fs::create_directories(sys + "/fd0");
    WriteText(sys + "/fd0/removable", "1\n");
    // A USB disk that calls itself fixed.
    fs::create_directories(m_dir / "devices/usb1/1-1/sdc");
    WriteText(m_dir / "devices/usb1/1-1/sdc/removable", "0\n");
    fs::create_directory_symlink(m_dir / "devices/usb1/1-1/sdc", sys + "/sdc");
    WriteText(mounts, "/dev/sda1 / ext4 rw 0 0\n"
                      "proc /proc proc rw 0 0\n"
                      "/dev/sdb1 /media/user/MY\\040STICK vfat rw 0 0\n"
                      "/dev/fd0 /media/floppy vfat rw 0 0\n"
                      "/dev/sdc /run/media/user/usbdisk ext4 rw 0 0\n"
                      "/dev/sdb1 /media/user/MY\\040STICK vfat rw 0 0\n");
    CLinuxDriveList list(sys, mounts);
    EXPECT_EQ(list.GetRemovableDrives(),
              (std::vector<std::string>{"/media/user/MY STICK", "/media/floppy", "/run/media/user/usbdisk"}));
    EXPECT_EQ(CLinuxDriveList::UnescapeMountField("a\\134b\\011c\\"), "a\\b\tc\\");

    m_drives.m_roots = {"/media/floppy", "/"};
    EXPECT_TRUE(IsOnRemovableDrive("/media/floppy/X.ROL/a.#01"));
    EXPECT_TRUE(IsOnRemovableDrive("/media/floppy/../floppy/b"));
    EXPECT_FALSE(IsOnRemovableDrive("/media/floppy2/a"));
    EXPECT_FALSE(IsOnRemovableDrive("/home/user/a.qln")); // a root file system on a stick is no floppy
}

class InstallTest : public FloppyTest {
protected:
    std::string m_strFloppy = m_dir / "floppy";
    std::string m_strImages = m_dir / "images";
    CInstallWizardData m_data;
    static inline int s_nCloses = 0;

    void SetUp() override {
        FloppyTest::SetUp();
        m_drives.m_roots = {m_strFloppy};
        fs::create_directories(m_strFloppy + "/X.ROL");
        fs::create_directories(m_dir / "hard");
        WriteText(m_strFloppy + "/X.ROL/12345678.#01", "one");
        WriteText(m_strFloppy + "/X.ROL/12345678.#02", "two");
        WriteText(m_strFloppy + "/X.ROL/PHOTO.QLN", "photo");
        WriteText(m_dir / "hard/keep.qln", "kept");
        m_data.m_strImageDir = m_strImages;
        m_data.m_strProgramDir = m_dir / "program";
        s_nCloses = 0;
        CImageInstaller::SetClosePhotoFileHook([] { ++s_nCloses; });
    }
    std::vector<std::string> Files() const {
        return {m_strFloppy + "/X.ROL/12345678.#01", m_dir / "hard/keep.qln",
                m_strFloppy + "/X.ROL/PHOTO.QLN", m_strFloppy + "/X.ROL/12345678.#02"};
    }
};

TEST_F(InstallTest, NewAlbumCopiesRemovableFilesAndKeepsOthersInFront) {
    auto files = Files();
    ASSERT_TRUE(CImageInstaller().InstallImages(files, m_data));
    EXPECT_EQ(files,
              (std::vector<std::string>{m_dir / "hard/keep.qln", m_strImages + "/12345678_01.QLN",
                                        m_strImages + "/PHOTO.QLN", m_strImages + "/12345678_02.QLN"}));
    EXPECT_EQ(ReadText(m_strImages + "/12345678_02.QLN"), "two");
    EXPECT_EQ(ReadText(m_dir / "hard/keep.qln"), "kept");
    EXPECT_EQ(ListDir(m_strImages).size(), 3u); // no temporary files left
    EXPECT_EQ(s_nCloses, 3);
    EXPECT_EQ(m_prompt.m_nWaitDepth, 0);
    ASSERT_GE(m_prompt.m_status.size(), 3u);
    EXPECT_EQ(m_prompt.m_status[0], "Copying file 1 out of 3 : 12345678.#01");
    EXPECT_EQ(m_prompt.m_status[2].rfind("Copying file 3 out of 3 : ", 0), 0u);

    // Only files from fixed disks: nothing is copied, nothing is asked.
    files = {m_dir / "hard/keep.qln"};
    m_data.m_strImageDir = "bad|name";
    ASSERT_TRUE(CImageInstaller().InstallImages(files, m_data));
    EXPECT_EQ(files, std::vector<std::string>{m_dir / "hard/keep.qln"});
    EXPECT_TRUE(m_prompt.m_shown.empty());
}

TEST_F(InstallTest, ReplaceQuestionYesToAllNoAndCancel) {
    fs::create_directories(m_strImages);
    for (const char* name : {"12345678_01.QLN", "PHOTO.QLN", "12345678_02.QLN"})
        WriteText(m_strImages + "/" + name, "old");

    auto files = Files();
    m_prompt.m_answers = {2, 1}; // No for the first, Yes to All for the second
    ASSERT_TRUE(CImageInstaller().InstallImages(files, m_data));
    EXPECT_EQ(files, (std::vector<std::string>{m_dir / "hard/keep.qln", m_strImages + "/PHOTO.QLN",
                                               m_strImages + "/12345678_02.QLN"}));
    EXPECT_EQ(ReadText(m_strImages + "/12345678_01.QLN"), "old");
    EXPECT_EQ(ReadText(m_strImages + "/12345678_02.QLN"), "two");
    ASSERT_EQ(m_prompt.m_shown.size(), 2u); // the third was replaced without asking
    EXPECT_EQ(m_prompt.m_buttonSets[0], (std::vector<std::string>{"&Yes", "Yes to &All", "&No", "Cancel"}));
    EXPECT_NE(m_prompt.m_shown[0].text.find(m_strImages + "/12345678_01.QLN"), std::string::npos);

    for (const char* name : {"PHOTO.QLN", "12345678_02.QLN"}) WriteText(m_strImages + "/" + name, "old");
    files = Files();
    m_prompt.m_answers = {0, 3}; // Yes, then Cancel
    EXPECT_FALSE(CImageInstaller().InstallImages(files, m_data));
    EXPECT_TRUE(files.empty());
    EXPECT_EQ(ReadText(m_strImages + "/12345678_01.QLN"), "one");
    EXPECT_EQ(ReadText(m_strImages + "/PHOTO.QLN"), "old");
    EXPECT_EQ(ReadText(m_strImages + "/12345678_02.QLN"), "old"); // never reached
}

TEST_F(InstallTest, DestinationDirectories) {
    std::string dir;
    m_data.m_strImageDir.clear();
    ASSERT_TRUE(CImageInstaller::ChooseDestination(m_data, dir));
    EXPECT_EQ(dir, m_dir / "program");
    EXPECT_TRUE(fs::is_directory(dir));

    m_data.m_strImageDir = m_dir / "pics?";
    EXPECT_FALSE(CImageInstaller::ChooseDestination(m_data, dir));
    WriteText(m_dir / "file", "x");
    m_data.m_strImageDir = m_dir / "file/pics";
    EXPECT_FALSE(CImageInstaller::ChooseDestination(m_data, dir));
    ASSERT_EQ(m_prompt.m_shown.size(), 2u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "Lexically invalid path name");
    EXPECT_EQ(m_prompt.m_shown[1].text,
              "Error creating directory " + (m_dir / "file/pics") + ". Aborting...");
    auto files = Files();
    EXPECT_FALSE(CImageInstaller().InstallImages(files, m_data));
    EXPECT_TRUE(files.empty());

    // An existing album: beside its first photo file, else beside the album.
    m_data.m_bNewAlbum = false;
    m_data.m_strAlbumPath = "/albums/trip.alb";
    m_data.m_albumFiles = {"/pics/a.bmp", "/photos/b.QlN", "/other/c.qln"};
    ASSERT_TRUE(CImageInstaller::ChooseDestination(m_data, dir));
    EXPECT_EQ(dir, "/photos");
    m_data.m_albumFiles = {"/pics/a.bmp"};
    ASSERT_TRUE(CImageInstaller::ChooseDestination(m_data, dir));
    EXPECT_EQ(dir, "/albums");
}

TEST_F(InstallTest, CopyFailureThrowsAndEmptiesTheList) {
    auto files = Files();
    fs::remove(m_strFloppy + "/X.ROL/PHOTO.QLN");
    try {
        CImageInstaller().InstallImages(files, m_data);
        ADD_FAILURE();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, m_strFloppy + "/X.ROL/PHOTO.QLN");
    }
    EXPECT_TRUE(files.empty());
    EXPECT_EQ(ReadText(m_strImages + "/12345678_01.QLN"), "one"); // copied files stay
}

} // namespace
