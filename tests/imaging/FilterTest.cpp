#include "OperationTestUtil.h"

#include "framework/CException.h"
#include "imaging/CFilter.h"
#include "imaging/FilterCore.h"

#include <gtest/gtest.h>

TEST(Filter, ChecksImagesAndRadius) {
    CDib eight(8, 5, 5, nullptr);
    auto pic = MakeRandom(5, 5, 1);
    CDib small(24, 4, 5, nullptr);
    EXPECT_THROW(CFilter(&eight, pic.get(), &g_kernelEmboss), CNotSupportedException);
    EXPECT_THROW(CFilter(pic.get(), &small, &g_kernelEmboss), CNotSupportedException);
    EXPECT_THROW(CFilter(pic.get(), &eight, &g_kernelEmboss), CNotSupportedException);
    CDib dst(24, 5, 5, nullptr);
    CFilter f(pic.get(), &dst, nullptr);
    EXPECT_THROW(f.Convolve(), CNotSupportedException);
    EXPECT_THROW(f.GaussianBlur(-1), CNotSupportedException);
    EXPECT_THROW(f.GaussianBlur(51), CNotSupportedException);
    EXPECT_NO_THROW(f.GaussianBlur(50));
    EXPECT_THROW(f.RankFilter(3), CNotSupportedException);
}

TEST(Filter, ImagesGiveTheRowResults) {
    // The image class stores rows bottom-up with padding: the filters must
    // see the same picture as on plain rows.
    auto src = MakeRandom(13, 9, 2);
    CDib dst(24, 13, 9, nullptr);
    CFilter(src.get(), &dst, &g_kernelSharpenSlight).Convolve();
    for (int c = 0; c < 3; ++c) {
        int s = 7 * Px(*src, 5, 4, c) - Px(*src, 4, 3, c) - Px(*src, 6, 3, c) - Px(*src, 4, 5, c) -
                Px(*src, 6, 5, c);
        EXPECT_EQ(Px(dst, 5, 4, c), std::clamp(s / 3, 0, 255));
    }
    EXPECT_EQ(Px(dst, 0, 4, 1), Px(*src, 0, 4, 1));
    EXPECT_EQ(Px(dst, 7, 8, 2), Px(*src, 7, 8, 2));

    // In place gives what a separate destination gives.
    for (int nMode : {kRankMinimum, kRankMaximum, kRankMedian}) {
        CDib inplace(*src);
        CFilter(src.get(), &dst, nullptr).RankFilter(nMode);
        CFilter(&inplace, &inplace, nullptr).RankFilter(nMode);
        EXPECT_TRUE(SamePixels(inplace, dst));
    }
    CDib inplace(*src);
    CFilter(src.get(), &dst, &g_kernelBlurMore).Convolve();
    CFilter(&inplace, &inplace, &g_kernelBlurMore).Convolve();
    EXPECT_TRUE(SamePixels(inplace, dst));
    CFilter(src.get(), &dst, nullptr).GaussianBlur(2);
    CFilter(&inplace, &inplace, nullptr).GaussianBlur(2);
    EXPECT_FALSE(SamePixels(inplace, dst)); // inplace was blurred before
    CDib again(*src);
    CFilter(&again, &again, nullptr).GaussianBlur(2);
    EXPECT_TRUE(SamePixels(again, dst));
}

TEST(Filter, MedianOfEqualKeysKeepsAPixel) {
    // Every key 300 but different colours: the median is one of the nine.
    auto pic = MakePicture(3, 3, [](int x, int y, int c) {
        return c == 0 ? 100 + x + 3 * y : (c == 1 ? 100 - x - 3 * y : 100);
    });
    CDib dst(24, 3, 3, nullptr);
    CFilter(pic.get(), &dst, nullptr).RankFilter(kRankMedian);
    bool bFound = false;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            bFound |= Px(dst, 1, 1, 0) == Px(*pic, x, y, 0) && Px(dst, 1, 1, 1) == Px(*pic, x, y, 1);
    EXPECT_TRUE(bFound);
    // Minimum and maximum take the first of the nine.
    CFilter(pic.get(), &dst, nullptr).RankFilter(kRankMinimum);
    EXPECT_EQ(Px(dst, 1, 1, 0), 100);
    CFilter(pic.get(), &dst, nullptr).RankFilter(kRankMaximum);
    EXPECT_EQ(Px(dst, 1, 1, 0), 100);
}
