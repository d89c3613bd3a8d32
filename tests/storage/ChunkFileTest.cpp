#include "StorageTestUtil.h"

#include "framework/Trace.h"
#include "storage/photo/CQlnChunkFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<uint8_t> NewFileBytes() {
    std::vector<uint8_t> v(204, 0);
    const char* head = "QLN94A";
    std::copy(head, head + 6, v.begin());
    v[6] = 4;
    v[8] = 16;
    return v;
}

std::vector<uint8_t> GetChunkData(CQlnChunkFile& f, uint32_t id) {
    void* p = nullptr;
    uint32_t n = 0;
    if (!f.GetChunk(id, &p, &n)) return {};
    std::vector<uint8_t> v(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
    CQlnChunkFile::FreeChunkMemory(p);
    return v;
}

void Put(CQlnChunkFile& f, uint32_t id, size_t n, uint32_t granularity = 0) {
    auto data = Pattern(n, static_cast<uint8_t>(id));
    f.SaveChunk(id, data.data(), static_cast<uint32_t>(n), granularity);
}

int FileCause(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const CFileException& e) {
        return e.m_cause;
    }
    return -1;
}

// A chunk file whose writes fail once a number of bytes has been written,
// as a full disk or a crash half-way would leave them.
class CFailingChunkFile : public CQlnChunkFile {
public:
    uint64_t m_nBudget = UINT64_MAX;
    uint64_t m_nWritten = 0;

protected:
    void WriteBytes(CFile& file, const void* pData, uint32_t nCount) override {
        if (m_nWritten + nCount > m_nBudget) {
            uint32_t part = static_cast<uint32_t>(m_nBudget - m_nWritten);
            CQlnChunkFile::WriteBytes(file, pData, part);
            m_nWritten = m_nBudget;
            AfxThrowFileException(CFileException::diskFull, 28, file.GetFilePath());
        }
        CQlnChunkFile::WriteBytes(file, pData, nCount);
        m_nWritten += nCount;
    }
};

class ChunkFileTest : public ::testing::Test {
protected:
    CScratchDir m_dir;
    std::string m_path = m_dir / "a.qln";
};

TEST_F(ChunkFileTest, NewFileIs204BytesAndEmpty) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path), NewFileBytes());

    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.GetChunkCount(), 0u);
    EXPECT_EQ(f.TestFileIntegrity(), 0);
    EXPECT_FALSE(f.IsFileDirty());
    EXPECT_FALSE(f.IsFileCommitted());
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path), NewFileBytes()); // closing an unchanged file writes nothing new
}

TEST_F(ChunkFileTest, ChunkLayoutIsByteExact) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    auto data = Pattern(25, 1);
    f.SaveChunk(7, data.data(), 25, 10, 0x0102, 0x0304);
    f.CloseChunkFile();

    std::vector<uint8_t> expected = NewFileBytes();
    // Slot 0: identifier 7 at offset 204, 67 bytes.
    expected[12] = 7;
    expected[16] = 204;
    expected[20] = 62; // 16 + 25 + 5 + 16
    expected.push_back('<');
    AppendU32(expected, 7);
    expected.push_back(':');
    AppendU32(expected, 25);
    expected.push_back(':');
    AppendU16(expected, 0x0102);
    AppendU16(expected, 0x0304);
    expected.push_back(':');
    expected.insert(expected.end(), data.begin(), data.end());
    expected.insert(expected.end(), 5, 0); // granularity 10, 25 bytes -> 5 bytes padding
    expected.push_back(':');
    AppendU16(expected, 0x0102);
    AppendU16(expected, 0x0304);
    expected.push_back(':');
    AppendU32(expected, 62);
    expected.push_back(':');
    AppendU32(expected, 7);
    expected.push_back('>');
    EXPECT_EQ(ReadAll(m_path), expected);

    f.OpenChunkFile(m_path);
    CChunkIndex rec;
    ASSERT_TRUE(f.QueryChunk(7, rec));
    EXPECT_EQ(rec.m_dwChunkOffset, 204u);
    EXPECT_EQ(rec.m_dwChunkSize, 62u);
    EXPECT_EQ(rec.m_dwDataSize, 25u);
    EXPECT_EQ(rec.m_dwPaddingSize, 5u);
    EXPECT_EQ(rec.m_wStorageMethod, 0x0102);
    EXPECT_EQ(rec.m_wStorageLevel, 0x0304);
    uint16_t method = 0, level = 0;
    void* p = nullptr;
    uint32_t n = 0;
    ASSERT_TRUE(f.GetChunk(7, &p, &n, false, &method, &level));
    EXPECT_EQ(std::vector<uint8_t>(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n), data);
    EXPECT_EQ(method, 0x0102);
    CQlnChunkFile::FreeChunkMemory(p);
    EXPECT_EQ(f.TestFileIntegrity(), 1);
}

