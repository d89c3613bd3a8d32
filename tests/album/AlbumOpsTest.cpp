// Album operations against photo files: thumbnails, backward paths, saves,
// discards, response files and album path changes.

#include "AlbumTestUtil.h"
#include "album/AlbumPathChanges.h"
#include "album/AlbumPhotos.h"
#include "album/AlbumScales.h"
#include "album/CAlbum.h"
#include "album/CAlbumData.h"
#include "album/CAlbumResponseFile.h"
#include "framework/CFile.h"

#include <gtest/gtest.h>

namespace {

class AlbumOps : public ::testing::Test {
protected:
    void SetUp() override { QLNI_Initialize(nullptr); }
    void TearDown() override { QLNI_CloseFile(); }
    CAlbumScratch dir;
    CScriptedPrompt prompt;
    CUserPromptScope scope{&prompt};
};

ImageHdrType ThumbHeader(const std::string& photo, uint16_t wScale) {
    ImageHdrType hdr{};
    hdr.dwStructSize = kImageHdrSize;
    GetTag(photo, QLNI_TAG_THUMBNAIL_HDR, &hdr, &wScale);
    QLNI_CloseFile();
    return hdr;
}

} // namespace

TEST(AlbumScales, TableAndPortraitSwap) {
    EXPECT_EQ(GetThumbnailSize(0), CSize(64, 43));
    EXPECT_EQ(GetThumbnailSize(3), CSize(136, 91));
    EXPECT_EQ(GetThumbnailSize(1, 30, 40), CSize(53, 80));
    EXPECT_EQ(GetThumbnailSize(1, 40, 40), CSize(80, 53));
    EXPECT_EQ(ShortenPathForDisplay("/A/B.QLN"), "/a/b.qln");
    EXPECT_EQ(ShortenPathForDisplay(std::string(100, 'X')).size(), 64u);
}

TEST_F(AlbumOps, AddRecordsThumbnailTitleAndPortraitSize) {
    const std::string photo = dir / "p.qln";
    MakePhotoFile(photo, 30, 40);
    CAlbum album;
    album.m_strProvisionalPath = dir / "a.alb";
    album.AddPhotos({photo});
    ASSERT_EQ(album.GetCount(), 1);
    const ImageHdrType hdr = ThumbHeader(photo, 1);
    EXPECT_EQ(hdr.dwWidth, 53u);
    EXPECT_EQ(hdr.dwHeight, 80u);
    EXPECT_EQ(BackwardPaths(photo, 1), std::set<std::string>{Upper(dir / "a.alb")});
    EXPECT_EQ(album.GetPhotoTitle(0), "p.qln");
    ASSERT_FALSE(prompt.m_status.empty());
    EXPECT_EQ(prompt.m_status[0], "Reading file 1 out of 1 : " + ShortenPathForDisplay(photo));
    EXPECT_EQ(prompt.m_nWaitDepth, 0);

    // A title already there stays.
    album.SetPhotoTitle(0, "Kept");
    album.AddPhotos({photo});
    EXPECT_EQ(album.GetPhotoTitle(1), "Kept");
}

TEST_F(AlbumOps, BitmapGetsCompanionAndEightBitThumbnailKeepsPixels) {
    const std::string bmp = dir / "pic.bmp";
    MakePicture(50, 20, 8)->SaveBMP(bmp);
    CAlbum album;
    album.AddPhotos({bmp});
    ASSERT_EQ(album.GetCount(), 1);
    EXPECT_EQ(album.GetPath(0), dir / "pic.KDX");
    EXPECT_TRUE(CFile::Exists(dir / "pic.KDX"));
    // 8 bits with nearest sampling: stored raw, pixels readable.
    TnImageRecType tn{};
    tn.Hdr.dwStructSize = kImageHdrSize;
    tn.wScale = 1;
    ASSERT_EQ(GetTag(album.GetPath(0), QLNI_TAG_THUMBNAIL, &tn, nullptr), 1);
    EXPECT_EQ(tn.Hdr.BitsPerPixel, 8u);
    EXPECT_EQ(tn.Hdr.DataCompression, 0);
    ASSERT_NE(tn.pPixels, nullptr);
    auto thumb = MakeThumbnailDib(*MakePicture(50, 20, 8), 1, 0);
    EXPECT_EQ(std::memcmp(tn.pPixels, thumb->GetBits(), thumb->GetImageSize()), 0);
    QLNI_FreeTagData(tn.pPixels);
    QLNI_CloseFile();
    // The companion's picture is the bitmap.
    EXPECT_EQ(LoadPhotoImage(album.GetPath(0))->GetWidth(), 50);
}

