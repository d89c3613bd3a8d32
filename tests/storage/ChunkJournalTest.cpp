// Chunk-file changes are atomic: a write or sync failing at every point of
// each kind of change, and a writer killed at random points of a large write,
// leave the file exactly as before or exactly as after, passing the integrity
// test, with no journal left once the file has been opened again.

#include "StorageTestUtil.h"

#include "framework/CException.h"
#include "storage/photo/CChunkJournal.h"
#include "storage/photo/CQlnChunkFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Fails the Nth write or sync (counting both) with a full disk; a failing
// write puts half its bytes out first, as a torn write would. Sticky: every
// later one fails too, as on a disk that stays full.
class CFaultChunkFile : public CQlnChunkFile {
public:
    int m_nFailAt = 0; // 0: never
    bool m_bSticky = false;
    int m_nCalls = 0;
    int m_nInjected = 0;

protected:
    bool Fail() {
        ++m_nCalls;
        const bool bFail = m_nFailAt > 0 && (m_nCalls == m_nFailAt || (m_bSticky && m_nCalls > m_nFailAt));
        if (bFail) ++m_nInjected;
        return bFail;
    }
    void WriteBytes(CFile& file, const void* pData, uint32_t nCount) override {
        if (Fail()) {
            CQlnChunkFile::WriteBytes(file, pData, nCount / 2);
            AfxThrowFileException(CFileException::diskFull, 28, file.GetFilePath());
        }
        CQlnChunkFile::WriteBytes(file, pData, nCount);
    }
    void SyncFile(CFile& file) override {
        if (Fail()) AfxThrowFileException(CFileException::diskFull, 28, file.GetFilePath());
        CQlnChunkFile::SyncFile(file);
    }
};

void Put(CQlnChunkFile& f, uint32_t id, size_t n, uint8_t seed) {
    auto data = Pattern(n, seed);
    f.SaveChunk(id, data.data(), static_cast<uint32_t>(n));
}

using Scenario = std::function<void(CQlnChunkFile&)>;

struct Case {
    const char* name;
    Scenario change;
};

// The changes of a photo file's life, each run from the same starting file.
const Case kCases[] = {
    {"replace main image smaller", [](CQlnChunkFile& f) { Put(f, 2000, 3000, 9); }},
    {"replace main image same size", [](CQlnChunkFile& f) { Put(f, 2000, 5000, 9); }},
    {"replace main image larger", [](CQlnChunkFile& f) { Put(f, 2000, 9000, 9); }},
    {"grow last chunk", [](CQlnChunkFile& f) { Put(f, 3, 700, 9); }},
    {"append and index write", [](CQlnChunkFile& f) { Put(f, 4, 300, 9); }},
    {"several changes",
     [](CQlnChunkFile& f) {
         Put(f, 1, 100, 9);
         f.RemoveChunk(3);
         Put(f, 5, 2000, 9);
         f.SetFileAsCommitted();
     }},
    {"index grows",
     [](CQlnChunkFile& f) {
         for (uint32_t id = 10; id < 24; ++id) Put(f, id, 50, static_cast<uint8_t>(id));
     }},
    {"refresh",
     [](CQlnChunkFile& f) {
         f.RemoveChunk(1);
         f.RefreshChunkFile();
     }},
};

class ChunkJournal : public ::testing::Test {
protected:
    void SetUp() override {
        CQlnChunkFile f;
        f.CreateOpenChunkFile(m_path, false);
        Put(f, 1, 100, 1);
        Put(f, 2000, 5000, 2);
        Put(f, 3, 100, 3);
        f.CloseChunkFile();
        m_base = ReadAll(m_path);
    }
    std::vector<uint8_t> After(const Scenario& change) {
        WriteAll(m_path, m_base);
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        change(f);
        f.CloseChunkFile();
        auto bytes = ReadAll(m_path);
        WriteAll(m_path, m_base);
        return bytes;
    }
    // Opened again (recovering), the file passes the integrity test and no journal is left.
    void ExpectSoundAfterReopen() {
        CQlnChunkFile g;
        g.OpenChunkFile(m_path);
        EXPECT_GE(g.TestFileIntegrity(), 0);
        g.CloseChunkFile();
        EXPECT_FALSE(CFile::Exists(CChunkJournal::PathFor(m_path)));
    }

