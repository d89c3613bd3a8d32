// Import into and export from CDib, photo files included.

#include "storage/formats/ImportExport.h"
#include "framework/CAppException.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "storage/formats/CRaster.h"
#include "storage/formats/ImpExpTables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ImportExport : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zozi-impexp-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        SetRasterMemoryLimitForTest(0);
        fs::remove_all(m_dir);
    }
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    static std::unique_ptr<CDib> Colour(int w, int h) {
        auto dib = std::make_unique<CDib>(24, w, h, nullptr);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = dib->GetRow(y) + 3 * x;
                p[0] = static_cast<uint8_t>(x * 8), p[1] = static_cast<uint8_t>(y * 15);
                p[2] = static_cast<uint8_t>(x * y);
            }
        return dib;
    }
    static std::unique_ptr<CDib> Gray(int w, int h) {
        auto dib = std::make_unique<CDib>(w, h, 8, 256, nullptr);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) dib->GetRow(y)[x] = static_cast<uint8_t>(x * 9 + y);
        return dib;
    }
    static bool SamePixels(CDib& a, CDib& b) {
        if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
        std::vector<uint8_t> ra(a.GetWidth() * 3), rb(b.GetWidth() * 3);
        for (int y = 0; y < a.GetHeight(); ++y)
            if (std::memcmp(a.GetRowRGB(y, ra.data()), b.GetRowRGB(y, rb.data()), ra.size()) != 0)
                return false;
        return true;
    }
    std::string m_dir;
};

TEST_F(ImportExport, LosslessTypesGiveTheSamePixels) {
    auto colour = Colour(31, 17);
    auto gray = Gray(31, 17);
    for (int t : {3, 14, 17, 28, 33, 37, 41, 45, 55, kSaveTypePng}) {
        std::string path = Path("c." + SaveTypeExtension(t));
        ASSERT_EQ(ExportPicture(*colour, t, path), IMPEXP_SUCCESS) << t;
        std::unique_ptr<CDib> back;
        ASSERT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS) << t;
        EXPECT_EQ(back->GetBitCount(), 24) << t;
        EXPECT_TRUE(SamePixels(*colour, *back)) << t;
    }
    for (int t : {1, 12, 15, 24, 27, 32, 36, 40, 44, 46, 54}) {
        std::string path = Path("g." + SaveTypeExtension(t));
        ASSERT_EQ(ExportPicture(*gray, t, path), IMPEXP_SUCCESS) << t;
        std::unique_ptr<CDib> back;
        ASSERT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS) << t;
        EXPECT_EQ(back->GetBitCount(), 8) << t;
        EXPECT_TRUE(SamePixels(*gray, *back)) << t;
        EXPECT_TRUE(back->IsGray()) << t;
    }
}

TEST_F(ImportExport, PhotoFilesRoundTrip) {
    auto gray = Gray(20, 10);
    std::string path = Path("p.qln");
    ASSERT_EQ(ExportPicture(*gray, kSaveTypePhoto, path), IMPEXP_SUCCESS);
    CImageFileInfo info;
    ASSERT_EQ(GetImportInfo(path, info), IMPEXP_SUCCESS);
    EXPECT_EQ(info.nFormat, 666);
    EXPECT_EQ(info.nBits, 8);
    std::unique_ptr<CDib> back;
    ASSERT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS);
    EXPECT_TRUE(SamePixels(*gray, *back));
    // 24-bit pictures are stored as JPEG: close, not equal.
    auto colour = Colour(20, 10);
    ASSERT_EQ(ExportPicture(*colour, kSaveTypePhoto, path), IMPEXP_SUCCESS);
    ASSERT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS);
    EXPECT_EQ(back->GetBitCount(), 24);
    EXPECT_EQ(back->GetWidth(), 20);
}

TEST_F(ImportExport, ReportsGoThroughTheUserPrompt) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    std::ofstream(Path("bad.pcx")) << std::string("\x0A\x05\x01\x08", 4) << std::string(200, '\x01');
    EXPECT_EQ(ImportFile(Path("bad.pcx")), nullptr);
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_NE(
        prompt.m_shown[0].text.find("An error was encountered while reading the file:\n" + Path("bad.pcx")),
        std::string::npos);
    auto colour = Colour(4, 4);
    EXPECT_EQ(ExportFile(*colour, 47, Path("x.cmp")), 1);
    ASSERT_EQ(prompt.m_shown.size(), 2u);
    EXPECT_NE(prompt.m_shown[1].text.find("Reason: Image format recognized, but sub-type not supported"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Path("x.cmp")));
    EXPECT_EQ(ExportFile(*colour, 0, Path("x.bmp")), 50);
    EXPECT_EQ(prompt.m_shown.size(), 2u);
}

TEST_F(ImportExport, TooLargeForMemoryIsRefusedWithTheMemoryText) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto colour = Colour(64, 64);
    ASSERT_EQ(ExportPicture(*colour, 37, Path("m.bmp")), IMPEXP_SUCCESS);
    SetRasterMemoryLimitForTest(20000);
    EXPECT_EQ(ImportFile(Path("m.bmp")), nullptr);
    ASSERT_FALSE(prompt.m_shown.empty());
    EXPECT_EQ(prompt.m_shown[0].text.find("An error was encountered"), std::string::npos);
}

} // namespace
