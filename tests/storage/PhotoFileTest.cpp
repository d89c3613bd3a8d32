#include "StorageTestUtil.h"

#include "framework/SystemInfo.h"
#include "storage/photo/CQlnChunkFile.h"
#include "storage/photo/QlnPhotoFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

int s_nLive = 0; // blocks handed out and not yet released

void* CountingAlloc(uint32_t n, bool d) {
    void* p = QLNI_DefaultAllocMemory(n, d);
    ++s_nLive;
    return p;
}

void CountingFree(void* p) {
    --s_nLive;
    QLNI_DefaultFreeMemory(p);
}

// A picture with rows padded to 4 bytes, as a DIB holds it.
struct CTestPicture {
    uint32_t w, h, bpp;
    std::vector<uint8_t> bits;
    uint32_t Stride() const { return (w * bpp + 31) / 32 * 4; }
};

CTestPicture Gradient24(uint32_t w, uint32_t h) {
    CTestPicture p{w, h, 24, {}};
    p.bits.assign(size_t{p.Stride()} * h, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* px = &p.bits[size_t{y} * p.Stride() + x * 3];
            px[0] = static_cast<uint8_t>(x * 255 / (w - 1));
            px[1] = static_cast<uint8_t>(y * 255 / (h - 1));
            px[2] = 128;
        }
    return p;
}

CTestPicture Indexed8(uint32_t w, uint32_t h) {
    CTestPicture p{w, h, 8, {}};
    p.bits.assign(size_t{p.Stride()} * h, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) p.bits[size_t{y} * p.Stride() + x] = static_cast<uint8_t>(x + y);
    return p;
}

template <typename Rec> Rec MakeRecord(CTestPicture& pic, uint16_t wCompression = 3) {
    Rec rec{};
    rec.Hdr.dwStructSize = 44;
    InitImageHeader(&rec.Hdr, pic.w, pic.h, pic.bpp);
    rec.Hdr.DataCompression = wCompression;
    for (int i = 0; i < 256; ++i) {
        rec.Palette[i][0] = static_cast<uint8_t>(i);
        rec.Palette[i][1] = static_cast<uint8_t>(255 - i);
        rec.Palette[i][2] = static_cast<uint8_t>(i / 2);
    }
    rec.pPixels = pic.bits.data();
    return rec;
}

std::set<uint32_t> ChunkIds(const std::string& path) {
    QLNI_CloseFile();
    CQlnChunkFile f;
    f.OpenChunkFile(path);
    std::set<uint32_t> ids;
    for (size_t i = 0; i < f.GetChunkCount(); ++i) ids.insert(f.GetChunkIndex(i).m_dwChunkID);
    return ids;
}

std::vector<uint8_t> RawChunk(const std::string& path, uint32_t id) {
    QLNI_CloseFile();
    CQlnChunkFile f;
    f.OpenChunkFile(path);
    void* p = nullptr;
    uint32_t n = 0;
    if (!f.GetChunk(id, &p, &n)) return {};
    std::vector<uint8_t> v(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
    CQlnChunkFile::FreeChunkMemory(p);
    return v;
}

std::string GetText(const std::string& path, unsigned tag) {
    char* p = nullptr;
    if (!GetTag(path, tag, &p, nullptr)) return "<none>";
    std::string s = p;
    QLNI_FreeTagData(p);
    return s;
}

class PhotoFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLNIConfigType config{false, false, false, CountingAlloc, CountingFree};
        QLNI_Initialize(&config);
        s_nLive = 0;
    }
    void TearDown() override {
        QLNI_Terminate();
        EXPECT_EQ(s_nLive, 0) << "every block handed out is released";
        QLNI_Initialize(nullptr);
    }
    CScratchDir m_dir;
    std::string m_path = m_dir / "photo.qln";
};