    CScratchDir m_dir;
    std::string m_path = m_dir / "a.qln";
    std::vector<uint8_t> m_base;
};

TEST_F(ChunkJournal, SuccessLeavesTheSameBytesAndNoJournal) {
    // The journal changes nothing on success: the bytes are those of the
    // layout (checked byte for byte in ChunkFileTest), and no file is left.
    for (const Case& c : kCases) {
        auto after = After(c.change);
        EXPECT_NE(after, m_base) << c.name;
        EXPECT_EQ(m_dir.FileCount(), 1u) << c.name;
    }
}

TEST_F(ChunkJournal, EveryWriteAndSyncFailingLeavesBeforeOrAfter) {
    int nRuns = 0, nInjected = 0, nBefore = 0, nAfter = 0, nRecovered = 0;
    for (bool bSticky : {false, true}) {
        for (const Case& c : kCases) {
            const auto after = After(c.change);
            for (int n = 1;; ++n) {
                SCOPED_TRACE(std::string(c.name) + (bSticky ? " sticky" : " once") + " at " +
                             std::to_string(n));
                WriteAll(m_path, m_base);
                int injected = 0;
                {
                    CFaultChunkFile f;
                    f.m_nFailAt = n;
                    f.m_bSticky = bSticky;
                    try {
                        f.OpenChunkFile(m_path);
                        c.change(f);
                        f.CloseChunkFile();
                    } catch (const CFileException& e) {
                        EXPECT_EQ(e.m_cause, CFileException::diskFull);
                    }
                    injected = f.m_nInjected;
                }
                ++nRuns;
                nInjected += injected;
                if (injected == 0) {
                    EXPECT_EQ(ReadAll(m_path), after);
                    break;
                }
                // Right after the failure (rolled back in place, or by the next open).
                auto now = ReadAll(m_path);
                const bool bJournal = CFile::Exists(CChunkJournal::PathFor(m_path));
                if (bJournal) {
                    ++nRecovered;
                } else {
                    EXPECT_TRUE(now == m_base || now == after);
                }
                ExpectSoundAfterReopen();
                now = ReadAll(m_path);
                EXPECT_TRUE(now == m_base || now == after);
                (now == m_base ? nBefore : nAfter) += now == m_base || now == after;
                ASSERT_LT(n, 400) << "the change never completes";
            }
        }
    }
    std::printf("[ fault injection ] %d runs, %d failures injected, %d left before, %d left after, "
                "%d rolled back at the next open\n",
                nRuns, nInjected, nBefore, nAfter, nRecovered);
}

TEST_F(ChunkJournal, ChangesNotSavedAreRolledBackOnClose) {
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        Put(f, 2000, 5000, 9); // in place
        Put(f, 8, 100, 8);     // appended
        EXPECT_TRUE(CFile::Exists(CChunkJournal::PathFor(m_path)));
        // Destroyed without saving.
    }
    EXPECT_EQ(ReadAll(m_path), m_base);
    EXPECT_FALSE(CFile::Exists(CChunkJournal::PathFor(m_path)));
}

