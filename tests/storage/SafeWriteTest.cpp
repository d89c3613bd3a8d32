// Whole-file writes of the storage layer: an export over an existing photo
// file replaces only its main image, and a write that fails after any number
// of bytes leaves the old file (exports, photo-file rewrites, installer copies).

#include "StorageTestUtil.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/install/CImageInstaller.h"
#include "storage/photo/QlnPhotoFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<CDib> Gray(int w, int h, int nSeed) {
    auto dib = std::make_unique<CDib>(w, h, 8, 256, nullptr);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) dib->GetRow(y)[x] = static_cast<uint8_t>(x * 9 + y + nSeed);
    return dib;
}

std::string Text(const std::string& path, unsigned nTag) {
    char* p = nullptr;
    const long r = GetTag(path, nTag, &p, nullptr);
    QLNI_CloseFile();
    std::string s = r > 0 && p ? p : "";
    QLNI_FreeTagData(p);
    return s;
}

// A photo file with a title, a source name and an album path besides its image.
void MakeRichPhoto(const std::string& path) {
    ASSERT_EQ(ExportPicture(*Gray(20, 10, 0), kSaveTypePhoto, path), IMPEXP_SUCCESS);
    SetTag(path, QLNI_TAG_TEXT1, true, "title", nullptr);
    SetTag(path, QLNI_TAG_SOURCE_NAME, true, "source.bmp", nullptr);
    const uint16_t wScale = 1;
    SetTag(path, QLNI_TAG_ALBUM_PATH, true, &wScale, "/albums/a.alb");
    QLNI_CommitFile(path, 0, 1);
}

// Runs write with a write budget of every step from 0 to what it needs in
// full; after each failure check() must still hold. The first run, on a
// copy (bDry), measures what it needs.
void EveryFailingWrite(const std::function<bool(bool bDry)>& write, const std::function<void()>& check) {
    CAtomicFile::SetWriteBudget(-1);
    CAtomicFile::TakeBytesWritten();
    ASSERT_TRUE(write(true));
    const long long nTotal = CAtomicFile::TakeBytesWritten();
    ASSERT_GT(nTotal, 0);
    const long long nStep = std::max(1LL, nTotal / 37);
    for (long long nBudget = 0; nBudget < nTotal; nBudget += nStep) {
        CAtomicFile::SetWriteBudget(nBudget);
        CAtomicFile::TakeBytesWritten();
        bool bDone = true;
        try {
            bDone = write(false);
        } catch (const CException&) {
            bDone = false;
        }
        CAtomicFile::SetWriteBudget(-1);
        EXPECT_FALSE(bDone) << "budget " << nBudget << " of " << nTotal;
        check();
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "at budget " << nBudget;
            return;
        }
    }
}

class SafeWrite : public ::testing::Test {
protected:
    void TearDown() override {
        CAtomicFile::SetWriteBudget(-1);
        QLNI_CloseFile();
    }
    CScratchDir m_dir;
};

} // namespace