TEST_F(PhotoFileTest, NewPhotoFileHoldsExactlyItsChunks) {
    auto pic = Gradient24(120, 80);
    auto tnPic = Gradient24(80, 53);
    auto image = MakeRecord<ImageRecType>(pic);
    auto tn = MakeRecord<TnImageRecType>(tnPic);
    tn.wScale = 1;
    EXPECT_EQ(QLNI_CreateFile(m_path, &image, &tn, nullptr, true), 1);
    EXPECT_EQ(ChunkIds(m_path), (std::set<uint32_t>{1200, 1210, 2000, 2010}));

    EXPECT_GT(QLNI_CreateFile(m_path, &image, &tn, "/a/b.alb", true), 0);
    EXPECT_EQ(ChunkIds(m_path), (std::set<uint32_t>{1200, 1210, 2000, 2010, 3100}));
    EXPECT_EQ(QLNI_IsImageInFile(m_path), 1);
    EXPECT_EQ(QLNI_NeedsCommit(m_path), 1);
    EXPECT_EQ(QLNI_GetTnUsageCount(m_path, 1), 1);
}

TEST_F(PhotoFileTest, HeaderSizesAndRawPixels) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    f.CloseChunkFile();

    auto pic24 = Gradient24(10, 4);
    auto rec24 = MakeRecord<ImageRecType>(pic24, 0);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_IMAGE, true, &rec24, nullptr), 1);
    std::vector<uint8_t> expected;
    for (uint32_t v : {44u, 10u, 4u, 24u, 2756u, 2756u}) AppendU32(expected, v);
    for (uint16_t v : {1, 2, 0, 0, 0, 65}) AppendU16(expected, v);
    EXPECT_EQ(RawChunk(m_path, 2010), expected);
    EXPECT_EQ(RawChunk(m_path, 2000), pic24.bits);

    auto pic8 = Indexed8(13, 5); // rows of 13 bytes padded to 16
    auto rec8 = MakeRecord<ImageRecType>(pic8, 0);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_IMAGE, true, &rec8, nullptr), 1);
    auto hdr8 = RawChunk(m_path, 2010);
    ASSERT_EQ(hdr8.size(), 1060u);
    EXPECT_EQ(U32At(hdr8, 12), 8u);
    EXPECT_EQ(std::memcmp(hdr8.data() + 36, rec8.Palette, 1024), 0);
    EXPECT_EQ(RawChunk(m_path, 2000).size(), 16u * 5);

    ImageRecType back{};
    back.Hdr.dwStructSize = 44;
    ASSERT_EQ(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), 1);
    EXPECT_EQ(back.Hdr.dwImageSize, 80u);
    EXPECT_EQ(back.Hdr.dwStoredDataSize, 80u);
    EXPECT_EQ(std::memcmp(back.Palette, rec8.Palette, 1024), 0);
    EXPECT_EQ(std::memcmp(back.pPixels, pic8.bits.data(), 80), 0);
    QLNI_FreeTagData(back.pPixels);

    ImageHdrType hdr{};
    hdr.dwStructSize = 44;
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_IMAGE_HDR, &hdr, nullptr), 1060);
    EXPECT_EQ(hdr.dwWidth, 13u);
}

TEST_F(PhotoFileTest, EightBitJpegIsRefused) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    f.CloseChunkFile();
    auto pic8 = Indexed8(16, 16);
    auto rec8 = MakeRecord<ImageRecType>(pic8, 3);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_IMAGE, true, &rec8, nullptr), 0);
    EXPECT_EQ(ChunkIds(m_path), (std::set<uint32_t>{2010})); // only the header is written
    ImageRecType back{};
    back.Hdr.dwStructSize = 44;
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), 0);
    EXPECT_EQ(back.pPixels, nullptr);
}

