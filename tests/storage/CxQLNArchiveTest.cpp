#include "PackageTestUtil.h"

#include "framework/CFile.h"
#include "framework/SystemInfo.h"
#include "framework/UserPrompt.h"
#include "storage/install/CxQLNArchive.h"
#include "storage/install/CxQLNArchiveWriter.h"
#include "storage/install/ParcelgramExtraction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// A package built byte by byte, independent of the writer.
struct RawPackage {
    std::vector<uint8_t> bytes;
    RawPackage() {
        const char magic[] = "QLN95B";
        bytes.assign(magic, magic + 7);
        bytes.resize(20, 0xAA); // bytes 7..19 are not interpreted
    }
    void Entry(const std::string& name, const std::string& data, uint32_t crc, uint32_t size) {
        std::vector<uint8_t> hdr(256, 0);
        std::memcpy(hdr.data(), name.data(), std::min<size_t>(name.size(), 256));
        bytes.insert(bytes.end(), hdr.begin(), hdr.end());
        Put32(bytes, crc);
        Put32(bytes, size);
        bytes.insert(bytes.end(), 8, 0x55);
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    void End() { bytes.insert(bytes.end(), 272, 0); }
};

constexpr uint32_t kCrc123456789 = 0xCBF43926; // the standard check value

class ArchiveTest : public ::testing::Test {
protected:
    CScratchDir m_dir;
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};

    std::string MakePackage(const std::vector<std::pair<std::string, std::string>>& entries,
                            const std::string& name = "p.vrz") {
        std::string path = m_dir / name;
        CxQLNArchiveWriter w(path);
        for (auto& [n, d] : entries) w.AddEntry(n, d.data(), static_cast<uint32_t>(d.size()));
        w.Commit();
        return path;
    }
};

TEST_F(ArchiveTest, RefusesFilesThatAreNotPackages) {
    CxQLNArchive ar;
    WriteText(m_dir / "short", "QLN95B");
    EXPECT_FALSE(ar.Open(m_dir / "short"));
    EXPECT_EQ(ar.GetErrorState(), CxQLNArchive::errNotPackage);

    for (const char* magic : {"QLN95A", "QLN95BX", "qln95b"}) {
        std::vector<uint8_t> v(magic, magic + std::strlen(magic) + 1);
        v.resize(300, 0);
        WriteBytes(m_dir / "other", v);
        EXPECT_FALSE(ar.Open(m_dir / "other")) << magic;
        EXPECT_EQ(ar.GetErrorState(), CxQLNArchive::errNotPackage) << magic;
        EXPECT_FALSE(ar.IsOpen());
    }
    EXPECT_TRUE(m_prompt.m_shown.empty()); // the wizard reports these

    EXPECT_FALSE(ar.Open(m_dir / "missing.vrz"));
    EXPECT_EQ(ar.GetErrorState(), CxQLNArchive::errOpenFailed);
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "File " + (m_dir / "missing.vrz") + " not found.");
}

TEST_F(ArchiveTest, EmptyPackagesOpenAndExtractNothing) {
    RawPackage p;
    WriteBytes(m_dir / "hdr-only.vrz", p.bytes); // the list may end at the end of the file
    p.End();
    WriteBytes(m_dir / "empty.vrz", p.bytes);
    for (const char* name : {"empty.vrz", "hdr-only.vrz"}) {
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(m_dir / name)) << name;
        EXPECT_TRUE(ar.GetEntries().empty());
        EXPECT_EQ(ar.GetTotalDataSize(), 0u);
        std::filesystem::create_directory(m_dir / "out");
        EXPECT_TRUE(ar.Extract(m_dir / "out"));
        EXPECT_TRUE(ListDir(m_dir / "out").empty());
        EXPECT_TRUE(ar.Close());
    }
}