TEST_F(ChunkFileTest, SeventeenthChunkGrowsTheIndexAndMovesChunks) {
    std::vector<std::string> trace;
    SetTraceSink([&](std::string_view line) { trace.emplace_back(line); });
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    for (uint32_t id = 1; id <= 16; ++id) Put(f, id, 100);
    f.CloseChunkFile();
    f.OpenChunkFile(m_path);
    std::vector<uint32_t> before;
    for (size_t i = 0; i < 16; ++i) before.push_back(f.GetChunkIndex(i).m_dwChunkOffset);
    EXPECT_EQ(before[0], 204u);

    Put(f, 17, 100);
    EXPECT_EQ(f.GetMainHeader().wIndexCount, 32);
    f.CloseChunkFile();
    SetTraceSink({});
    EXPECT_NE(
        std::find(trace.begin(), trace.end(), "VerifyIndexCount(): changing index count from 16 to 32.\n"),
        trace.end());

    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.GetMainHeader().wIndexCount, 32);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(f.GetChunkIndex(i).m_dwChunkOffset, before[i] + 192);
    EXPECT_EQ(f.TestFileIntegrity(), 17);
    EXPECT_FALSE(f.IsFileDirty());
    for (uint32_t id = 1; id <= 17; ++id)
        EXPECT_EQ(GetChunkData(f, id), Pattern(100, static_cast<uint8_t>(id)));

    // Back to 16 chunks: 16 slots again, the chunks move down.
    EXPECT_TRUE(f.RemoveChunk(5));
    EXPECT_EQ(f.GetMainHeader().wIndexCount, 16);
    f.CloseChunkFile();
    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.GetChunkIndex(0).m_dwChunkOffset, 204u);
    EXPECT_EQ(f.TestFileIntegrity(), 16);
    EXPECT_EQ(ReadAll(m_path).size(), 204u + 16 * 132);
    EXPECT_FALSE(f.DoesChunkExist(5));
    EXPECT_EQ(GetChunkData(f, 17), Pattern(100, 17));
}

TEST_F(ChunkFileTest, SlotCountIsNotRecomputedOnOpen) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    f.CloseChunkFile();
    // Hand-edit the slot count to 48 with a matching zero table.
    auto bytes = ReadAll(m_path);
    bytes[8] = 48;
    bytes.resize(12 + 48 * 12, 0);
    WriteAll(m_path, bytes);
    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.GetMainHeader().wIndexCount, 48);
    EXPECT_EQ(f.TestFileIntegrity(), 0);
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path), bytes);
}

TEST_F(ChunkFileTest, GrowInPlaceMoveToEndAndRefresh) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    Put(f, 1, 50);
    Put(f, 2, 50);
    Put(f, 3, 50);
    f.CloseChunkFile();

    // The last chunk grows where it is: no gap, no dirty bit.
    f.OpenChunkFile(m_path);
    const uint32_t off3 = f.GetChunkIndex(2).m_dwChunkOffset;
    Put(f, 3, 80);
    EXPECT_EQ(f.GetChunkIndex(2).m_dwChunkOffset, off3);
    EXPECT_FALSE(f.IsFileDirty());
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path)[10] & 1, 0);

    // An earlier chunk that grows moves to the end; the save marks the file dirty.
    f.OpenChunkFile(m_path);
    Put(f, 1, 70);
    EXPECT_EQ(f.GetChunkIndex(0).m_dwChunkOffset, off3 + 80 + 32);
    EXPECT_TRUE(f.IsFileDirty());
    f.CloseChunkFile();
    auto dirty = ReadAll(m_path);
    EXPECT_EQ(dirty[10] & 1, 1);
    EXPECT_EQ(dirty.size(), 204u + 82 + 82 + 112 + 102);

    // A refresh removes the gap, clears the bit and shortens the file.
    f.OpenChunkFile(m_path);
    EXPECT_TRUE(f.IsFileDirty());
    f.RefreshChunkFile();
    EXPECT_FALSE(f.IsFileDirty());
    EXPECT_EQ(f.GetChunkIndex(0).m_dwChunkOffset, 204u);
    EXPECT_EQ(f.TestFileIntegrity(), 3);
    f.CloseChunkFile();
    auto clean = ReadAll(m_path);
    EXPECT_EQ(clean.size(), 204u + 102 + 82 + 112);
    EXPECT_EQ(clean[10] & 1, 0);
    f.OpenChunkFile(m_path);
    EXPECT_EQ(GetChunkData(f, 1), Pattern(70, 1));
    EXPECT_EQ(GetChunkData(f, 2), Pattern(50, 2));
    EXPECT_EQ(GetChunkData(f, 3), Pattern(80, 3));
}