TEST_F(SafeWrite, ExportOverPhotoFileReplacesOnlyTheImage) {
    const std::string path = m_dir / "p.qln";
    MakeRichPhoto(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("p.qln", m_dir / "link.qln");

    auto next = Gray(30, 12, 50);
    ASSERT_EQ(ExportPicture(*next, kSaveTypePhoto, m_dir / "link.qln"), IMPEXP_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.qln"));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    std::unique_ptr<CDib> back;
    ASSERT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS);
    EXPECT_EQ(back->GetWidth(), 30);
    EXPECT_EQ(std::memcmp(back->GetBits(), next->GetBits(), next->GetImageSize()), 0);
    EXPECT_EQ(Text(path, QLNI_TAG_TEXT1), "title");
    EXPECT_EQ(Text(path, QLNI_TAG_SOURCE_NAME), "source.bmp");
    EXPECT_EQ(QLNI_GetTnUsageCount(path, 1), 1);
    QLNI_CloseFile();
    EXPECT_EQ(m_dir.FileCount(), 2u);

    // A file that only looks like a photo file by its name is replaced whole.
    WriteAll(m_dir / "q.qln", {'n', 'o', 't'});
    ASSERT_EQ(ExportPicture(*next, kSaveTypePhoto, m_dir / "q.qln"), IMPEXP_SUCCESS);
    ASSERT_EQ(ImportPicture(m_dir / "q.qln", back), IMPEXP_SUCCESS);
    EXPECT_EQ(back->GetHeight(), 12);
}

TEST_F(SafeWrite, EveryFailingExportLeavesTheOldFile) {
    auto next = Gray(40, 30, 9);
    for (int nType : {kSaveTypePng, kSaveTypePhoto}) {
        const std::string path = m_dir / (nType == kSaveTypePhoto ? "e.qln" : "e.png");
        const std::string spare = m_dir / "spare";
        if (nType == kSaveTypePhoto)
            MakeRichPhoto(path);
        else
            ASSERT_EQ(ExportPicture(*Gray(20, 10, 0), nType, path), IMPEXP_SUCCESS);
        const std::vector<uint8_t> old = ReadAll(path);
        EveryFailingWrite(
            [&](bool bDry) {
                if (bDry) WriteAll(spare, old);
                return ExportPicture(*next, nType, bDry ? spare : path) == IMPEXP_SUCCESS;
            },
            [&] {
                EXPECT_EQ(ReadAll(path), old);
                EXPECT_EQ(m_dir.FileCount(), 2u);
            });
        fs::remove(spare);
        fs::remove(path);
    }
}

TEST_F(SafeWrite, EveryFailingPhotoFileRewriteLeavesTheOldFile) {
    // Committing a photo file whose title was deleted compacts it: the whole
    // file is written anew.
    const std::string path = m_dir / "r.qln";
    const std::string spare = m_dir / "spare.qln";
    MakeRichPhoto(path);
    const std::vector<uint8_t> old = ReadAll(path);
    EveryFailingWrite(
        [&](bool bDry) {
            const std::string target = bDry ? spare : path;
            if (bDry) WriteAll(spare, old);
            // Deleting only marks the chunk; the budget counts from the rewrite.
            DeleteTag(target, QLNI_TAG_TEXT1, nullptr, nullptr);
            CAtomicFile::TakeBytesWritten();
            return QLNI_CommitFile(target, 0, 1) == 1;
        },
        [&] {
            try {
                QLNI_CloseFile();
            } catch (const CException&) {
            }
            EXPECT_EQ(Text(path, QLNI_TAG_SOURCE_NAME), "source.bmp");
            std::unique_ptr<CDib> back;
            EXPECT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS);
            WriteAll(path, old); // the next run starts from the same file
        });
}

TEST_F(SafeWrite, EveryFailingInstallerCopyLeavesTheOldFile) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    fs::create_directory(m_dir / "disk");
    fs::create_directory(m_dir / "dest");
    fs::create_directory(m_dir / "dry");
    const std::string source = m_dir / "disk/12345678.QLN";
    WriteAll(source, Pattern(300000, 3));
    const std::vector<uint8_t> old = Pattern(1000, 9);
    WriteAll(m_dir / "dest/12345678.QLN", old);
    CImageInstaller installer;
    EveryFailingWrite(
        [&](bool bDry) {
            std::string strPath = source;
            bool bAll = true;
            int nResult = 0;
            installer.CopyImage(strPath, m_dir / (bDry ? "dry" : "dest"), bAll, nResult);
            return nResult == CImageInstaller::kCopied;
        },
        [&] {
            EXPECT_EQ(ReadAll(m_dir / "dest/12345678.QLN"), old);
            EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "dest"), {}), 1);
        });
    std::string strPath = source;
    bool bAll = true;
    int nResult = 0;
    installer.CopyImage(strPath, m_dir / "dest", bAll, nResult);
    EXPECT_EQ(ReadAll(m_dir / "dest/12345678.QLN"), ReadAll(source));
}