TEST_F(ArchiveTest, ReadsTheLayoutExactly) {
    RawPackage p;
    p.Entry("A.QLN", "123456789", kCrc123456789, 9);
    p.Entry("b.qln", "", 0, 0);
    p.End();
    p.bytes.insert(p.bytes.end(), {1, 2, 3}); // anything after the end is ignored
    WriteBytes(m_dir / "p.vrz", p.bytes);

    CxQLNArchive ar;
    ASSERT_TRUE(ar.Open(m_dir / "p.vrz"));
    ASSERT_EQ(ar.GetEntries().size(), 2u);
    EXPECT_EQ(ar.GetEntries()[0].m_dwOffset, 20u);
    EXPECT_EQ(ar.GetEntries()[0].m_dwSize, 281u);
    EXPECT_EQ(ar.GetEntries()[1].m_dwOffset, 20u + 281u);
    EXPECT_EQ(ar.GetEntries()[1].m_dwSize, 272u);
    EXPECT_EQ(ar.GetTotalDataSize(), 9u);
    std::vector<std::string> names{"first"};
    ar.GetEntryNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"first", "A.QLN", "b.qln"}));

    std::string out = m_dir / "out";
    std::filesystem::create_directory(out);
    ASSERT_TRUE(ar.Extract(out));
    EXPECT_EQ(ReadText(out + "/A.QLN"), "123456789");
    EXPECT_TRUE(std::filesystem::exists(out + "/b.qln"));
    EXPECT_EQ(m_prompt.m_status, (std::vector<std::string>{"A.QLN", "b.qln"}));

    // The writer produces the same bytes (apart from the ignored fields).
    MakePackage({{"A.QLN", "123456789"}}, "w.vrz");
    auto w = ReadBytes(m_dir / "w.vrz");
    ASSERT_EQ(w.size(), 20u + 281u + 272u);
    EXPECT_TRUE(std::equal(w.begin(), w.begin() + 7, p.bytes.begin()));
    EXPECT_TRUE(std::equal(w.begin() + 20, w.begin() + 20 + 264, p.bytes.begin() + 20));
}

TEST_F(ArchiveTest, LargeEntriesExtractByteForByte) {
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::string path = MakePackage({{"small", "abc"}, {"big", big}, {"mid", big.substr(5, 70000)}});
    CxQLNArchive ar;
    ASSERT_TRUE(ar.Open(path));
    EXPECT_EQ(ar.GetTotalDataSize(), 3u + big.size() + 70000u);
    std::string out = m_dir / "out";
    std::filesystem::create_directory(out);
    ASSERT_TRUE(ar.Extract(out));
    EXPECT_EQ(ReadText(out + "/big"), big);
    EXPECT_EQ(ReadText(out + "/mid"), big.substr(5, 70000));
    EXPECT_EQ(ReadText(out + "/small"), "abc");
}

TEST_F(ArchiveTest, ChangedByteStopsTheListAtTheDamagedEntry) {
    std::string path = MakePackage({{"one", "first data"}, {"two", "second data"}, {"three", "x"}});
    auto v = ReadBytes(path);
    v[20 + 272 + 10 + 272 + 3] ^= 0x01; // inside the second entry's data
    WriteBytes(path, v);
    CxQLNArchive ar;
    EXPECT_FALSE(ar.Open(path));
    EXPECT_EQ(ar.GetErrorState(), CxQLNArchive::errChecksum);
    ASSERT_EQ(ar.GetEntries().size(), 1u);
    EXPECT_EQ(ar.GetEntries()[0].m_strName, "one");
}

TEST_F(ArchiveTest, TruncatedPackagesAreDamagedNotRead) {
    std::string path = MakePackage({{"one", std::string(1000, 'x')}, {"two", "yy"}});
    const auto full = ReadBytes(path);
    // Cut in the first data, in the second header, in the second data.
    for (size_t cut : {size_t(20 + 272 + 500), size_t(20 + 1272 + 100), size_t(20 + 1272 + 272 + 1)}) {
        WriteBytes(path, std::vector<uint8_t>(full.begin(), full.begin() + cut));
        CxQLNArchive ar;
        EXPECT_FALSE(ar.Open(path)) << cut;
        EXPECT_EQ(ar.GetErrorState(), CxQLNArchive::errChecksum) << cut;
    }
    // Sizes near 4 GB in a small file: refused without reading or allocating.
    RawPackage p;
    p.Entry("big", "abc", 0, 0xFFFFFFF0u);
    WriteBytes(path, p.bytes);
    CxQLNArchive ar;
    EXPECT_FALSE(ar.Open(path));
    EXPECT_EQ(ar.GetErrorState(), CxQLNArchive::errChecksum);
}