TEST_F(ChunkFileTest, ShrinkingOrRemovingLeavesAGap) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    Put(f, 1, 50);
    Put(f, 2, 50);
    f.CloseChunkFile();
    f.OpenChunkFile(m_path);
    Put(f, 1, 50); // same size: nothing changes
    EXPECT_FALSE(f.IsFileDirty());
    Put(f, 1, 10);
    EXPECT_TRUE(f.IsFileDirty());
    EXPECT_EQ(f.GetChunkIndex(0).m_dwChunkOffset, 204u);
    f.CloseChunkFile();
    f.OpenChunkFile(m_path);
    EXPECT_TRUE(f.IsFileDirty());
    EXPECT_FALSE(f.RemoveChunk(9));
    EXPECT_TRUE(f.RemoveChunk(2));
    f.RefreshChunkFile();
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path).size(), 204u + 42);
}

TEST_F(ChunkFileTest, WrongMagicAndCreateModes) {
    std::vector<uint8_t> junk = NewFileBytes();
    junk[5] = 'B';
    WriteAll(m_path, junk);
    CQlnChunkFile f;
    EXPECT_THROW(f.OpenChunkFile(m_path), CNotSupportedException);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(FileCause([&] { f.CreateOpenChunkFile(m_path, false); }), CFileException::generic);
    EXPECT_EQ(ReadAll(m_path), junk);

    f.CreateOpenChunkFile(m_path, true);
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path), NewFileBytes());

    // A sound file is kept by an overwriting create.
    f.OpenChunkFile(m_path);
    Put(f, 4, 10);
    f.CloseChunkFile();
    auto sound = ReadAll(m_path);
    f.CreateOpenChunkFile(m_path, true);
    EXPECT_TRUE(f.DoesChunkExist(4));
    f.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path), sound);
}

TEST_F(ChunkFileTest, MisuseThrowsFileExceptions) {
    CQlnChunkFile f;
    EXPECT_EQ(FileCause([&] { f.DoesChunkExist(1); }), CFileException::invalidFile);
    EXPECT_EQ(FileCause([&] { f.SaveChunkFile(); }), CFileException::invalidFile);
    EXPECT_EQ(FileCause([&] { f.OpenChunkFile(""); }), CFileException::badPath);
    EXPECT_EQ(FileCause([&] { f.OpenChunkFile(m_dir / "missing.qln"); }), CFileException::fileNotFound);
    f.CloseChunkFile(); // closing a closed file only resets
    f.CreateOpenChunkFile(m_path, false);
    EXPECT_EQ(FileCause([&] { f.OpenChunkFile(m_path); }), CFileException::invalidFile);
    EXPECT_EQ(f.GetFileName(), m_path);
}

TEST_F(ChunkFileTest, SecondWriterFallsBackToReadOnly) {
    {
        CQlnChunkFile f;
        f.CreateOpenChunkFile(m_path, false);
        Put(f, 1, 20);
        f.CloseChunkFile();
    }
    CQlnChunkFile writer;
    writer.OpenChunkFile(m_path);
    EXPECT_FALSE(writer.IsReadOnly());

    CQlnChunkFile reader;
    reader.OpenChunkFile(m_path);
    EXPECT_TRUE(reader.IsReadOnly());
    EXPECT_EQ(GetChunkData(reader, 1), Pattern(20, 1));
    EXPECT_EQ(FileCause([&] { Put(reader, 2, 5); }), CFileException::accessDenied);
    EXPECT_EQ(FileCause([&] { reader.RemoveChunk(1); }), CFileException::accessDenied);
    EXPECT_EQ(FileCause([&] { reader.RefreshChunkFile(); }), CFileException::accessDenied);
    EXPECT_EQ(FileCause([&] { reader.StartIncompleteSave(3); }), CFileException::accessDenied);
    reader.CloseChunkFile();

    CQlnChunkFile remover;
    EXPECT_EQ(FileCause([&] { remover.RemoveChunkFile(m_path); }), CFileException::accessDenied);
    EXPECT_TRUE(CFile::Exists(m_path));
    writer.CloseChunkFile();
    remover.RemoveChunkFile(m_path);
    EXPECT_FALSE(CFile::Exists(m_path));
}