TEST_F(AlbumOps, UnreadablePictureAsksAndIsSkipped) {
    const std::string junk = dir / "junk.qln";
    WriteBytes(junk, {1, 2, 3});
    CAlbum album;
    prompt.m_answers = {IDRETRY, IDIGNORE};
    album.AddPhotos({junk});
    EXPECT_EQ(album.GetCount(), 0);
    ASSERT_EQ(prompt.m_shown.size(), 2u);
    EXPECT_EQ(prompt.m_shown[0].nType, unsigned(MB_ABORTRETRYIGNORE | MB_ICONSTOP));
    EXPECT_NE(prompt.m_shown[0].text.find("Possible corrupted file"), std::string::npos);
    prompt.m_answers = {IDABORT};
    EXPECT_THROW(album.AddPhotos({junk}), CException);
    EXPECT_EQ(prompt.m_nWaitDepth, 0);
}

TEST_F(AlbumOps, SaveLoadAndTwoElementsOfOnePath) {
    const std::string photo = dir / "p.qln", albumPath = dir / "a.alb";
    MakePhotoFile(photo);
    CAlbum album;
    album.AddPhotos({photo, photo});
    EXPECT_TRUE(BackwardPaths(photo, 1).empty()); // not saved yet, no path
    album.SaveFile(albumPath);
    EXPECT_EQ(BackwardPaths(photo, 1), std::set<std::string>{Upper(albumPath)});
    EXPECT_EQ(QLNI_NeedsCommit(photo), 0);
    QLNI_CloseFile();

    CAlbum loaded;
    loaded.LoadFile(albumPath);
    ASSERT_EQ(loaded.GetCount(), 2);
    loaded.RemovePhoto(0); // the other element still uses it
    EXPECT_EQ(BackwardPaths(photo, 1).size(), 1u);
    loaded.RemovePhoto(0);
    EXPECT_TRUE(BackwardPaths(photo, 1).empty());
    loaded.SaveFile(albumPath);
    EXPECT_FALSE(HasThumbnail(photo, 1)); // the commit cleaned it up
    EXPECT_TRUE(CFile::Exists(photo));
}