TEST_F(ArchiveTest, NameWithoutTerminatorIsCutAt255) {
    RawPackage p;
    p.Entry(std::string(256, 'n'), "", 0, 0);
    p.End();
    WriteBytes(m_dir / "p.vrz", p.bytes);
    CxQLNArchive ar;
    ASSERT_TRUE(ar.Open(m_dir / "p.vrz"));
    ASSERT_EQ(ar.GetEntries().size(), 1u);
    EXPECT_EQ(ar.GetEntries()[0].m_strName, std::string(255, 'n'));
}

TEST_F(ArchiveTest, HostileNamesAreRefusedAndNothingIsWritten) {
    for (const char* bad : {".", "..", "../evil", "/tmp/evil", "sub/evil", "sub\\evil", "C:evil", "..\\evil"})
        EXPECT_FALSE(CxQLNArchive::IsSafeEntryName(bad)) << bad;
    for (const char* good : {"PHOTO.QLN", "...", "a b.qln", ".hidden"})
        EXPECT_TRUE(CxQLNArchive::IsSafeEntryName(good)) << good;

    std::string out = m_dir / "out";
    std::filesystem::create_directory(out);
    for (const char* bad : {"../evil", "..", "sub/evil"}) {
        std::string path = MakePackage({{"fine.qln", "ok"}, {bad, "payload"}});
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(path)) << bad;
        m_prompt.m_shown.clear();
        EXPECT_FALSE(ar.Extract(out)) << bad;
        ASSERT_EQ(m_prompt.m_shown.size(), 1u);
        EXPECT_NE(m_prompt.m_shown[0].text.find(bad), std::string::npos);
        EXPECT_TRUE(ListDir(out).empty()) << bad;
        EXPECT_FALSE(std::filesystem::exists(m_dir / "evil"));
    }
}

TEST_F(ArchiveTest, OverwriteQuestionYesToAllAndNo) {
    std::string out = m_dir / "out";
    std::filesystem::create_directory(out);
    std::string path = MakePackage({{"a", "new a"}, {"b", "new b"}, {"c", "new c"}});
    WriteText(out + "/a", "old a");
    WriteText(out + "/c", "old c");

    { // No keeps the file and goes on; Yes replaces.
        m_prompt.m_answers = {2, 0};
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(path));
        ASSERT_TRUE(ar.Extract(out));
        EXPECT_EQ(ReadText(out + "/a"), "old a");
        EXPECT_EQ(ReadText(out + "/b"), "new b");
        EXPECT_EQ(ReadText(out + "/c"), "new c");
        ASSERT_EQ(m_prompt.m_shown.size(), 2u);
        EXPECT_EQ(m_prompt.m_shown[0].text, "File " + out + "/a already exists, Overwrite?");
        EXPECT_EQ(m_prompt.m_buttonSets[0], (std::vector<std::string>{"Yes", "Yes To All...", "No"}));
    }
    { // Yes To All once: every later file without asking, for this extraction only.
        WriteText(out + "/a", "old a");
        m_prompt.m_shown.clear();
        m_prompt.m_answers = {1};
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(path));
        ASSERT_TRUE(ar.Extract(out));
        EXPECT_EQ(m_prompt.m_shown.size(), 1u);
        EXPECT_EQ(ReadText(out + "/a"), "new a");
        m_prompt.m_shown.clear();
        m_prompt.m_answers = {2, 2, 2};
        ASSERT_TRUE(ar.Extract(out)); // the flag was cleared at the end
        EXPECT_EQ(m_prompt.m_shown.size(), 3u);
    }
}

TEST_F(ArchiveTest, FailedExtractionKeepsTheFileItReplaces) {
    std::string out = m_dir / "out";
    std::filesystem::create_directory(out);
    std::string path = MakePackage({{"a", std::string(5000, 'n')}});
    WriteText(out + "/a", "old a");
    for (long long nBudget : {0LL, 1LL, 4096LL, 4999LL}) {
        m_prompt.m_answers = {0};
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(path));
        CAtomicFile::SetWriteBudget(nBudget);
        CAtomicFile::TakeBytesWritten();
        const bool bDone = ar.Extract(out);
        CAtomicFile::SetWriteBudget(-1);
        EXPECT_FALSE(bDone) << nBudget;
        EXPECT_EQ(ReadText(out + "/a"), "old a") << nBudget;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1) << nBudget;
    }
}