TEST_F(PhotoFileTest, JpegRoundTripAndStream) {
    auto pic = Gradient24(67, 45); // rows of 201 bytes padded to 204
    auto rec = MakeRecord<ImageRecType>(pic, 3);
    rec.Hdr.CompressQFactor = 90;
    ASSERT_EQ(QLNI_CreateFile(m_path, &rec, nullptr, nullptr, false), 1);
    QLNI_CloseFile();

    const auto stream = RawChunk(m_path, 2000);
    ASSERT_GT(stream.size(), 4u);
    EXPECT_EQ(stream[0], 0xFF);
    EXPECT_EQ(stream[1], 0xD8);
    EXPECT_EQ(stream[stream.size() - 3], 0xFF); // the end-of-image marker, then one extra byte
    EXPECT_EQ(stream[stream.size() - 2], 0xD9);
    EXPECT_EQ(stream.back(), 0);

    ImageRecType back{};
    back.Hdr.dwStructSize = 44;
    ASSERT_EQ(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), 1);
    EXPECT_EQ(back.Hdr.dwStoredDataSize, stream.size());
    EXPECT_EQ(back.Hdr.dwImageSize, 204u * 45);
    EXPECT_EQ(back.Hdr.CompressQFactor, 90);
    const auto* px = static_cast<const uint8_t*>(back.pPixels);
    long worst = 0;
    for (uint32_t y = 0; y < 45; ++y) {
        for (uint32_t x = 0; x < 201; ++x)
            worst = std::max<long>(worst, std::labs(long{px[y * 204 + x]} - pic.bits[y * 204 + x]));
        for (uint32_t x = 201; x < 204; ++x) EXPECT_EQ(px[y * 204 + x], 0) << "row padding is cleared";
    }
    EXPECT_LE(worst, 12);
    QLNI_FreeTagData(back.pPixels);

    // djpeg reads the stream; the first row of the buffer is the first row of the stream.
    const std::string jpg = m_dir / "s.jpg", ppm = m_dir / "s.ppm";
    WriteAll(jpg, stream);
    const std::string cmd = "djpeg -pnm -outfile '" + ppm + "' '" + jpg + "' 2>/dev/null";
    if (std::system("command -v djpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "djpeg not installed";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    auto out = ReadAll(ppm);
    const std::string head = "P6\n67 45\n255\n";
    ASSERT_GT(out.size(), head.size());
    EXPECT_EQ(std::string(out.begin(), out.begin() + static_cast<long>(head.size())), head);
    // Green grows with the buffer row: small at the start of the stream, large at its end.
    EXPECT_LT(out[head.size() + 1], 20);
    EXPECT_GT(out[out.size() - 2], 235);
}

TEST_F(PhotoFileTest, BadPixelDataGivesResultsNotCrashes) {
    auto pic = Gradient24(40, 30);
    auto rec = MakeRecord<ImageRecType>(pic, 3);
    ASSERT_EQ(QLNI_CreateFile(m_path, &rec, nullptr, nullptr, false), 1);
    QLNI_CloseFile();

    // A corrupt stream: the decoder's failure is a 0 result and nothing is held.
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        std::vector<uint8_t> junk = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x01};
        f.SaveChunk(2000, junk.data(), static_cast<uint32_t>(junk.size()));
        f.CloseChunkFile();
    }
    ImageRecType back{};
    back.Hdr.dwStructSize = 44;
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), 0);
    EXPECT_EQ(back.pPixels, nullptr);

    // A valid stream of another size than the header names.
    auto other = Gradient24(41, 30);
    auto recOther = MakeRecord<ImageRecType>(other, 3);
    const std::string otherPath = m_dir / "other.qln";
    ASSERT_EQ(QLNI_CreateFile(otherPath, &recOther, nullptr, nullptr, false), 1);
    QLNI_CloseFile();
    const auto stream = RawChunk(otherPath, 2000);
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        f.SaveChunk(2000, stream.data(), static_cast<uint32_t>(stream.size()));
        f.CloseChunkFile();
    }
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), 0);

    // Width x height x bits beyond 32 bits, and raw pixels shorter than the header promises.
    {
        auto hdr = RawChunk(m_path, 2010);
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        hdr[4] = hdr[5] = hdr[6] = 0xFF;
        hdr[8] = hdr[9] = hdr[10] = 0xFF;
        f.SaveChunk(2010, hdr.data(), static_cast<uint32_t>(hdr.size()));
        f.CloseChunkFile();
    }
    EXPECT_THROW(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), CNotSupportedException);
    EXPECT_FALSE(QLNI_GetCacheFile().IsOpen()) << "an exception closes the cached file";
    auto raw = MakeRecord<ImageRecType>(pic, 0);
    ASSERT_EQ(SetTag(m_path, QLNI_TAG_IMAGE, true, &raw, nullptr), 1);
    QLNI_CloseFile();
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        f.SaveChunk(2000, pic.bits.data(), 100);
        f.CloseChunkFile();
    }
    EXPECT_THROW(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), CNotSupportedException);
}