TEST_F(ChunkFileTest, IntegrityCodes) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    Put(f, 1, 30);
    f.CloseChunkFile();
    auto good = ReadAll(m_path);

    auto extra = good;
    extra.push_back(0);
    WriteAll(m_path, extra);
    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.TestFileIntegrity(), -10);
    f.CloseChunkFile();

    // A chunk that starts inside the index table, ending where the file ends.
    std::vector<uint8_t> inside = NewFileBytes();
    inside[12] = 1;
    inside[16] = 100;
    inside[20] = 104;
    WriteAll(m_path, inside);
    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.TestFileIntegrity(), -12);
    f.CloseChunkFile();

    // A trailer that names another chunk size.
    auto badTrailer = good;
    badTrailer[204 + 16 + 30 + 6] ^= 1;
    WriteAll(m_path, badTrailer);
    f.OpenChunkFile(m_path);
    EXPECT_EQ(FileCause([&] { f.TestFileIntegrity(); }), CFileException::generic);
    EXPECT_EQ(GetChunkData(f, 1), Pattern(30, 1)); // reading does not check the trailer
    f.CloseChunkFile();
}

TEST_F(ChunkFileTest, BadStructureIsRefusedBeforeAllocating) {
    static int s_allocs = 0;
    CQlnChunkFile::SetMemoryHooks(
        [](uint32_t n, bool d) {
            ++s_allocs;
            return QLNI_DefaultAllocMemory(n, d);
        },
        nullptr);
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    Put(f, 1, 30);
    f.CloseChunkFile();
    auto good = ReadAll(m_path);
    s_allocs = 0;

    f.OpenChunkFile(m_path);
    void* p = reinterpret_cast<void*>(1);
    uint32_t n = 99;
    EXPECT_FALSE(f.GetChunk(2, &p, &n));
    EXPECT_EQ(s_allocs, 0);
    f.CloseChunkFile();

    auto check = [&](std::vector<uint8_t> bytes, int cause) {
        WriteAll(m_path, bytes);
        CQlnChunkFile g;
        g.OpenChunkFile(m_path);
        EXPECT_EQ(FileCause([&] { GetChunkData(g, 1); }), cause);
        g.CloseChunkFile();
    };
    auto huge = good;
    huge[204 + 6 + 3] = 0x7F; // data size far beyond the chunk
    check(huge, CFileException::generic);
    auto past = good;
    past[16 + 1] = 0x10; // offset past the end of the file
    check(past, CFileException::generic);
    {
        // Nothing is appended after an index that reaches past the end of the file.
        WriteAll(m_path, past);
        CQlnChunkFile g;
        g.OpenChunkFile(m_path);
        EXPECT_EQ(FileCause([&] { Put(g, 5, 10); }), CFileException::generic);
        EXPECT_EQ(FileCause([&] { g.StartIncompleteSave(6); }), CFileException::generic);
        EXPECT_FALSE(g.DoesChunkExist(5));
        g.CloseChunkFile();
        EXPECT_EQ(ReadAll(m_path), past);
    }
    auto wrongId = good;
    wrongId[204 + 1] = 2;
    check(wrongId, CFileException::generic);
    EXPECT_EQ(s_allocs, 0);

    // A slot table longer than the file.
    auto shortTable = good;
    shortTable[8] = 0xFF;
    shortTable[9] = 0xFF;
    WriteAll(m_path, shortTable);
    EXPECT_EQ(FileCause([&] { f.OpenChunkFile(m_path); }), CFileException::generic);
    // Truncated main header; index field width other than 4.
    WriteAll(m_path, {'Q', 'L', 'N'});
    EXPECT_EQ(FileCause([&] { f.OpenChunkFile(m_path); }), CFileException::generic);
    auto width = good;
    width[6] = 2;
    WriteAll(m_path, width);
    EXPECT_THROW(f.OpenChunkFile(m_path), CNotSupportedException);
    CQlnChunkFile::SetMemoryHooks(QLNI_DefaultAllocMemory, QLNI_DefaultFreeMemory);
}

