// The pixel limit of the readers: a picture declaring more pixels than the
// limit is refused before decoding, in every format, with a message naming
// its size; pictures at the limit still read.

#include "storage/formats/PixelLimit.h"
#include "imaging/CDib.h"
#include "storage/formats/CImageCodecs.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"

#include "StorageTestUtil.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <string>

namespace {

// Sets ZOZI_MAX_PIXELS for the length of a test.
class CLimitScope {
public:
    explicit CLimitScope(uint64_t n) { ::setenv("ZOZI_MAX_PIXELS", std::to_string(n).c_str(), 1); }
    ~CLimitScope() { ::unsetenv("ZOZI_MAX_PIXELS"); }
};

CRaster Picture(int w, int h, int nBits) {
    CRaster r;
    EXPECT_EQ(r.Create(w, h, nBits), IMPEXP_SUCCESS);
    if (nBits <= 8) r.SetGrayPalette();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < r.GetStride(); ++x) r.Row(y)[x] = static_cast<uint8_t>(x * 7 + y * 3);
    return r;
}

int ReadBytes(const std::vector<uint8_t>& bytes, const std::string& ext, CRaster& out) {
    CImageFileInfo info;
    int rc = CImageCodecs::GetInfo(bytes.data(), bytes.size(), ext, info);
    if (rc != IMPEXP_SUCCESS) return rc;
    return CImageCodecs::Read(bytes.data(), bytes.size(), info.nFormat, out);
}

void PutBE16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
    v[at] = static_cast<uint8_t>(x >> 8), v[at + 1] = static_cast<uint8_t>(x);
}
void PutBE32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (24 - 8 * i));
}
void PutLE16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
    v[at] = static_cast<uint8_t>(x), v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void PutLE32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

struct Format {
    int nSaveType;
    int nBits;
    const char* ext;
};

// One save type per readable format (the GraphicsMagick ones included).
constexpr Format kFormats[] = {
    {1, 8, "TGA"},   {5, 1, "TIF"},   {11, 1, "TIF"},  {13, 24, "TIF"}, {18, 1, "CAL"},
    {19, 1, "MAC"},  {20, 1, "IMG"},  {21, 1, "MSP"},  {24, 8, "WPG"},  {28, 24, "RAS"},
    {32, 8, "PCT"},  {37, 24, "BMP"}, {40, 8, "BMP"},  {44, 8, "PCX"},  {46, 8, "GIF"},
    {48, 24, "JPG"}, {50, 24, "JPG"}, {55, 24, "WMF"}, {57, 24, "PNG"},
};

TEST(PixelLimit, EveryFormatIsRefusedOnePixelOverTheLimitAndReadAtIt) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE("save type " + std::to_string(f.nSaveType));
        std::vector<uint8_t> bytes;
        ASSERT_EQ(CImageCodecs::Write(Picture(37, 23, f.nBits), f.nSaveType, bytes), IMPEXP_SUCCESS);
        CImageFileInfo info;
        ASSERT_EQ(CImageCodecs::GetInfo(bytes.data(), bytes.size(), f.ext, info), IMPEXP_SUCCESS);
        const uint64_t pixels = uint64_t(info.nWidth) * info.nHeight;
        {
            CLimitScope limit(pixels - 1);
            CRaster out;
            EXPECT_EQ(CImageCodecs::Read(bytes.data(), bytes.size(), info.nFormat, out),
                      IMPEXP_ERR_TOO_MANY_PIXELS);
            EXPECT_TRUE(out.IsEmpty());
        }
        CLimitScope limit(pixels);
        CRaster out;
        EXPECT_EQ(CImageCodecs::Read(bytes.data(), bytes.size(), info.nFormat, out), IMPEXP_SUCCESS);
    }
}

// Small files declaring gigapixels, refused at the default limit.
class Bombs : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("ZOZI_MAX_PIXELS");
        SetMaxMegapixels(0);
    }
    static std::vector<uint8_t> Written(int nSaveType, int nBits) {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(CImageCodecs::Write(Picture(16, 16, nBits), nSaveType, bytes), IMPEXP_SUCCESS);
        return bytes;
    }
    static void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& ext, const char* size) {
        CRaster out;
        EXPECT_EQ(ReadBytes(bytes, ext, out), IMPEXP_ERR_TOO_MANY_PIXELS) << ext;
        EXPECT_TRUE(out.IsEmpty());
        EXPECT_NE(ErrorText(IMPEXP_ERR_TOO_MANY_PIXELS).find(size), std::string::npos)
            << ErrorText(IMPEXP_ERR_TOO_MANY_PIXELS);
    }
};