TEST_F(PhotoFileTest, HeaderValidation) {
    auto pic = Gradient24(8, 8);
    auto rec = MakeRecord<ImageRecType>(pic, 0);
    EXPECT_NO_THROW(ValidateImageHeaderData(rec.Hdr));
    auto bad = [&](auto edit) {
        ImageHdrType h = rec.Hdr;
        edit(h);
        EXPECT_THROW(ValidateImageHeaderData(h), CNotSupportedException);
    };
    bad([](ImageHdrType& h) { h.dwStructSize = 40; });
    bad([](ImageHdrType& h) { h.BitsPerPixel = 4; });
    bad([](ImageHdrType& h) { h.dwYpelsPerMeter = 5907; });
    bad([](ImageHdrType& h) { h.ColorOrder = 0; });
    bad([](ImageHdrType& h) { h.ViewOrigin = 1; });
    bad([](ImageHdrType& h) { h.Alignment = 4; });
    bad([](ImageHdrType& h) { h.FileFormat = 1; });
    bad([](ImageHdrType& h) {
        h.DataCompression = 3;
        h.CompressQFactor = 0;
    });
    bad([](ImageHdrType& h) {
        h.DataCompression = 3;
        h.CompressQFactor = 101;
    });
    ImageHdrType ok = rec.Hdr;
    ok.DataCompression = 1;
    ok.CompressQFactor = 0; // the Q factor only matters with compression 3
    EXPECT_NO_THROW(ValidateImageHeaderData(ok));

    ImageHdrType init{};
    init.dwStructSize = 44;
    init.dwStoredDataSize = 9;
    InitImageHeader(&init, 5, 6, 24);
    EXPECT_EQ(init.dwStructSize, 44u);
    EXPECT_EQ(init.dwStoredDataSize, 0u);
    EXPECT_EQ(init.dwXpelsPerMeter, 2756u);
    EXPECT_EQ(init.DataCompression, 3);
    EXPECT_EQ(init.CompressQFactor, 65);
}

TEST_F(PhotoFileTest, BackwardPaths) {
    auto pic = Gradient24(64, 43);
    auto tn = MakeRecord<TnImageRecType>(pic);
    tn.wScale = 0;
    ASSERT_GT(QLNI_CreateFile(m_path, nullptr, &tn, "/Albums/Trip.alb", false), 0);
    const uint16_t scale0 = 0;
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_ALBUM_PATH, true, &scale0, "/albums/TRIP.ALB"), 17) << "unchanged";
    EXPECT_GT(SetTag(m_path, QLNI_TAG_ALBUM_PATH, true, &scale0, "/albums/home.alb"), 0);
    EXPECT_EQ(QLNI_GetTnUsageCount(m_path, 0), 2);
    const char stored[] = "/ALBUMS/TRIP.ALB\0/ALBUMS/HOME.ALB";
    EXPECT_EQ(RawChunk(m_path, 3000), std::vector<uint8_t>(stored, stored + sizeof stored));

    EXPECT_EQ(DeleteTag(m_path, QLNI_TAG_ALBUM_PATH, &scale0, "/albums/none.alb"), 0);
    EXPECT_EQ(DeleteTag(m_path, QLNI_TAG_ALBUM_PATH, &scale0, ""), 1);
    EXPECT_EQ(DeleteTag(m_path, QLNI_TAG_ALBUM_PATH, &scale0, "/albums/trip.alb"), 1);
    EXPECT_EQ(QLNI_GetTnUsageCount(m_path, 0), 1);
    EXPECT_EQ(DeleteTag(m_path, QLNI_TAG_ALBUM_PATH, &scale0, "/albums/home.alb"), 1);
    EXPECT_EQ(ChunkIds(m_path), (std::set<uint32_t>{1100, 1110})) << "an empty list has no chunk";

    // The commit with clean-up removes the unused thumbnail and compacts.
    EXPECT_EQ(QLNI_NeedsCommit(m_path), 1);
    EXPECT_EQ(QLNI_CommitFile(m_path, 1, 1), 1);
    EXPECT_FALSE(QLNI_GetCacheFile().IsOpen());
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        EXPECT_EQ(f.TestFileIntegrity(), 0);
    }
    EXPECT_EQ(ReadAll(m_path).size(), 204u);
    EXPECT_EQ(U16At(ReadAll(m_path), 10), CQlnChunkFile::kFileCommitted);
    EXPECT_EQ(QLNI_NeedsCommit(m_path), 0);
    EXPECT_EQ(QLNI_CommitFile(m_path, 2, 1), 0);
}

