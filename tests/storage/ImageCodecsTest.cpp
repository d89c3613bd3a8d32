// Round trips through every save type of the codec layer, and files that
// GraphicsMagick writes and reads.

#include "storage/formats/CImageCodecs.h"
#include "storage/formats/CMagickCodec.h"
#include "storage/formats/ImpExpTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A 24-bit picture with gradients and a few flat areas.
CRaster MakeColour(int w, int h) {
    CRaster r;
    EXPECT_EQ(r.Create(w, h, 24), IMPEXP_SUCCESS);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = r.Row(y);
        for (int x = 0; x < w; ++x) {
            p[3 * x] = static_cast<uint8_t>(x * 255 / (w - 1));
            p[3 * x + 1] = static_cast<uint8_t>(y * 255 / (h - 1));
            p[3 * x + 2] = static_cast<uint8_t>(x < w / 2 ? 200 : 40);
        }
    }
    return r;
}

// An 8-bit picture with a colour table of 256 distinct entries.
CRaster MakeIndexed(int w, int h, int nBits) {
    CRaster r;
    EXPECT_EQ(r.Create(w, h, nBits), IMPEXP_SUCCESS);
    const int n = 1 << nBits;
    for (int i = 0; i < n; ++i)
        r.m_palette[i] = {static_cast<uint8_t>(i * 255 / (n - 1)), static_cast<uint8_t>((i * 37) & 0xFF),
                          static_cast<uint8_t>(255 - i * 255 / (n - 1)), 0};
    if (nBits == 1) r.m_palette[0] = {0, 0, 0, 0}, r.m_palette[1] = {255, 255, 255, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int v = (x * 7 + y * 3) % n;
            uint8_t* p = r.Row(y);
            if (nBits == 8)
                p[x] = static_cast<uint8_t>(v);
            else if (nBits == 4)
                p[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
            else if (v)
                p[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
    return r;
}

// Largest difference of any channel of any pixel.
int MaxDifference(const CRaster& a, const CRaster& b) {
    EXPECT_EQ(a.GetWidth(), b.GetWidth());
    EXPECT_EQ(a.GetHeight(), b.GetHeight());
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return 999;
    std::vector<uint8_t> ra(a.GetWidth() * 3), rb(b.GetWidth() * 3);
    int worst = 0;
    for (int y = 0; y < a.GetHeight(); ++y) {
        a.GetRowBGR(y, ra.data());
        b.GetRowBGR(y, rb.data());
        for (size_t i = 0; i < ra.size(); ++i) worst = std::max(worst, std::abs(ra[i] - rb[i]));
    }
    return worst;
}

struct RoundTrip {
    int nSaveType;
    int nSourceBits; // picture given to the writer
    int nFormat;     // format code read back
    int nBits;       // bit count read back
    int nTolerance;  // per channel
};

class SaveTypeRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(SaveTypeRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTrip& t = GetParam();
    CRaster src = t.nSourceBits == 24 ? MakeColour(37, 23) : MakeIndexed(37, 23, t.nSourceBits);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(CImageCodecs::Write(src, t.nSaveType, bytes), IMPEXP_SUCCESS) << "save type " << t.nSaveType;
    std::string ext = SaveTypeExtension(t.nSaveType);
    CImageFileInfo info;
    ASSERT_EQ(CImageCodecs::GetInfo(bytes.data(), bytes.size(), ext, info), IMPEXP_SUCCESS);
    EXPECT_EQ(info.nFormat, t.nFormat);
    CRaster back;
    ASSERT_EQ(CImageCodecs::Read(bytes.data(), bytes.size(), info.nFormat, back), IMPEXP_SUCCESS);
    EXPECT_EQ(back.GetBitCount(), t.nBits);
    if (t.nSaveType == 19) {
        // MacPaint pictures are always 576 × 720.
        EXPECT_EQ(back.GetWidth(), 576);
        EXPECT_EQ(back.GetHeight(), 720);
        return;
    }
    EXPECT_EQ(info.nWidth, 37);
    EXPECT_EQ(info.nHeight, 23);
    EXPECT_LE(MaxDifference(src, back), t.nTolerance) << "save type " << t.nSaveType;
}

INSTANTIATE_TEST_SUITE_P(
    AllSaveTypes, SaveTypeRoundTrip,
    ::testing::Values(RoundTrip{1, 8, 4, 8, 0}, RoundTrip{2, 24, 4, 16, 7}, RoundTrip{3, 24, 4, 24, 0},
                      RoundTrip{4, 24, 4, 32, 0}, RoundTrip{5, 1, 3, 1, 0}, RoundTrip{6, 1, 3, 1, 0},
                      RoundTrip{7, 1, 25, 1, 0}, RoundTrip{9, 1, 27, 1, 0}, RoundTrip{10, 1, 28, 1, 0},
                      RoundTrip{11, 1, 29, 1, 0}, RoundTrip{12, 8, 3, 8, 0}, RoundTrip{13, 24, 3, 24, 0},
                      RoundTrip{14, 24, 3, 24, 0}, RoundTrip{15, 8, 3, 8, 0}, RoundTrip{16, 24, 3, 24, 0},
                      RoundTrip{17, 24, 3, 24, 0}, RoundTrip{18, 1, 50, 1, 0}, RoundTrip{19, 1, 51, 1, 0},
                      RoundTrip{20, 1, 52, 1, 0}, RoundTrip{21, 1, 53, 1, 0}, RoundTrip{22, 1, 54, 1, 0},
                      RoundTrip{23, 4, 54, 4, 0}, RoundTrip{24, 8, 54, 8, 0}, RoundTrip{25, 1, 55, 1, 0},
                      RoundTrip{26, 4, 55, 8, 0}, RoundTrip{27, 8, 55, 8, 0}, RoundTrip{28, 24, 55, 24, 0},
                      RoundTrip{29, 24, 55, 24, 0}, RoundTrip{30, 1, 56, 1, 0}, RoundTrip{31, 4, 56, 8, 0},
                      RoundTrip{32, 8, 56, 8, 0}, RoundTrip{33, 24, 56, 24, 0}, RoundTrip{34, 1, 6, 1, 0},
                      RoundTrip{35, 4, 6, 4, 0}, RoundTrip{36, 8, 6, 8, 0}, RoundTrip{37, 24, 6, 24, 0},
                      RoundTrip{38, 1, 14, 1, 0}, RoundTrip{39, 4, 14, 4, 0}, RoundTrip{40, 8, 14, 8, 0},
                      RoundTrip{41, 24, 14, 24, 0}, RoundTrip{42, 1, 1, 1, 0}, RoundTrip{43, 4, 1, 4, 0},
                      RoundTrip{44, 8, 1, 8, 0}, RoundTrip{45, 24, 1, 24, 0}, RoundTrip{46, 8, 2, 8, 0},
                      RoundTrip{48, 24, 10, 24, 80}, RoundTrip{49, 24, 10, 24, 40},
                      RoundTrip{50, 24, 11, 24, 80}, RoundTrip{51, 24, 11, 24, 40},
                      RoundTrip{52, 24, 10, 24, 40}, RoundTrip{53, 24, 11, 24, 40},
                      RoundTrip{54, 8, 15, 8, 0}, RoundTrip{55, 24, 15, 24, 0}, RoundTrip{57, 24, 65, 24, 0},
                      RoundTrip{57, 8, 65, 8, 0}),
    [](const auto& info) {
        return "SaveType" + std::to_string(info.param.nSaveType) + "From" +
               std::to_string(info.param.nSourceBits);
    });

TEST(ImageCodecs, LeadProprietaryTypesReportSubTypeNotSupported) {
    CRaster src = MakeColour(8, 8);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(CImageCodecs::Write(src, 47, bytes), IMPEXP_ERR_IMAGE_TYPE);
    EXPECT_EQ(CImageCodecs::Write(src, 8, bytes), IMPEXP_ERR_IMAGE_TYPE);
    EXPECT_EQ(ErrorText(IMPEXP_ERR_IMAGE_TYPE), "Image format recognized, but sub-type not supported");
}

TEST(ImageCodecs, EpsWritesPostScriptThatReadsBackWhereGhostscriptIs) {
    CRaster src = MakeIndexed(16, 8, 8);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(CImageCodecs::Write(src, 56, bytes), IMPEXP_SUCCESS);
    EXPECT_EQ(CImageCodecs::Sniff(bytes.data(), bytes.size(), "EPS"), 16);
    CRaster back;
    int rc = CImageCodecs::Read(bytes.data(), bytes.size(), 16, back);
    if (CMagickCodec::HasPostScript()) {
        ASSERT_EQ(rc, IMPEXP_SUCCESS);
        EXPECT_GT(back.GetWidth(), 0);
    } else {
        EXPECT_EQ(rc, IMPEXP_ERR_NO_POSTSCRIPT);
    }
}

TEST(ImageCodecs, UnknownAndDamagedBytesFail) {
    const uint8_t junk[64] = {1, 2, 3, 4, 5};
    CImageFileInfo info;
    EXPECT_EQ(CImageCodecs::GetInfo(junk, sizeof(junk), "XYZ", info), IMPEXP_ERR_FILE_FORMAT);
    // A bitmap header that promises more pixels than the file holds.
    CRaster src = MakeColour(20, 20);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(CImageCodecs::Write(src, 37, bytes), IMPEXP_SUCCESS);
    bytes.resize(bytes.size() / 2);
    CRaster back;
    EXPECT_EQ(CImageCodecs::Read(bytes.data(), bytes.size(), 6, back), IMPEXP_ERR_FILE_DAMAGED);
    // Every reader on a truncated file: an error, never a crash.
    for (int nSaveType : {3, 14, 21, 24, 28, 33, 44, 46, 52, 55, 57}) {
        ASSERT_EQ(CImageCodecs::Write(src, nSaveType, bytes), IMPEXP_SUCCESS);
        int nFormat = CImageCodecs::Sniff(bytes.data(), bytes.size(), SaveTypeExtension(nSaveType));
        bytes.resize(bytes.size() * 2 / 3);
        EXPECT_NE(CImageCodecs::Read(bytes.data(), bytes.size(), nFormat, back), IMPEXP_SUCCESS)
            << "save type " << nSaveType;
    }
}

// GraphicsMagick's command-line tool, for files written by another program.
class MagickInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("gm version >/dev/null 2>&1") != 0) GTEST_SKIP() << "gm not installed";
        char tmpl[] = "/tmp/zozi-interop-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        if (!m_dir.empty()) std::system(("rm -rf " + m_dir).c_str());
    }
    static std::vector<uint8_t> Load(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    std::string m_dir;
};

TEST_F(MagickInterop, FilesWrittenByGmImport) {
    struct Case {
        const char* name;
        const char* options;
        int nFormat;
    } cases[] = {{"a.bmp", "", 6},  {"b.pcx", "", 1},          {"c.gif", "", 2},
                 {"d.jpg", "", 10}, {"e.tif", "", 3},          {"f.tga", "", 4},
                 {"g.ras", "", 55}, {"h.png", "", kFormatPng}, {"i.tif", "-monochrome -compress Group4", 29},
                 {"j.pct", "", 56}};
    for (const Case& c : cases) {
        std::string path = m_dir + "/" + c.name;
        std::string cmd = std::string("gm convert -size 40x30 gradient:red-blue ") + c.options + " " + path;
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        std::vector<uint8_t> bytes = Load(path);
        std::string ext = std::string(c.name).substr(2);
        CImageFileInfo info;
        ASSERT_EQ(CImageCodecs::GetInfo(bytes.data(), bytes.size(), ext, info), IMPEXP_SUCCESS)
            << c.name << " info";
        EXPECT_EQ(info.nFormat, c.nFormat) << c.name;
        CRaster back;
        ASSERT_EQ(CImageCodecs::Read(bytes.data(), bytes.size(), info.nFormat, back), IMPEXP_SUCCESS)
            << c.name;
        EXPECT_EQ(back.GetWidth(), 40) << c.name;
        EXPECT_EQ(back.GetHeight(), 30) << c.name;
    }
}

TEST_F(MagickInterop, FilesWeWriteAreIdentifiedByGm) {
    struct Case {
        int nSaveType;
        int nBits;
        const char* format;
    } cases[] = {{3, 24, "TGA"},   {5, 1, "TIFF"},   {11, 1, "TIFF"}, {18, 1, "CALS"}, {19, 1, "MAC"},
                 {22, 1, "WPG"},   {24, 8, "WPG"},   {27, 8, "SUN"},  {29, 24, "SUN"}, {32, 8, "PICT"},
                 {37, 24, "BMP"},  {40, 8, "BMP"},   {44, 8, "PCX"},  {46, 8, "GIF"},  {52, 24, "JPEG"},
                 {53, 24, "JPEG"}, {48, 24, "JPEG"}, {57, 24, "PNG"}};
    for (const Case& c : cases) {
        CRaster src = c.nBits == 24 ? MakeColour(40, 30) : MakeIndexed(40, 30, c.nBits);
        std::vector<uint8_t> bytes;
        ASSERT_EQ(CImageCodecs::Write(src, c.nSaveType, bytes), IMPEXP_SUCCESS);
        std::string path = m_dir + "/out." + SaveTypeExtension(c.nSaveType);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::string cmd = "gm identify -format '%m %w %h' " + path + " 2>/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        char line[256] = {};
        ASSERT_NE(p, nullptr);
        if (!fgets(line, sizeof(line), p)) line[0] = 0;
        pclose(p);
        std::string expect = std::string(c.format) + (c.nSaveType == 19 ? " 576 720" : " 40 30");
        EXPECT_EQ(std::string(line).substr(0, expect.size()), expect) << "save type " << c.nSaveType;
    }
}

} // namespace
