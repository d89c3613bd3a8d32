// The wizard's tasks as data, and the package step of its finish.

#include "album/AlbumWizardTasks.h"
#include "AlbumTestUtil.h"
#include "framework/StringTable.h"
#include "framework/SystemInfo.h"
#include "storage/install/CxQLNArchiveWriter.h"

#include <gtest/gtest.h>

namespace {

std::vector<EWizPage> Order(EWizTask task) {
    std::vector<EWizPage> v;
    for (const SWizPageSpec& p : GetWizardPages(task)) v.push_back(p.m_nPage);
    return v;
}

using P = EWizPage;

TEST(AlbumWizardTasks, PageOrderOfEveryTask) {
    EXPECT_EQ(Order(EWizTask::Floppy), (std::vector<P>{P::Intro, P::Title, P::Size, P::Floppy, P::Finish}));
    EXPECT_EQ(Order(EWizTask::HardDisk), (std::vector<P>{P::Intro, P::Title, P::Size, P::Files, P::Finish}));
    EXPECT_EQ(Order(EWizTask::Package), (std::vector<P>{P::Intro, P::Title, P::Size, P::Package, P::Finish}));
    EXPECT_EQ(Order(EWizTask::Empty), (std::vector<P>{P::Intro, P::Title, P::Size, P::Finish}));
    EXPECT_EQ(Order(EWizTask::AddImages), (std::vector<P>{P::Intro, P::AlbumChoice, P::Files, P::Finish}));
    EXPECT_TRUE(GetWizardPages(EWizTask::Open).empty());
}

TEST(AlbumWizardTasks, CaptionsCountTheSteps) {
    for (EWizTask t :
         {EWizTask::Floppy, EWizTask::HardDisk, EWizTask::Package, EWizTask::Empty, EWizTask::AddImages}) {
        const auto pages = GetWizardPages(t);
        for (size_t i = 0; i < pages.size(); ++i)
            EXPECT_EQ(LoadResString(pages[i].m_nTitle),
                      "Album Wizard - Step " + std::to_string(i + 1) + " of " + std::to_string(pages.size()));
    }
}

TEST(AlbumWizardTasks, IntroAndFinishTexts) {
    const auto floppy = GetWizardPages(EWizTask::Floppy);
    EXPECT_EQ(floppy.front().m_texts, (std::vector<uint32_t>{1290, 1291, 1292}));
    EXPECT_EQ(floppy.front().m_nBitmap, 1274u);
    EXPECT_EQ(floppy.back().m_texts, (std::vector<uint32_t>{1293, 1294, 1398, 1295}));
    EXPECT_EQ(floppy.back().m_nBitmap, 1254u);
    EXPECT_EQ(GetWizardPages(EWizTask::Package).front().m_texts, (std::vector<uint32_t>{1272, 1321, 1292}));
    EXPECT_EQ(GetWizardPages(EWizTask::Empty).back().m_texts, (std::vector<uint32_t>{1330, 1331, 1332}));
    EXPECT_EQ(GetWizardPages(EWizTask::AddImages).back().m_texts,
              (std::vector<uint32_t>{1302, 1303, 1399, 1304}));
    // Every text the pages name has a string, except the two that never had one.
    for (EWizTask t :
         {EWizTask::Floppy, EWizTask::HardDisk, EWizTask::Package, EWizTask::Empty, EWizTask::AddImages})
        for (const SWizPageSpec& p : GetWizardPages(t))
            for (uint32_t id : p.m_texts) EXPECT_EQ(HasResString(id), id != 1398 && id != 1399) << id;
    EXPECT_EQ(LoadResString(1398), "");
    for (EWizTask t : {EWizTask::Floppy, EWizTask::HardDisk, EWizTask::Package, EWizTask::Empty,
                       EWizTask::AddImages, EWizTask::Open})
        EXPECT_TRUE(HasResString(GetTaskDescriptionId(t)));
    EXPECT_EQ(GetFilesInstructionId(EWizTask::HardDisk), 1335u);
    EXPECT_EQ(GetFilesInstructionId(EWizTask::AddImages), 1336u);
}

TEST(AlbumWizardTasks, PathsJoinWithOneSlash) {
    EXPECT_EQ(JoinWizardPath("/home/a/pics", "x.qln"), "/home/a/pics/x.qln");
    EXPECT_EQ(JoinWizardPath("/home/a/pics/", "x.qln"), "/home/a/pics/x.qln");
    EXPECT_EQ(ExtractedPhotoPaths("/d", {"a.qln", "b.qln"}),
              (std::vector<std::string>{"/d/a.qln", "/d/b.qln"}));
}

class CFixedSpace : public ISystemInfo {
public:
    uint64_t GetAvailableMemory() override { return 1ull << 30; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return m_nFree; }
    uint64_t m_nFree = 1ull << 40;
};

class WizardPackage : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemInfo(&m_space);
        SetUserPrompt(&m_prompt);
        m_package = m_dir / "roll.vrz";
        CxQLNArchiveWriter w(m_package);
        w.AddEntry("one.qln", "first", 5);
        w.AddEntry("two.qln", "second!", 7);
        w.Commit();
    }
    void TearDown() override {
        SetSystemInfo(nullptr);
        SetUserPrompt(nullptr);
    }
    CAlbumScratch m_dir;
    CFixedSpace m_space;
    CScriptedPrompt m_prompt;
    std::string m_package;
};

TEST_F(WizardPackage, ExtractsJoinsAndDeletesWhenAsked) {
    std::vector<std::string> paths;
    ASSERT_TRUE(ExtractPackageForAlbum(m_package, m_dir / "new/roll", true, paths));
    EXPECT_EQ(paths, (std::vector<std::string>{m_dir / "new/roll/one.qln", m_dir / "new/roll/two.qln"}));
    EXPECT_EQ(ReadBytes(paths[1]).size(), 7u);
    EXPECT_FALSE(std::filesystem::exists(m_package));
}

TEST_F(WizardPackage, FullDriveStopsBeforeAnythingIsMade) {
    m_space.m_nFree = 11;
    std::vector<std::string> paths{"stale"};
    EXPECT_FALSE(ExtractPackageForAlbum(m_package, m_dir / "out", true, paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out"));
    EXPECT_TRUE(std::filesystem::exists(m_package));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_NE(m_prompt.m_shown[0].text.find("Not enought storage available on"), std::string::npos);
}

TEST_F(WizardPackage, UnmakeableDirectoryAndDamagedPackageAreReported) {
    std::ofstream(m_dir / "file") << "x";
    std::vector<std::string> paths;
    EXPECT_FALSE(ExtractPackageForAlbum(m_package, m_dir / "file/sub", false, paths));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "Error creating directory " + (m_dir / "file/sub") + ". Aborting...");

    auto bytes = ReadBytes(m_package);
    bytes[20 + 272 + 1] ^= 0xFF;
    std::ofstream(m_package, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_FALSE(ExtractPackageForAlbum(m_package, m_dir / "out", true, paths));
    EXPECT_NE(m_prompt.m_shown.back().text.find("possibly corrupted"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(m_package));
}

} // namespace
