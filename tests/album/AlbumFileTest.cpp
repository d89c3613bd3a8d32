// The album file byte for byte, the show settings, and loading bad files.

#include "album/AlbumFile.h"
#include "AlbumTestUtil.h"
#include "album/CAlbum.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/ReportException.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Header(uint16_t wScale, const std::string& title, const std::string& description) {
    std::vector<uint8_t> v(CAlbum::kSignature, CAlbum::kSignature + 15);
    v.push_back(static_cast<uint8_t>(wScale));
    v.push_back(static_cast<uint8_t>(wScale >> 8));
    v.push_back(static_cast<uint8_t>(title.size()));
    v.insert(v.end(), title.begin(), title.end());
    v.push_back(static_cast<uint8_t>(description.size()));
    v.insert(v.end(), description.begin(), description.end());
    for (uint16_t w : {1, 1, 0, 1, 1, 1, 1, 1}) {
        v.push_back(static_cast<uint8_t>(w));
        v.push_back(0);
    }
    return v;
}

void AppendElem(std::vector<uint8_t>& v, const std::string& path, bool bFirst) {
    if (bFirst) {
        const std::vector<uint8_t> tag = {0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00};
        v.insert(v.end(), tag.begin(), tag.end());
        const std::string name = "CAlbumElem";
        v.insert(v.end(), name.begin(), name.end());
    } else {
        v.push_back(0x01);
        v.push_back(0x80);
    }
    v.push_back(static_cast<uint8_t>(path.size()));
    v.insert(v.end(), path.begin(), path.end());
    const std::vector<uint8_t> props = {0xEA, 0x03, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    v.insert(v.end(), props.begin(), props.end());
}

std::vector<uint8_t> StoreBytes(const CAlbum& album) {
    CMemFile mem;
    CArchive ar(&mem, CArchive::store);
    album.Store(ar);
    ar.Close();
    return mem.Data();
}

void LoadBytes(CAlbum& album, const std::vector<uint8_t>& bytes) {
    CMemFile mem(bytes);
    CArchive ar(&mem, CArchive::load);
    album.Load(ar);
}

int ArchiveCause(const std::vector<uint8_t>& bytes) {
    CAlbum album;
    try {
        LoadBytes(album, bytes);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

} // namespace

TEST(AlbumFile, EmptyAlbumIsHeaderAndZeroCount) {
    CAlbum album;
    EXPECT_EQ(album.m_nScale, 1);
    EXPECT_EQ(album.m_bNewAlbum, 1);
    EXPECT_EQ(album.m_nSavedScale, -1);
    std::vector<uint8_t> expected = Header(1, "Untitled", "No Description");
    expected.push_back(0);
    expected.push_back(0);
    EXPECT_EQ(StoreBytes(album), expected);
    EXPECT_EQ(expected.size(), 15u + 2 + 9 + 15 + 16 + 2);
}

TEST(AlbumFile, ElementsAreNewClassThenClassReferences) {
    CAlbum album;
    album.m_nScale = 2;
    album.AppendElem("/p/a.qln");
    album.AppendElem("/p/b.qln");
    album.AppendElem("/p/a.qln");
    std::vector<uint8_t> expected = Header(2, "Untitled", "No Description");
    expected.push_back(3);
    expected.push_back(0);
    AppendElem(expected, "/p/a.qln", true);
    AppendElem(expected, "/p/b.qln", false);
    AppendElem(expected, "/p/a.qln", false);
    EXPECT_EQ(StoreBytes(album), expected);

    CAlbum loaded;
    LoadBytes(loaded, expected);
    ASSERT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(loaded.GetPath(1), "/p/b.qln");
    EXPECT_EQ(loaded.m_nScale, 2);
    EXPECT_EQ(loaded.m_nSavedScale, 2);
    EXPECT_EQ(loaded.m_bNewAlbum, 0);
    EXPECT_EQ(loaded.FindSavedElem("/p/a.qln"), 0);
    EXPECT_EQ(loaded.GetShowElemProps(2), CShowElemProps());
}

TEST(AlbumFile, RoundTripKeepsEveryField) {
    CAlbum album;
    album.m_strTitle = std::string(300, 't'); // a long archive string
    album.m_strDescription = "";
    album.m_showProps.m_bRandomOrder = 1;
    album.m_showProps.m_bPanel = 0;
    album.AppendElem("x.qln", CShowElemProps());
    album.GetShowElemProps(0).m_nEffect = 1007;
    album.GetShowElemProps(0).m_dwDelay = 123456;
    album.GetShowElemProps(0).m_dwReserved = 0xDEADBEEF;
    CAlbum loaded;
    LoadBytes(loaded, StoreBytes(album));
    EXPECT_EQ(loaded.m_strTitle, album.m_strTitle);
    EXPECT_EQ(loaded.m_strDescription, "");
    EXPECT_EQ(loaded.m_showProps, album.m_showProps);
    EXPECT_NE(loaded.m_showProps, CShowProps());
    EXPECT_EQ(loaded.GetShowElemProps(0), album.GetShowElemProps(0));
}

TEST(AlbumFile, ObjectReferencesAndNullTagsAreAccepted) {
    std::vector<uint8_t> bytes = Header(0, "T", "D");
    bytes.push_back(3);
    bytes.push_back(0);
    AppendElem(bytes, "one", true); // class index 1, object index 2
    bytes.push_back(0x02);          // object reference to the first element
    bytes.push_back(0x00);
    bytes.push_back(0x00); // null element
    bytes.push_back(0x00);
    CAlbum album;
    LoadBytes(album, bytes);
    ASSERT_EQ(album.GetCount(), 2);
    EXPECT_EQ(album.GetPath(1), "one");
}

TEST(AlbumFile, BadFilesGiveArchiveErrors) {
    std::vector<uint8_t> good = Header(1, "T", "D");
    good.push_back(1);
    good.push_back(0);
    AppendElem(good, "one", true);
    EXPECT_EQ(ArchiveCause(good), -1);

    std::vector<uint8_t> bad = good;
    bad[14] = '!'; // the signature's zero byte
    EXPECT_EQ(ArchiveCause(bad), CArchiveException::badIndex);
    try {
        CAlbum album;
        LoadBytes(album, bad);
    } catch (const CException& e) {
        EXPECT_EQ(GetExceptionMessage(e), "Unexpected file format.");
    }

    bad = good; // foreign class of the same name length
    std::memcpy(bad.data() + Header(1, "T", "D").size() + 2 + 6, "CAlbumItem", 10);
    EXPECT_EQ(ArchiveCause(bad), CArchiveException::badClass);

    bad = good; // schema 1
    bad[Header(1, "T", "D").size() + 2 + 2] = 1;
    EXPECT_EQ(ArchiveCause(bad), CArchiveException::badSchema);

    bad = good; // a count beyond the data
    bad[Header(1, "T", "D").size()] = 0xFF;
    bad[Header(1, "T", "D").size() + 1] = 0xFF;
    EXPECT_EQ(ArchiveCause(bad), CArchiveException::endOfFile);

    for (size_t n = 0; n < good.size(); ++n) // every truncation
        EXPECT_NE(ArchiveCause(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n))), -1);
}