TEST_F(ArchiveTest, TargetThatCannotBeCreatedStopsExtraction) {
    std::string path = MakePackage({{"a", "1"}, {"b", "2"}});
    CxQLNArchive ar;
    ASSERT_TRUE(ar.Open(path));
    EXPECT_FALSE(ar.Extract(m_dir / "no-such-dir"));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "File " + (m_dir / "no-such-dir/a") + " not found.");

    // A directory in the way of the first file: access denied, nothing more.
    std::string out = m_dir / "out";
    std::filesystem::create_directories(out + "/a");
    m_prompt.m_shown.clear();
    EXPECT_FALSE(ar.Extract(out));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, "Access to file " + out + "/a denied.");
    EXPECT_FALSE(std::filesystem::exists(out + "/b"));
}

TEST_F(ArchiveTest, DeleteOnCloseOnlyWhenAsked) {
    std::string path = MakePackage({{"a", "1"}});
    {
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(path));
        EXPECT_TRUE(ar.Close());
        EXPECT_FALSE(ar.Close());
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    { // Destroyed without Close: the package stays.
        CxQLNArchive ar;
        ASSERT_TRUE(ar.Open(path, CFile::modeRead | CxQLNArchive::modeDeleteOnClose));
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    CxQLNArchive ar;
    ASSERT_TRUE(ar.Open(path, CFile::modeRead | CxQLNArchive::modeDeleteOnClose));
    EXPECT_TRUE(ar.Close());
    EXPECT_FALSE(std::filesystem::exists(path));
}

class CFakeSystemInfo : public ISystemInfo {
public:
    uint64_t GetAvailableMemory() override { return 1ull << 30; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return m_nFree; }
    uint64_t m_nFree = 1ull << 40;
};

TEST_F(ArchiveTest, ExtractionSequence) {
    CFakeSystemInfo info;
    SetSystemInfo(&info);
    std::string path = MakePackage({{"a.qln", "12345"}, {"b.qln", "678"}});
    std::vector<std::string> names;

    info.m_nFree = 7; // one byte short
    EXPECT_FALSE(ExtractParcelgram(path, m_dir / "album", true, names));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text.rfind("Not enought storage available on /", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "album"));
    info.m_nFree = 8;

    WriteText(m_dir / "file", "x");
    m_prompt.m_shown.clear();
    EXPECT_FALSE(ExtractParcelgram(path, m_dir / "file/album", true, names));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text,
              "Error creating directory " + (m_dir / "file/album") + ". Aborting...");

    // Extraction fails (a directory in the way): the package is kept.
    std::filesystem::create_directories(m_dir / "busy/a.qln");
    EXPECT_FALSE(ExtractParcelgram(path, m_dir / "busy", true, names));
    EXPECT_TRUE(std::filesystem::exists(path));

    ASSERT_TRUE(ExtractParcelgram(path, m_dir / "album", false, names));
    EXPECT_EQ(names, (std::vector<std::string>{"a.qln", "b.qln"}));
    EXPECT_TRUE(std::filesystem::exists(path));
    names.clear();
    m_prompt.m_answers = {1};
    ASSERT_TRUE(ExtractParcelgram(path, m_dir / "album", true, names));
    EXPECT_EQ(ReadText(m_dir / "album/b.qln"), "678");
    EXPECT_FALSE(std::filesystem::exists(path)); // deleted when through

    m_prompt.m_shown.clear();
    WriteText(m_dir / "x.vrz", "not a package at all, just text");
    EXPECT_FALSE(ExtractParcelgram(m_dir / "x.vrz", m_dir / "album2", true, names));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text, (m_dir / "x.vrz") + " not a valid Parcelgram file.");
    EXPECT_TRUE(std::filesystem::exists(m_dir / "x.vrz"));

    path = MakePackage({{"a.qln", "12345"}});
    auto v = ReadBytes(path);
    v[20 + 272] ^= 0x80;
    WriteBytes(path, v);
    m_prompt.m_shown.clear();
    EXPECT_FALSE(ExtractParcelgram(path, m_dir / "album3", true, names));
    ASSERT_EQ(m_prompt.m_shown.size(), 1u);
    EXPECT_EQ(m_prompt.m_shown[0].text,
              "Parcelgram file " + path + " possibly corrupted. Please download again..");
    SetSystemInfo(nullptr);
}

} // namespace