TEST_F(PhotoFileTest, ThumbnailScales) {
    auto pic = Gradient24(80, 53);
    auto tn = MakeRecord<TnImageRecType>(pic);
    tn.wScale = 1;
    ASSERT_GT(QLNI_CreateFile(m_path, nullptr, &tn, "/a/one.alb", false), 0);
    tn.wScale = 3;
    ASSERT_GT(SetTag(m_path, QLNI_TAG_THUMBNAIL, true, &tn, "/a/two.alb"), 0);
    int n = 0;
    uint16_t scales[6] = {};
    QLNI_GetThumbnailScales(m_path, &n, scales);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(scales[0], 1);
    EXPECT_EQ(scales[1], 3);

    // Album one moves to scale 3: the scale-1 thumbnail is no longer used.
    EXPECT_EQ(QLNI_ChangeThumbnailScale(m_path, 3, "/a/one.alb"), 1);
    QLNI_GetThumbnailScales(m_path, &n, scales);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(scales[0], 3);
    EXPECT_EQ(QLNI_GetTnUsageCount(m_path, 3), 2);

    EXPECT_EQ(QLNI_ChangeThumbnailScale(m_path, QLNI_NO_SCALE, "/a/one.alb"), 1);
    EXPECT_EQ(QLNI_GetTnUsageCount(m_path, 3), 1);
    EXPECT_EQ(QLNI_ChangeThumbnailScale(m_path, QLNI_NO_SCALE, "/a/two.alb"), 1);
    QLNI_GetThumbnailScales(m_path, &n, scales);
    EXPECT_EQ(n, 0);

    // Reading a thumbnail back.
    tn.wScale = 2;
    ASSERT_GT(SetTag(m_path, QLNI_TAG_THUMBNAIL, true, &tn, nullptr), 0);
    TnImageRecType back{};
    back.Hdr.dwStructSize = 44;
    back.wScale = 2;
    ASSERT_EQ(GetTag(m_path, QLNI_TAG_THUMBNAIL, &back, nullptr), 1);
    EXPECT_EQ(back.Hdr.dwWidth, 80u);
    QLNI_FreeTagData(back.pPixels);
    ImageHdrType hdr{};
    hdr.dwStructSize = 44;
    const uint16_t s2 = 2;
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_THUMBNAIL_HDR, &hdr, &s2), 36);
    EXPECT_EQ(hdr.dwHeight, 53u);
    EXPECT_EQ(DeleteTag(m_path, QLNI_TAG_THUMBNAIL, &s2, nullptr), 1);
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_THUMBNAIL_HDR, &hdr, &s2), 0);
}

TEST_F(PhotoFileTest, ScaleSixIsNotSupported) {
    auto pic = Gradient24(8, 8);
    auto tn = MakeRecord<TnImageRecType>(pic);
    tn.wScale = 6;
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    f.CloseChunkFile();
    EXPECT_THROW(SetTag(m_path, QLNI_TAG_THUMBNAIL, true, &tn, nullptr), CNotSupportedException);
    const uint16_t six = 6;
    ImageHdrType hdr{};
    hdr.dwStructSize = 44;
    EXPECT_THROW(GetTag(m_path, QLNI_TAG_THUMBNAIL_HDR, &hdr, &six), CNotSupportedException);
    EXPECT_THROW(DeleteTag(m_path, QLNI_TAG_ALBUM_PATH, &six, "/x.alb"), CNotSupportedException);
    EXPECT_THROW(SetTag(m_path, QLNI_TAG_ALBUM_PATH, true, &six, "/x.alb"), CNotSupportedException);
    EXPECT_FALSE(QLNI_GetCacheFile().IsOpen());
}

