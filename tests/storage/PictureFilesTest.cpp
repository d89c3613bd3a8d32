// Picture files on disk: the memory check, depth and resolution rules, and
// that a failed or refused save leaves an existing file alone.

#include "storage/formats/PictureFiles.h"
#include "storage/formats/ImpExpTables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zozi-pictures-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        SetRasterMemoryLimitForTest(0);
        fs::remove_all(m_dir);
    }
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    static std::string Contents(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    static CRaster Picture(int w, int h) {
        CRaster r;
        r.Create(w, h, 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < 3 * w; ++x) r.Row(y)[x] = static_cast<uint8_t>(x * 5 + y);
        return r;
    }
    std::string m_dir;
};

TEST_F(PictureFiles, BadSaveTypeReturns50AndLeavesTheFile) {
    std::string path = Path("keep.bmp");
    std::ofstream(path) << "old";
    for (int t : {0, 58, 100, -5, 666}) EXPECT_EQ(WritePictureFile(Picture(4, 4), t, path), 50) << t;
    EXPECT_EQ(Contents(path), "old");
}

TEST_F(PictureFiles, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    std::string path = Path("keep.cmp");
    std::ofstream(path) << "old";
    EXPECT_EQ(WritePictureFile(Picture(4, 4), 47, path), IMPEXP_ERR_IMAGE_TYPE);
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    EXPECT_EQ(WritePictureFile(Picture(4, 4), 37, Path("no/such/dir/x.bmp")), IMPEXP_ERR_INV_FILENAME);
}

TEST_F(PictureFiles, SixteenAndThirtyTwoBitsComeBackAt24) {
    for (int t : {2, 4}) {
        std::string path = Path("deep.tga");
        ASSERT_EQ(WritePictureFile(Picture(9, 5), t, path), IMPEXP_SUCCESS);
        CRaster back;
        CImageFileInfo info;
        ASSERT_EQ(ReadPictureFile(path, back, &info), IMPEXP_SUCCESS);
        EXPECT_EQ(info.nBits, t == 2 ? 16 : 32);
        EXPECT_EQ(back.GetBitCount(), 24);
    }
}

TEST_F(PictureFiles, ResolutionOutsideTheRangeBecomesZero) {
    CRaster pic = Picture(3, 3);
    pic.m_nXRes = 5906;
    pic.m_nYRes = 5907;
    std::string path = Path("res.tif");
    ASSERT_EQ(WritePictureFile(pic, 14, path), IMPEXP_SUCCESS);
    CRaster back;
    ASSERT_EQ(ReadPictureFile(path, back), IMPEXP_SUCCESS);
    EXPECT_EQ(back.m_nXRes, 5906);
    EXPECT_EQ(back.m_nYRes, 0);
}

TEST_F(PictureFiles, MemoryNeedIsCheckedBeforeLoading) {
    std::string path = Path("big.bmp");
    ASSERT_EQ(WritePictureFile(Picture(100, 100), 37, path), IMPEXP_SUCCESS);
    // 300 × (100 + 16) + 8192 = 42992 bytes needed.
    SetRasterMemoryLimitForTest(42992);
    CRaster back;
    EXPECT_EQ(ReadPictureFile(path, back), IMPEXP_ERR_MEMORY_LOW);
    EXPECT_TRUE(back.IsEmpty());
    SetRasterMemoryLimitForTest(42993 + 40000);
    EXPECT_EQ(ReadPictureFile(path, back), IMPEXP_SUCCESS);
}

TEST_F(PictureFiles, MissingAndUnknownFiles) {
    CRaster back;
    EXPECT_EQ(ReadPictureFile(Path("none.bmp"), back), IMPEXP_ERR_FILE_NOT_FOUND);
    std::ofstream(Path("text.bmp")) << "this is not a picture at all, just some words";
    EXPECT_EQ(ReadPictureFile(Path("text.bmp"), back), IMPEXP_ERR_FILE_FORMAT);
    EXPECT_EQ(FormatImpExpError(1077, Path("text.bmp"), IMPEXP_ERR_FILE_FORMAT),
              "An error was encountered while reading the file:\n" + Path("text.bmp") +
                  "\n\nReason: Invalid file format");
}

} // namespace