TEST_F(ChunkJournal, TornOrForeignJournalsAreDropped) {
    // A journal torn before its header was complete: nothing had been written.
    std::vector<uint8_t> torn = {'Q', 'L', 'N', 'J', 'R'};
    WriteAll(CChunkJournal::PathFor(m_path), torn);
    ExpectSoundAfterReopen();
    EXPECT_EQ(ReadAll(m_path), m_base);

    // A journal left by a file replaced since (another inode): not applied.
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        Put(f, 2000, 5000, 9);
        ::link(CChunkJournal::PathFor(m_path).c_str(), (m_dir / "keep").c_str());
        f.CloseChunkFile();
    }
    const auto after = ReadAll(m_path);
    WriteAll(m_dir / "other", after); // written beside and renamed over it: another inode
    CFile::Rename(m_dir / "other", m_path);
    CFile::Rename(m_dir / "keep", CChunkJournal::PathFor(m_path));
    ExpectSoundAfterReopen();
    EXPECT_EQ(ReadAll(m_path), after);
}

TEST_F(ChunkJournal, ReadersDoNotTouchAWritersJournal) {
    CQlnChunkFile writer;
    writer.OpenChunkFile(m_path);
    Put(writer, 2000, 5000, 9);
    CQlnChunkFile reader;
    reader.OpenChunkFile(m_path);
    EXPECT_TRUE(reader.IsReadOnly());
    EXPECT_TRUE(CFile::Exists(CChunkJournal::PathFor(m_path)));
    reader.CloseChunkFile();
    writer.CloseChunkFile();
    EXPECT_FALSE(CFile::Exists(CChunkJournal::PathFor(m_path)));
}

// A child replaces a large chunk (same size, or larger so that it moves) and
// is killed at a random moment; the file opened again holds the old or the
// new chunk whole.
TEST_F(ChunkJournal, KilledWritersLeaveOldOrNew) {
    constexpr uint32_t kSize = 24u << 20;
    const auto oldData = Pattern(kSize, 1);
    const auto newData = Pattern(kSize, 2);
    const auto largerData = Pattern(kSize + 4096, 3);
    auto reset = [&] {
        CFile::Remove(m_path);
        CQlnChunkFile f;
        f.CreateOpenChunkFile(m_path, false);
        f.SaveChunk(2010, "header", 6);
        f.SaveChunk(2000, oldData.data(), kSize);
        f.SaveChunk(1, "text", 4);
        f.CloseChunkFile();
    };
    auto writer = [&](const std::vector<uint8_t>& data) {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        f.SaveChunk(2000, data.data(), static_cast<uint32_t>(data.size()));
        f.CloseChunkFile();
    };
    // How long a whole write takes, to spread the kills over it.
    reset();
    const auto t0 = std::chrono::steady_clock::now();
    writer(largerData);
    const auto span =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);
    std::mt19937 rng(22);
    int nRuns = 0, nKilled = 0, nOld = 0, nNew = 0;
    for (int run = 0; run < 30; ++run) {
        reset();
        const auto& data = run % 2 ? largerData : newData;
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                writer(data);
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        std::uniform_int_distribution<long> delay(0, std::max<long>(1, span.count() * 3 / 2));
        ::usleep(static_cast<useconds_t>(delay(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ++nRuns;
        if (WIFSIGNALED(status)) {
            ++nKilled;
        } else {
            ASSERT_EQ(WEXITSTATUS(status), 0);
        }

        CQlnChunkFile g;
        g.OpenChunkFile(m_path);
        EXPECT_FALSE(CFile::Exists(CChunkJournal::PathFor(m_path))) << run;
        EXPECT_EQ(g.TestFileIntegrity(), 3) << run;
        void* p = nullptr;
        uint32_t n = 0;
        ASSERT_TRUE(g.GetChunk(2000, &p, &n));
        const std::vector<uint8_t> got(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
        CQlnChunkFile::FreeChunkMemory(p);
        g.CloseChunkFile();
        const bool bOld = got == oldData, bNew = got == data;
        EXPECT_TRUE(bOld || bNew) << "run " << run << ": a mixed chunk of " << n << " bytes";
        nOld += bOld;
        nNew += bNew;
    }
    std::printf("[ kills ] %d runs, %d killed mid-way, %d left the old chunk, %d the new one\n", nRuns,
                nKilled, nOld, nNew);
}

} // namespace
