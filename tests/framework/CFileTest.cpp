// Files: causes mapped from the system, the second-writer rule, replacing a
// file without losing the old one.

#include "framework/CFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class CFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zozi-file-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static std::string ReadText(const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path m_dir;
};

TEST_F(CFileTest, OpenFailuresCarryCauseAndPath) {
    CFileException e;
    CFile f;
    EXPECT_FALSE(f.Open(Path("missing.qln"), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_strFileName, Path("missing.qln"));

    WriteText(Path("plain"), "x");
    EXPECT_FALSE(f.Open(Path("plain/below"), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::badPath);

    EXPECT_FALSE(f.Open(m_dir.string(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);

    EXPECT_FALSE(f.Open("", CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::badPath);

    try {
        CFile g(Path("missing.qln"), CFile::modeRead);
        FAIL();
    } catch (const CFileException& x) {
        EXPECT_EQ(x.m_cause, CFileException::fileNotFound);
    }
}

TEST_F(CFileTest, SecondWriterIsRefusedReadersAreNot) {
    const std::string p = Path("photo.qln");
    WriteText(p, "keep me");
    CFile first;
    ASSERT_TRUE(first.Open(p, CFile::modeReadWrite | CFile::shareDenyWrite));

    CFile second;
    CFileException e;
    EXPECT_FALSE(second.Open(p, CFile::modeReadWrite | CFile::shareDenyWrite, &e));
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    // A refused writer that asked for create-and-truncate destroyed nothing.
    EXPECT_FALSE(second.Open(p, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &e));
    EXPECT_EQ(ReadText(p), "keep me");

    // The read-only fallback works while the writer holds the file.
    ASSERT_TRUE(second.Open(p, CFile::modeRead | CFile::shareDenyWrite));
    char buf[7];
    second.ReadExact(buf, 7);
    EXPECT_EQ(std::string(buf, 7), "keep me");
    second.Close();

    first.Close();
    EXPECT_TRUE(second.Open(p, CFile::modeReadWrite | CFile::shareDenyWrite));
}

TEST_F(CFileTest, ReadSeekLengthAndShortReads) {
    CFile f(Path("a.bin"), CFile::modeCreate | CFile::modeReadWrite);
    f.Write("0123456789", 10);
    EXPECT_EQ(f.GetLength(), 10u);
    EXPECT_EQ(f.Seek(-3, CFile::end), 7u);
    char buf[8];
    EXPECT_EQ(f.Read(buf, 8), 3u); // fewer bytes at the end, no exception
    f.SeekToBegin();
    try {
        f.Seek(-1, CFile::begin);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
    }
    f.SetLength(4);
    f.SeekToBegin();
    try {
        f.ReadExact(buf, 5);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
    }
    f.Close();
    EXPECT_THROW(f.Read(buf, 1), CFileException);
}

TEST_F(CFileTest, AtomicFileReplacesOnlyOnCommit) {
    const std::string p = Path("album.alb");
    WriteText(p, "old");
    {
        CAtomicFile out(p);
        out.File().Write("new, half", 9);
        // Abandoned: as if the save failed half-way.
    }
    EXPECT_EQ(ReadText(p), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    {
        CAtomicFile out(p);
        out.File().Write("new", 3);
        out.Commit();
    }
    EXPECT_EQ(ReadText(p), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(CFileTest, AtomicFileRefusesReadOnlyTargets) {
    // The mode bits decide, also for root (who could write anything).
    for (unsigned mode : {0444u, 0464u, 0446u}) {
        const std::string p = Path("ro.alb");
        WriteText(p, "old");
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
        try {
            CAtomicFile out(p);
            FAIL() << "a " << std::oct << mode << " file was opened for replacing";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, CFileException::accessDenied);
            EXPECT_EQ(e.m_strFileName, p);
        }
        bool bCalled = false;
        EXPECT_THROW(WriteBeside(p, [&](const std::string&) { bCalled = true; }), CFileException);
        EXPECT_FALSE(bCalled);
        // Through a link too; nothing is left beside.
        fs::create_symlink("ro.alb", Path("link.alb"));
        EXPECT_THROW(CAtomicFile(Path("link.alb")), CFileException);
        EXPECT_EQ(ReadText(p), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
        fs::remove(Path("link.alb"));
        fs::remove(p);
    }
    // The owner's write bit is enough; a new file needs no bits at all.
    const std::string p = Path("rw.alb");
    WriteText(p, "old");
    ASSERT_EQ(::chmod(p.c_str(), 0600), 0);
    {
        CAtomicFile out(p);
        out.File().Write("new", 3);
        out.Commit();
    }
    EXPECT_EQ(ReadText(p), "new");
    EXPECT_NO_THROW(CAtomicFile(Path("fresh.alb")));
}

TEST_F(CFileTest, AtomicFileKeepsModeLinksAndNames) {
    // Permission bits.
    const std::string p = Path("photo.qln");
    WriteText(p, "old");
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
    {
        CAtomicFile out(p);
        out.File().Write("new", 3);
        out.Commit();
    }
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    // A symbolic link (relative, through a second link) stays a link; its target gets the contents.
    fs::create_directory(m_dir / "real");
    WriteText(Path("real/target.qln"), "old");
    fs::create_symlink("real/target.qln", m_dir / "hop");
    fs::create_symlink("hop", m_dir / "link.qln");
    {
        CAtomicFile out(Path("link.qln"));
        EXPECT_EQ(out.TargetPath(), Path("real/target.qln"));
        out.File().Write("new", 3);
        out.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.qln"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "hop"));
    EXPECT_EQ(ReadText(Path("real/target.qln")), "new");

    // A dangling link: the file it names is created.
    fs::create_symlink("real/absent.qln", m_dir / "dangling.qln");
    {
        CAtomicFile out(Path("dangling.qln"));
        out.File().Write("made", 4);
        out.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(m_dir / "dangling.qln"));
    EXPECT_EQ(ReadText(Path("real/absent.qln")), "made");

    // Hard links: every name sees the new contents, shorter than the old.
    WriteText(Path("one"), "the old contents");
    fs::create_hard_link(m_dir / "one", m_dir / "two");
    {
        CAtomicFile out(Path("two"));
        out.File().Write("new", 3);
        out.Commit();
    }
    EXPECT_EQ(ReadText(Path("one")), "new");
    EXPECT_EQ(fs::hard_link_count(m_dir / "one"), 2u);

    // Without replace an existing file stays.
    {
        CAtomicFile out(Path("one"));
        out.File().Write("x", 1);
        EXPECT_THROW(out.Commit(false), CFileException);
    }
    EXPECT_EQ(ReadText(Path("one")), "new");

    // Written by name, recreated by the writer: the mode is applied again.
    WriteBeside(p, [](const std::string& temp) {
        fs::remove(temp);
        std::ofstream(temp) << "by name";
    });
    EXPECT_EQ(ReadText(p), "by name");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    size_t nLeft = 0;
    for (const auto& e : fs::directory_iterator(m_dir))
        nLeft += e.path().filename().string().find(".zozi") != std::string::npos;
    EXPECT_EQ(nLeft, 0u);
}

TEST_F(CFileTest, EveryFailingWriteLeavesTheOldFile) {
    const std::string p = Path("a.bin");
    WriteText(p, "old");
    fs::create_hard_link(p, Path("b.bin"));
    const std::string text(5000, 'n');
    auto write = [&] {
        CAtomicFile out(p);
        for (size_t i = 0; i < text.size(); i += 700)
            out.File().Write(text.data() + i, static_cast<uint32_t>(std::min<size_t>(700, text.size() - i)));
        out.Commit();
    };
    for (long long nBudget = 0; nBudget < 5000; nBudget += 333) {
        CAtomicFile::SetWriteBudget(nBudget);
        CAtomicFile::TakeBytesWritten();
        EXPECT_THROW(write(), CFileException) << nBudget;
        CAtomicFile::SetWriteBudget(-1);
        EXPECT_EQ(ReadText(p), "old") << nBudget;
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
    }
    // A failure while the hard-linked file is rewritten in place leaves the
    // complete new contents beside it.
    CAtomicFile::SetWriteBudget(5000 + 100);
    CAtomicFile::TakeBytesWritten();
    EXPECT_THROW(write(), CFileException);
    CAtomicFile::SetWriteBudget(-1);
    EXPECT_EQ(ReadText(p + ".zozi-new"), text);
    write();
    EXPECT_EQ(ReadText(Path("b.bin")), text);
}

TEST(CMemFile, BehavesLikeAFile) {
    CMemFile f;
    f.Write("abc", 3);
    f.Seek(5, CFile::begin);
    f.Write("z", 1);
    EXPECT_EQ(f.GetLength(), 6u);
    EXPECT_EQ(f.Data()[3], 0);
    f.SeekToBegin();
    char buf[10];
    EXPECT_EQ(f.Read(buf, 10), 6u);
    EXPECT_EQ(f.Read(buf, 10), 0u);
}

} // namespace