TEST_F(AlbumOps, MissingPhotoIsReportedAndRemovedAtLoad) {
    const std::string a = dir / "a.qln", b = dir / "b.qln", albumPath = dir / "x.alb";
    MakePhotoFile(a);
    MakePhotoFile(b);
    CAlbum album;
    album.AddPhotos({a, b, a});
    album.SaveFile(albumPath);
    std::filesystem::remove(a);
    CAlbum loaded;
    loaded.LoadFile(albumPath);
    ASSERT_EQ(loaded.GetCount(), 1);
    EXPECT_EQ(loaded.GetPath(0), b);
    ASSERT_EQ(prompt.m_shown.size(), 2u);
    EXPECT_EQ(prompt.m_shown[0].text,
              a + " \nCannot find this file.\n\nThumbnail will be removed from the album.");
    EXPECT_EQ(prompt.m_shown[0].nType, unsigned(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(AlbumOps, MoveFollowsTheLaterPositionRule) {
    CAlbum album;
    for (const char* p : {"a", "b", "c", "d"}) album.AppendElem(p);
    album.MovePhoto(0, 2); // t > f: before the element that was at 2
    EXPECT_EQ(album.GetPath(0) + album.GetPath(1) + album.GetPath(2) + album.GetPath(3), "bacd");
    album.MovePhoto(3, 0);
    EXPECT_EQ(album.GetPath(0) + album.GetPath(1) + album.GetPath(2) + album.GetPath(3), "dbac");
    album.MovePhoto(1, 1);
    EXPECT_EQ(album.GetPath(1), "b");
}

TEST_F(AlbumOps, ScaleChangeMovesThumbnailsAndEmptyAlbumTouchesNothing) {
    CAlbum empty;
    empty.m_strFilePath = dir / "none.alb";
    empty.SetScale(3);
    EXPECT_EQ(empty.m_nScale, 3);
    EXPECT_TRUE(prompt.m_status.empty());

    const std::string photo = dir / "p.qln", albumPath = dir / "a.alb";
    MakePhotoFile(photo, 60, 40);
    CAlbum album;
    album.AddPhotos({photo});
    album.SaveFile(albumPath);
    album.SetScale(3);
    EXPECT_TRUE(BackwardPaths(photo, 1).empty());
    EXPECT_EQ(BackwardPaths(photo, 3), std::set<std::string>{Upper(albumPath)});
    EXPECT_EQ(ThumbHeader(photo, 3).dwWidth, 136u);
    EXPECT_TRUE(HasThumbnail(photo, 1)); // until the next save
    album.SaveFile(albumPath);
    EXPECT_FALSE(HasThumbnail(photo, 1));
}

TEST_F(AlbumOps, CopyBetweenAlbumsOfSameAndOtherScale) {
    const std::string photo = dir / "p.qln";
    MakePhotoFile(photo);
    CAlbum a, b, c;
    a.AddPhotos({photo});
    a.SaveFile(dir / "a.alb");
    b.m_strFilePath = dir / "b.alb";
    b.CopyPhoto(a, 0, 0);
    c.m_nScale = 2;
    c.m_strFilePath = dir / "c.alb";
    c.CopyPhoto(a, 0, 5);
    EXPECT_EQ(BackwardPaths(photo, 1), (std::set<std::string>{Upper(dir / "a.alb"), Upper(dir / "b.alb")}));
    EXPECT_EQ(BackwardPaths(photo, 2), std::set<std::string>{Upper(dir / "c.alb")});
    EXPECT_EQ(c.GetCount(), 1);
}

TEST_F(AlbumOps, DiscardRestoresTheSavedStateAndDeletesUnneededCompanions) {
    const std::string photo = dir / "p.qln", bmp = dir / "q.bmp", albumPath = dir / "a.alb";
    MakePhotoFile(photo);
    MakePicture(20, 20)->SaveBMP(bmp);
    CAlbum album;
    album.AddPhotos({photo, bmp});
    album.SaveFile(albumPath);
    const std::string kdx = album.GetPath(1);

    CAlbum loaded;
    loaded.LoadFile(albumPath);
    loaded.RemovePhoto(0);
    loaded.SetScale(2);
    loaded.DiscardChanges();
    EXPECT_EQ(BackwardPaths(photo, 1), std::set<std::string>{Upper(albumPath)});
    EXPECT_TRUE(BackwardPaths(photo, 2).empty());
    EXPECT_TRUE(HasThumbnail(photo, 1));

    // A committed companion that only this album used goes with the discard.
    CAlbum other;
    other.m_strFilePath = dir / "o.alb";
    other.m_bNewAlbum = 0;
    other.m_nSavedScale = 1;
    other.CopyPhoto(album, 1, 0);
    EXPECT_EQ(BackwardPaths(kdx, 1).size(), 2u);
    other.DiscardChanges();
    EXPECT_TRUE(CFile::Exists(kdx)); // album a still uses it
    EXPECT_EQ(BackwardPaths(kdx, 1), std::set<std::string>{Upper(albumPath)});
    loaded.LoadFile(albumPath);
    loaded.RemovePhoto(1);
    loaded.DiscardChanges(); // removed but saved: restored, not deleted
    EXPECT_TRUE(CFile::Exists(kdx));
    loaded.LoadFile(albumPath);
    loaded.RemovePhoto(1);
    loaded.SaveFile(albumPath);
    CAlbum fresh;
    fresh.m_strFilePath = dir / "f.alb";
    const std::string bmp2 = dir / "r.bmp";
    MakePicture(20, 20)->SaveBMP(bmp2);
    fresh.AddPhotos({bmp, bmp2});
    const std::string kdx2 = fresh.GetPath(1);
    fresh.DiscardChanges();
    // Saved once with an album: kept, withdrawn. Made by this session only: deleted.
    EXPECT_TRUE(CFile::Exists(kdx));
    EXPECT_TRUE(BackwardPaths(kdx, 1).empty());
    EXPECT_FALSE(HasThumbnail(kdx, 1));
    EXPECT_FALSE(CFile::Exists(kdx2));
    EXPECT_TRUE(CFile::Exists(bmp2));
}

TEST_F(AlbumOps, ResponseFileBuildsAlbumWithoutOverwritingTitles) {
    const std::string a = dir / "a.qln", b = dir / "b.qln", albumPath = dir / "r.alb";
    MakePhotoFile(a);
    MakePhotoFile(b);
    SetPhotoText(a, QLNI_TAG_TEXT1, "Old title");
    QLNI_CloseFile();
    const std::string text = albumPath + "\r\n2\nResponse title\nResponse description\n" + a + " First x\n" +
                             b + "\n" + dir / "missing.qln" + " Third\n\n";
    CAlbumResponseFile response;
    response.Parse(text);
    EXPECT_EQ(response.m_wScale, 2);
    ASSERT_EQ(response.m_photoPaths.size(), 3u);
    EXPECT_EQ(response.m_photoTitles[1], "");
    BuildAlbumFromResponseFile(response);
    CAlbum album;
    album.LoadFile(albumPath);
    ASSERT_EQ(album.GetCount(), 2);
    EXPECT_EQ(album.m_strTitle, "Response title");
    EXPECT_EQ(album.m_nScale, 2);
    EXPECT_EQ(album.GetPhotoTitle(0), "Old title");
    EXPECT_EQ(album.GetPhotoTitle(1), "");
    EXPECT_EQ(BackwardPaths(b, 2), std::set<std::string>{Upper(albumPath)});

    CAlbumResponseFile longLine;
    longLine.Parse(std::string(5000, 'x') + "\n1\n");
    EXPECT_EQ(longLine.m_strAlbumPath.size(), CAlbumResponseFile::kMaxLine);
    EXPECT_EQ(longLine.m_wScale, 1);
}

TEST_F(AlbumOps, ResponseFileWhoseAlbumCannotBeMadeChangesNoPhoto) {
    const std::string a = dir / "a.qln";
    MakePhotoFile(a);
    QLNI_CloseFile();
    const std::vector<uint8_t> before = ReadBytes(a);
    CAlbumResponseFile response;
    response.Parse(dir / "no/such/folder/r.alb" + "\n1\nTitle\n\n" + a + " New title\n");
    EXPECT_THROW(BuildAlbumFromResponseFile(response), CFileException);
    QLNI_CloseFile();
    EXPECT_EQ(ReadBytes(a), before);
    EXPECT_TRUE(BackwardPaths(a, 1).empty());
}

TEST_F(AlbumOps, PathChangeRewritesMissingPathsAndMovesBackwardPaths) {
    std::string oldPrefix, newPrefix;
    GetPathChangePrefixes("C:\\A\\ALBUMS\\X.ALB", "D:\\B\\ALBUMS\\X.ALB", oldPrefix, newPrefix);
    EXPECT_EQ(oldPrefix, "C:\\A");
    EXPECT_EQ(newPrefix, "D:\\B");

    std::filesystem::create_directories(dir / "old/albums");
    std::filesystem::create_directories(dir / "old/images");
    std::filesystem::create_directories(dir / "new/albums");
    std::filesystem::create_directories(dir / "new/images");
    const std::string oldAlbum = dir / "old/albums/x.alb", newAlbum = dir / "new/albums/x.alb";
    const std::string moved = dir / "old/images/1.qln", stays = dir / "keep.qln";
    MakePhotoFile(moved);
    MakePhotoFile(stays);
    CAlbum album;
    album.AddPhotos({moved, stays});
    album.SaveFile(oldAlbum);
    std::filesystem::rename(oldAlbum, newAlbum);
    std::filesystem::rename(moved, dir / "new/images/1.qln");

    EXPECT_TRUE(ApplyAlbumPathChanges({oldAlbum}, {newAlbum}));
    CAlbum after;
    after.LoadFile(newAlbum);
    ASSERT_EQ(after.GetCount(), 2);
    EXPECT_EQ(after.GetPath(0), dir / "new/images/1.qln");
    EXPECT_EQ(after.GetPath(1), stays);
    EXPECT_EQ(BackwardPaths(after.GetPath(0), 1), std::set<std::string>{Upper(newAlbum)});
    EXPECT_EQ(BackwardPaths(stays, 1), std::set<std::string>{Upper(newAlbum)});
    EXPECT_FALSE(ApplyAlbumPathChanges({oldAlbum}, {dir / "nowhere.alb"}));
}

TEST_F(AlbumOps, AlbumDataSavesThroughAnArchiveAndChecksMissingPhotosAtLoad) {
    const std::string photo = dir / "p.qln", albumPath = dir / "d.alb";
    MakePhotoFile(photo);
    CAlbumData data;
    EXPECT_TRUE(data.Initialize());
    data.m_album.AddPhotos({photo, dir / "gone.qln"});
    ASSERT_EQ(data.m_album.GetCount(), 1); // the missing one was asked about and skipped
    {
        CFile file(albumPath, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        data.Save(ar, albumPath, true);
        ar.Close();
    }
    EXPECT_EQ(data.m_album.m_strFilePath, albumPath);
    EXPECT_EQ(data.m_album.m_bNewAlbum, 0);
    EXPECT_EQ(data.m_album.FindSavedElem(photo), 0);
    EXPECT_EQ(BackwardPaths(photo, 1), std::set<std::string>{Upper(albumPath)});

    CAlbumData loaded;
    std::filesystem::remove(photo);
    CFile file(albumPath, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    loaded.Load(ar);
    EXPECT_EQ(loaded.m_album.GetCount(), 0);
}