TEST(AlbumFile, ShowSettingsDefaultsAndStoredForms) {
    CShowProps props;
    EXPECT_EQ(props.m_bAutoAdvance, 1);
    EXPECT_EQ(props.m_bRandomOrder, 0);
    CShowProps other;
    other.m_bFullScreen = 0;
    EXPECT_NE(props, other);
    other = props;
    EXPECT_EQ(props, other);

    CShowElemProps elem;
    elem.m_dwReserved = 7;
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        elem.Serialize(ar);
        props.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(mem.Data().size(), CShowElemProps::kStoredSize + CShowProps::kStoredSize);
    mem.SeekToBegin();
    CArchive in(&mem, CArchive::load);
    CShowElemProps back;
    back.Serialize(in);
    EXPECT_EQ(back, elem);
    EXPECT_NE(back, CShowElemProps());
}

TEST(AlbumFile, WriteFailureAtEveryWriteKeepsTheOldFile) {
    CAlbumScratch dir;
    const std::string path = dir / "big.alb";
    CAlbum oldAlbum;
    oldAlbum.m_strTitle = "old";
    WriteAlbumFileBeside(path, [&](CArchive& ar) { oldAlbum.Store(ar); });
    const std::vector<uint8_t> oldBytes = ReadBytes(path);

    CAlbum newAlbum;
    newAlbum.m_strTitle = "new";
    for (int i = 0; i < 600; ++i)
        newAlbum.AppendElem(dir / ("photos/a-rather-long-photo-name-" + std::to_string(i) + ".qln"));
    int nWrites = 0;
    SetAlbumWriteHook([&](int n) { nWrites = std::max(nWrites, n + 1); });
    WriteAlbumFileBeside(dir / "count.alb", [&](CArchive& ar) { newAlbum.Store(ar); });
    ASSERT_GT(nWrites, 4);
    const std::vector<uint8_t> newBytes = ReadBytes(dir / "count.alb");

    for (int nFail = 0; nFail < nWrites; ++nFail) {
        SetAlbumWriteHook([&](int n) {
            if (n == nFail) AfxThrowFileException(CFileException::diskFull, 28, path);
        });
        EXPECT_THROW(WriteAlbumFileBeside(path, [&](CArchive& ar) { newAlbum.Store(ar); }), CFileException);
        EXPECT_EQ(ReadBytes(path), oldBytes) << "failure at write " << nFail;
        CAlbum check;
        check.LoadFile(path, false);
        EXPECT_EQ(check.m_strTitle, "old");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2) << "no temp left";
    }
    SetAlbumWriteHook({});
    WriteAlbumFileBeside(path, [&](CArchive& ar) { newAlbum.Store(ar); });
    EXPECT_EQ(ReadBytes(path), newBytes);
    CAlbum check;
    check.LoadFile(path, false);
    EXPECT_EQ(check.GetCount(), 600);
}
