// Reference pictures written by GraphicsMagick (tests/storage/reference),
// decoded and compared pixel by pixel with the values they were made from:
// colour pixel (x, y) = red 32x, green 40y + 20, blue 16 (x + y); grey
// pixel (x, y) = 30x + 5y; 8 × 6 pixels.

#include "StorageTestUtil.h"
#include "imaging/CDib.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kDir = std::string(ZOZI_SOURCE_DIR) + "/tests/storage/reference/";

struct CRgb {
    int r, g, b;
};

CRgb Expected(int x, int y, bool bGrey) {
    if (bGrey) {
        const int v = 30 * x + 5 * y;
        return {v, v, v};
    }
    return {32 * x, 40 * y + 20, 16 * (x + y)};
}

// The largest difference of any channel of any pixel from the expectation.
int MaxDifference(CDib& image, bool bGrey) {
    std::vector<uint8_t> row(static_cast<size_t>(image.GetWidth()) * 3);
    int nMax = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* p = image.GetRowRGB(y, row.data());
        for (int x = 0; x < image.GetWidth(); ++x) {
            const CRgb e = Expected(x, y, bGrey);
            nMax = std::max(
                {nMax, std::abs(p[3 * x + 2] - e.r), std::abs(p[3 * x + 1] - e.g), std::abs(p[3 * x] - e.b)});
        }
    }
    return nMax;
}

} // namespace

TEST(ReferencePictures, DecodeToTheirPixels) {
    struct Case {
        const char* name;
        int nFormat;
        int nBits;
        int nTolerance;
    };
    const Case cases[] = {
        {"pattern24.bmp", 6, 24, 0}, {"pattern24.pcx", 1, 24, 0},   {"pattern24.tga", 4, 24, 0},
        {"pattern24.tif", 3, 24, 0}, {"pattern24.png", 65, 24, 0},  {"pattern24.ras", 55, 24, 0},
        {"pattern8.gif", 2, 8, 0},   {"pattern24.jpg", 10, 24, 12}, {"grey8.tif", 3, 8, 0},
        {"grey8.png", 65, 8, 0},     {"grey8.bmp", 6, 8, 0},
    };
    for (const Case& c : cases) {
        const bool bGrey = std::string(c.name).rfind("grey", 0) == 0;
        std::unique_ptr<CDib> image;
        CImageFileInfo info;
        ASSERT_EQ(ImportPicture(kDir + c.name, image, &info), IMPEXP_SUCCESS) << c.name;
        EXPECT_EQ(info.nFormat, c.nFormat) << c.name;
        EXPECT_EQ(image->GetBitCount(), c.nBits) << c.name;
        ASSERT_EQ(image->GetWidth(), 8) << c.name;
        ASSERT_EQ(image->GetHeight(), 6) << c.name;
        EXPECT_LE(MaxDifference(*image, bGrey), c.nTolerance) << c.name;
        if (bGrey) {
            EXPECT_TRUE(image->IsGray()) << c.name;
        }
    }
}

TEST(ReferencePictures, PhotoFileRoundTripKeepsThePixels) {
    QLNI_Initialize(nullptr);
    CScratchDir dir;
    for (const char* name : {"pattern24.bmp", "grey8.tif"}) {
        const bool bGrey = std::string(name).rfind("grey", 0) == 0;
        std::unique_ptr<CDib> image;
        ASSERT_EQ(ImportPicture(kDir + name, image), IMPEXP_SUCCESS) << name;
        const std::string path = dir / "p.qln";
        ASSERT_EQ(ExportPicture(*image, kSaveTypePhoto, path), IMPEXP_SUCCESS) << name;
        std::unique_ptr<CDib> back;
        ASSERT_EQ(ImportPicture(path, back), IMPEXP_SUCCESS) << name;
        EXPECT_EQ(back->GetBitCount(), image->GetBitCount()) << name;
        // 24 bits are stored as JPEG: within its tolerance; 8 bits raw: exact.
        EXPECT_LE(MaxDifference(*back, bGrey), bGrey ? 0 : 24) << name;
    }
}