TEST_F(ChunkFileTest, StreamedWrite) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    Put(f, 1, 10);
    const uint32_t off = f.StartIncompleteSave(2000);
    EXPECT_EQ(off, 204u + 42);
    auto data = Pattern(1000, 9);
    f.GetCFileHandle().Seek(off + 16, CFile::begin);
    f.GetCFileHandle().Write(data.data(), 1000);
    f.FinishIncompleteSave(2000, off, 1000, 0, 0, 0);
    EXPECT_TRUE(f.IsFileDirty()); // a streamed write always marks the file
    f.CloseChunkFile();
    f.OpenChunkFile(m_path);
    EXPECT_EQ(f.TestFileIntegrity(), 2);
    EXPECT_EQ(GetChunkData(f, 2000), data);

    // A streamed write that is given up leaves the file as it was.
    const auto before = ReadAll(m_path);
    const uint32_t off2 = f.StartIncompleteSave(3000);
    f.GetCFileHandle().Write(data.data(), 100);
    f.CancelIncompleteSave(off2);
    EXPECT_EQ(f.TestFileIntegrity(), 2);
    f.CloseChunkFile();
    auto after = ReadAll(m_path);
    after[10] = before[10];
    EXPECT_EQ(after, before);
}

TEST_F(ChunkFileTest, FailedCompactionLeavesTheOldFileIntact) {
    {
        CQlnChunkFile f;
        f.CreateOpenChunkFile(m_path, false);
        for (uint32_t id = 1; id <= 6; ++id) Put(f, id, 5000);
        f.CloseChunkFile();
        f.OpenChunkFile(m_path);
        f.RemoveChunk(2);
        f.CloseChunkFile();
    }
    const auto before = ReadAll(m_path);
    for (uint64_t budget : {0ull, 11ull, 300ull, 9000ull, 20000ull}) {
        CFailingChunkFile f;
        f.OpenChunkFile(m_path);
        f.m_nBudget = budget;
        EXPECT_EQ(FileCause([&] { f.RefreshChunkFile(); }), CFileException::diskFull) << budget;
        EXPECT_EQ(ReadAll(m_path), before) << budget;
        EXPECT_EQ(m_dir.FileCount(), 1u) << "no temporary file is left";
        // The object still describes the old file.
        EXPECT_EQ(GetChunkData(f, 6), Pattern(5000, 6));
        f.m_nBudget = UINT64_MAX;
        f.CloseChunkFile();
        EXPECT_EQ(ReadAll(m_path), before);
    }
    CQlnChunkFile g;
    g.OpenChunkFile(m_path);
    EXPECT_EQ(g.TestFileIntegrity(), 5);
    g.RefreshChunkFile();
    EXPECT_EQ(g.TestFileIntegrity(), 5);
    for (uint32_t id : {1u, 3u, 4u, 5u, 6u})
        EXPECT_EQ(GetChunkData(g, id), Pattern(5000, static_cast<uint8_t>(id)));
    g.CloseChunkFile();
    EXPECT_EQ(ReadAll(m_path).size(), 204u + 5 * 5032);
}

TEST_F(ChunkFileTest, FailedSaveThatGrowsTheIndexLeavesTheOldFileIntact) {
    {
        CQlnChunkFile f;
        f.CreateOpenChunkFile(m_path, false);
        for (uint32_t id = 1; id <= 16; ++id) Put(f, id, 300);
        f.CloseChunkFile();
    }
    const auto before = ReadAll(m_path);
    CFailingChunkFile f;
    f.OpenChunkFile(m_path);
    Put(f, 17, 300);
    f.m_nBudget = f.m_nWritten + 2000;
    EXPECT_EQ(FileCause([&] { f.CloseChunkFile(); }), CFileException::diskFull);
    EXPECT_FALSE(f.IsOpen());
    // Exactly the old file: the 17th chunk appended after the data is cut off again.
    EXPECT_EQ(ReadAll(m_path), before);
    CQlnChunkFile g;
    g.OpenChunkFile(m_path);
    EXPECT_EQ(g.TestFileIntegrity(), 16);
    EXPECT_EQ(GetChunkData(g, 16), Pattern(300, 16));
}

TEST_F(ChunkFileTest, FailedChunkWriteKeepsTheIndex) {
    CFailingChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    Put(f, 1, 100);
    f.m_nBudget = f.m_nWritten + 50;
    EXPECT_EQ(FileCause([&] { Put(f, 2, 100); }), CFileException::diskFull);
    EXPECT_FALSE(f.DoesChunkExist(2));
    f.m_nBudget = UINT64_MAX;
    f.CloseChunkFile();
    CQlnChunkFile g;
    g.OpenChunkFile(m_path);
    EXPECT_EQ(g.TestFileIntegrity(), 1);
}

} // namespace