TEST_F(Bombs, OwnReaders) {
    auto bmp = Written(37, 24);
    PutLE32(bmp, 18, 20000), PutLE32(bmp, 22, 20000);
    ExpectRefused(bmp, "BMP", "20000 x 20000");

    auto pcx = Written(44, 8);
    PutLE16(pcx, 8, 65533), PutLE16(pcx, 10, 65533), PutLE16(pcx, 66, 65534);
    ExpectRefused(pcx, "PCX", "65534 x 65534");

    auto tga = Written(3, 24);
    PutLE16(tga, 12, 65535), PutLE16(tga, 14, 65535);
    ExpectRefused(tga, "TGA", "65535 x 65535");

    auto img = Written(20, 1);
    PutBE16(img, 12, 65535), PutBE16(img, 14, 65535);
    ExpectRefused(img, "IMG", "65535 x 65535");

    auto msp = Written(21, 1);
    PutLE16(msp, 4, 60000), PutLE16(msp, 6, 60000);
    ExpectRefused(msp, "MSP", "60000 x 60000");

    auto ras = Written(28, 24);
    PutBE32(ras, 4, 40000), PutBE32(ras, 8, 30000);
    ExpectRefused(ras, "RAS", "40000 x 30000");
}

TEST_F(Bombs, JpegPngAndTiff) {
    auto jpg = Written(48, 24);
    for (size_t i = 2; i + 9 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            PutBE16(jpg, i + 5, 20000), PutBE16(jpg, i + 7, 20000);
            break;
        }
    ExpectRefused(jpg, "JPG", "20000 x 20000");

    auto png = Written(57, 24);
    PutBE32(png, 16, 40000), PutBE32(png, 20, 30000);
    PutBE32(png, 29, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
    ExpectRefused(png, "PNG", "40000 x 30000");

    // Group 4 TIFF: the width and length tags of the first directory.
    auto tif = Written(11, 1);
    ASSERT_EQ(tif[0], 'I');
    const uint32_t ifd = U32At(tif, 4);
    for (uint16_t i = 0, n = U16At(tif, ifd); i < n; ++i) {
        const size_t e = ifd + 2 + 12 * i;
        const uint16_t tag = U16At(tif, e), type = U16At(tif, e + 2);
        if (tag != 256 && tag != 257) continue;
        if (type == 3)
            PutLE16(tif, e + 8, 65535);
        else
            PutLE32(tif, e + 8, 100000);
    }
    CRaster out;
    EXPECT_EQ(ReadBytes(tif, "TIF", out), IMPEXP_ERR_TOO_MANY_PIXELS);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(Bombs, GifThroughGraphicsMagick) {
    auto gif = Written(46, 8);
    PutLE16(gif, 6, 60000), PutLE16(gif, 8, 60000);
    // The image descriptor after the global colour table.
    const size_t table = (gif[10] & 0x80) ? 3u << ((gif[10] & 7) + 1) : 0;
    size_t at = 13 + table;
    while (at < gif.size() && gif[at] == 0x21) { // extensions
        at += 2;
        while (at < gif.size() && gif[at]) at += gif[at] + 1;
        ++at;
    }
    ASSERT_LT(at + 9, gif.size());
    ASSERT_EQ(gif[at], 0x2C);
    PutLE16(gif, at + 5, 60000), PutLE16(gif, at + 7, 60000);
    ExpectRefused(gif, "GIF", "60000 x 60000");
}

TEST_F(Bombs, SettingAndEnvironmentRaiseTheLimit) {
    EXPECT_EQ(GetMaxPixels(), kDefaultMaxPixels);
    SetMaxMegapixels(500);
    EXPECT_EQ(GetMaxPixels(), 500'000'000u);
    EXPECT_TRUE(CheckPixelLimit(20000, 20000));
    {
        CLimitScope env(1000);
        EXPECT_EQ(GetMaxPixels(), 1000u); // the environment wins
        EXPECT_FALSE(CheckPixelLimit(1001, 1));
        EXPECT_NE(ErrorText(IMPEXP_ERR_TOO_MANY_PIXELS).find("1001 x 1 pixels, more than the 1000 pixels"),
                  std::string::npos);
    }
    SetMaxMegapixels(0);
    EXPECT_FALSE(CheckPixelLimit(20000, 20000));
    EXPECT_FALSE(CheckPixelLimit(int64_t{1} << 40, int64_t{1} << 40)); // no overflow
}

TEST_F(Bombs, PhotoFilesAndTheImportLayer) {
    CScratchDir dir;
    auto dib = std::make_unique<CDib>(24, 40, 30, nullptr);
    ASSERT_EQ(ExportPicture(*dib, kSaveTypePhoto, dir / "p.qln"), IMPEXP_SUCCESS);
    ASSERT_EQ(ExportPicture(*dib, 37, dir / "p.bmp"), IMPEXP_SUCCESS);
    CLimitScope limit(40 * 30 - 1);
    for (const char* name : {"p.qln", "p.bmp"}) {
        std::unique_ptr<CDib> out;
        EXPECT_EQ(ImportPicture(dir / name, out), IMPEXP_ERR_TOO_MANY_PIXELS) << name;
        EXPECT_EQ(out, nullptr);
        EXPECT_NE(FormatImpExpError(1077, dir / name, IMPEXP_ERR_TOO_MANY_PIXELS).find("40 x 30 pixels"),
                  std::string::npos);
    }
}

} // namespace