TEST_F(PhotoFileTest, TextsAndRollInformation) {
    CQlnChunkFile f;
    f.CreateOpenChunkFile(m_path, false);
    f.CloseChunkFile();
    EXPECT_EQ(GetText(m_path, QLNI_TAG_TEXT1), "<none>");
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_TEXT1, true, "Hello", nullptr), 1);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_TEXT1, false, "Other", nullptr), 0);
    EXPECT_EQ(GetText(m_path, QLNI_TAG_TEXT1), "Hello");
    uint32_t len = 0;
    EXPECT_EQ(GetTagLength(m_path, QLNI_TAG_TEXT1, &len, 0), 6);
    EXPECT_EQ(len, 6u);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_TEXT2, true, "A description", nullptr), 1);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_HOLDER_NAME, true, "/x/holder.qln", nullptr), 1);
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_IMAGE_HDR, true, "ignored", nullptr), 0);
    QLNI_CloseFile();
    {
        CQlnChunkFile g;
        g.OpenChunkFile(m_path);
        CChunkIndex rec;
        ASSERT_TRUE(g.QueryChunk(200, rec));
        EXPECT_EQ(rec.m_dwChunkSize, 32u + 6 + 4) << "texts 1 and 2 use granularity 10";
        ASSERT_TRUE(g.QueryChunk(4710, rec));
        EXPECT_EQ(rec.m_dwPaddingSize, 0u);
    }
    EXPECT_EQ(GetText(m_path, QLNI_TAG_TEXT2), "A description");
    EXPECT_EQ(DeleteTag(m_path, QLNI_TAG_TEXT2, nullptr, nullptr), 1);
    EXPECT_EQ(GetText(m_path, QLNI_TAG_TEXT2), "<none>");

    RollInfoType roll{};
    roll.dwStructSize = 44;
    std::strcpy(roll.szRollInfo1, "123456789012345"); // 15 characters and the zero
    std::strcpy(roll.szRollInfo2, "ABC");
    std::strcpy(roll.szRollInfo3, "");
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_ROLLINFO, true, &roll, nullptr), 1);
    std::vector<uint8_t> expected;
    AppendU32(expected, 44);
    for (char c : std::string("123456789012345")) expected.push_back(static_cast<uint8_t>(c));
    expected.insert(expected.end(), {0, 'A', 'B', 'C', 0, 0});
    EXPECT_EQ(RawChunk(m_path, 100), expected);
    RollInfoType back{};
    back.dwStructSize = 44;
    EXPECT_EQ(GetTag(m_path, QLNI_TAG_ROLLINFO, &back, nullptr), 1);
    EXPECT_STREQ(back.szRollInfo1, "123456789012345");
    EXPECT_STREQ(back.szRollInfo2, "ABC");
    back.dwStructSize = 40;
    EXPECT_THROW(GetTag(m_path, QLNI_TAG_ROLLINFO, &back, nullptr), CNotSupportedException);

    std::memcpy(roll.szRollInfo1, "1234567890123456", 16); // no room for the zero
    EXPECT_THROW(SetTag(m_path, QLNI_TAG_ROLLINFO, true, &roll, nullptr), CNotSupportedException);
}

TEST_F(PhotoFileTest, FilesAndCompanions) {
    const std::string junk = m_dir / "pic.bmp";
    WriteAll(junk, {'B', 'M', 1, 2, 3});
    EXPECT_EQ(QLNI_IsValidFile(junk), 0);
    EXPECT_EQ(QLNI_NeedsCommit(junk), -1);
    EXPECT_EQ(QLNI_IsImageInFile(junk), -1);
    std::string name;
    EXPECT_EQ(QLNI_GetHolderName(name, junk), 0u);
    EXPECT_EQ(name, "");

    EXPECT_EQ(QLNI_GetCompanionName("/a/b.c/pic.bmp"), "/a/b.c/pic.KDX");
    EXPECT_EQ(QLNI_GetCompanionName("/a/b.c/pic"), "/a/b.c/pic.KDX");
    QLNI_CreateCompanionFile(junk, true);
    const std::string companion = m_dir / "pic.KDX";
    EXPECT_EQ(QLNI_IsValidFile(companion), 1);
    EXPECT_EQ(QLNI_IsImageInFile(companion), 0);
    EXPECT_EQ(QLNI_GetHolderName(name, junk), companion.size());
    EXPECT_EQ(name, companion);
    EXPECT_EQ(QLNI_GetSourceName(companion, name), junk.size());
    EXPECT_EQ(name, junk);
    EXPECT_EQ(QLNI_GetHolderName(name, companion), companion.size()) << "no holder text: its own name";
    EXPECT_EQ(name, companion);

    QLNI_DeleteFile(companion);
    EXPECT_FALSE(CFile::Exists(companion));
    EXPECT_THROW(QLNI_DeleteFile(junk), CException);
    EXPECT_TRUE(CFile::Exists(junk)) << "only chunk files are deleted";
}

TEST_F(PhotoFileTest, CacheClosesTheOtherFile) {
    const std::string other = m_dir / "other.qln";
    for (const auto& p : {m_path, other}) {
        CQlnChunkFile f;
        f.CreateOpenChunkFile(p, false);
        f.CloseChunkFile();
    }
    EXPECT_EQ(SetTag(m_path, QLNI_TAG_TEXT1, true, "one", nullptr), 1);
    EXPECT_EQ(QLNI_GetCacheFile().GetFileName(), m_path);
    EXPECT_EQ(ReadAll(m_path).size(), 204u + 42) << "the chunk is written, the index not yet";
    EXPECT_EQ(U32At(ReadAll(m_path), 12), 0u);
    EXPECT_EQ(SetTag(other, QLNI_TAG_TEXT1, true, "two", nullptr), 1);
    EXPECT_EQ(QLNI_GetCacheFile().GetFileName(), other);
    EXPECT_EQ(U32At(ReadAll(m_path), 12), 200u) << "naming another file saved the first";
}

class CFakeMemory : public ISystemInfo {
public:
    uint64_t GetAvailableMemory() override { return m_nAvailable; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return 0; }
    uint64_t m_nAvailable = 0;
};

TEST(PhotoMemoryTest, DefaultAllocatorKeepsTwoMegabytesFree) {
    CFakeMemory fake;
    fake.m_nAvailable = 3 * 1048576;
    SetSystemInfo(&fake);
    EXPECT_THROW(QLNI_DefaultAllocMemory(1048576, false), CMemoryException);
    void* p = QLNI_DefaultAllocMemory(1048575, false);
    EXPECT_NE(p, nullptr);
    QLNI_DefaultFreeMemory(p);
    fake.m_nAvailable = 1000;
    EXPECT_THROW(QLNI_DefaultAllocMemory(1, false), CMemoryException);
    SetSystemInfo(nullptr);
}

} // namespace

namespace {

TEST_F(PhotoFileTest, CommitCompactsAndKeepsWhatIsUsed) {
    auto pic = Gradient24(120, 80);
    auto image = MakeRecord<ImageRecType>(pic, 0);
    auto tnPic = Gradient24(64, 43);
    auto tn = MakeRecord<TnImageRecType>(tnPic, 0);
    tn.wScale = 0;
    ASSERT_EQ(QLNI_CreateFile(m_path, &image, &tn, "/a/old.alb", true), 11); // the path list written
    tn.wScale = 1;
    ASSERT_GT(SetTag(m_path, QLNI_TAG_THUMBNAIL, true, &tn, "/a/new.alb"), 0);
    EXPECT_EQ(QLNI_ChangeThumbnailScale(m_path, QLNI_NO_SCALE, "/a/old.alb"), 1);
    const uint16_t s0 = 0;
    EXPECT_EQ(GetTagLength(m_path, QLNI_TAG_THUMBNAIL, nullptr, s0), 0) << "scale 0 went with its last album";
    EXPECT_EQ(QLNI_CommitFile(m_path, 1, 1), 1);

    const auto bytes = ReadAll(m_path);
    EXPECT_EQ(ChunkIds(m_path), (std::set<uint32_t>{1200, 1210, 2000, 2010, 3100}));
    {
        CQlnChunkFile f;
        f.OpenChunkFile(m_path);
        EXPECT_EQ(f.TestFileIntegrity(), 5);
        EXPECT_FALSE(f.IsFileDirty());
        EXPECT_TRUE(f.IsFileCommitted());
    }
    EXPECT_EQ(m_dir.FileCount(), 1u);
    ImageRecType back{};
    back.Hdr.dwStructSize = 44;
    ASSERT_EQ(GetTag(m_path, QLNI_TAG_IMAGE, &back, nullptr), 1);
    EXPECT_EQ(std::memcmp(back.pPixels, pic.bits.data(), pic.bits.size()), 0);
    QLNI_FreeTagData(back.pPixels);
    TnImageRecType tnBack{};
    tnBack.Hdr.dwStructSize = 44;
    tnBack.wScale = 1;
    ASSERT_EQ(GetTag(m_path, QLNI_TAG_THUMBNAIL, &tnBack, nullptr), 1);
    EXPECT_EQ(std::memcmp(tnBack.pPixels, tnPic.bits.data(), tnPic.bits.size()), 0);
    QLNI_FreeTagData(tnBack.pPixels);
    QLNI_CloseFile();
    EXPECT_EQ(ReadAll(m_path), bytes) << "reading changes nothing";
}

} // namespace
