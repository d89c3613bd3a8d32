#include "imaging/PointTables.h"
#include "framework/CException.h"
#include "imaging/LutApply.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

TEST(PointTables, ContrastIdentityAndBrightness) {
    uint8_t t[256];
    MakeContrastTable(50, 45, t);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], i);

    // Brightness 100 adds 50 (cos 45 + sin 45) = 71, clamped.
    MakeContrastTable(100, 45, t);
    EXPECT_EQ(t[0], 71);
    EXPECT_EQ(t[100], 171);
    EXPECT_EQ(t[183], 254);
    EXPECT_EQ(t[184], 255);
    EXPECT_EQ(t[255], 255);
    MakeContrastTable(0, 45, t);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[255], 184);
}

TEST(PointTables, ContrastEndsAreOneAndEightyNineDegrees) {
    uint8_t t0[256], t1[256], t90[256], t89[256];
    MakeContrastTable(50, 0, t0);
    MakeContrastTable(50, 1, t1);
    MakeContrastTable(50, 90, t90);
    MakeContrastTable(50, 89, t89);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(t0[i], t1[i]);
        ASSERT_EQ(t90[i], t89[i]);
    }
    // Nearly flat at 1 degree, nearly a step at 89.
    EXPECT_EQ(t1[0], 125);
    EXPECT_EQ(t1[255], 129);
    EXPECT_EQ(t89[124], 0);
    EXPECT_EQ(t89[125], 13);
    EXPECT_EQ(t89[126], 70);
    EXPECT_EQ(t89[127], 127);
    EXPECT_EQ(t89[128], 184);
    EXPECT_EQ(t89[130], 255);
}

TEST(PointTables, ContrastRangeChecked) {
    uint8_t t[256];
    EXPECT_THROW(MakeContrastTable(-1, 45, t), CNotSupportedException);
    EXPECT_THROW(MakeContrastTable(101, 45, t), CNotSupportedException);
    EXPECT_THROW(MakeContrastTable(50, -1, t), CNotSupportedException);
    EXPECT_THROW(MakeContrastTable(50, 91, t), CNotSupportedException);
}

TEST(PointTables, GammaSteps) {
    EXPECT_EQ(GetGammaValue(0), 0.1);
    EXPECT_EQ(GetGammaValue(5), GetGammaValue(6));
    EXPECT_EQ(GetGammaValue(20), 1.0);
    EXPECT_EQ(GetGammaValue(26), 1.97);
    EXPECT_EQ(GetGammaValue(27), 1.98);
    EXPECT_EQ(GetGammaValue(40), 9.7);
    EXPECT_THROW(GetGammaValue(41), CNotSupportedException);
    EXPECT_THROW(GetGammaValue(-1), CNotSupportedException);

    uint8_t t[256];
    MakeGammaTable(1.0, t);
    // Gamma 1.0 is the identity (255 only through the clamp).
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[100], 100);
    EXPECT_EQ(t[127], 127);
    EXPECT_EQ(t[128], 128);
    EXPECT_EQ(t[255], 255);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], std::min(255, int(i / 255.0 * 255.5 + 0.5)));
    MakeGammaTable(2.19, t);
    EXPECT_EQ(t[64], int(std::pow(64 / 255.0, 1 / 2.19) * 255.5 + 0.5));
    EXPECT_EQ(t[255], 255);
}

TEST(PointTables, Posterize) {
    uint8_t t[256];
    MakePosterizeTable(2, t);
    EXPECT_EQ(t[0], 0);
    for (int i = 1; i < 256; ++i) ASSERT_EQ(t[i], 255);
    MakePosterizeTable(4, t);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[1], 85);
    EXPECT_EQ(t[85], 85);
    EXPECT_EQ(t[86], 170);
    EXPECT_EQ(t[171], 255);
    MakePosterizeTable(8, t);
    std::vector<int> outs;
    for (int i = 0; i < 256; ++i)
        if (outs.empty() || outs.back() != t[i]) outs.push_back(t[i]);
    EXPECT_EQ(outs, (std::vector<int>{0, 37, 74, 111, 148, 185, 222, 255}));
    MakePosterizeTable(256, t);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], i);
    EXPECT_THROW(MakePosterizeTable(1, t), CNotSupportedException);
    EXPECT_THROW(MakePosterizeTable(257, t), CNotSupportedException);
}

TEST(PointTables, SolarizeBothWays) {
    uint8_t t[256];
    MakeSolarizeTable(kSolarizeLighten, 127, t);
    EXPECT_EQ(t[100], 155);
    EXPECT_EQ(t[127], 127);
    EXPECT_EQ(t[200], 200);
    MakeSolarizeTable(kSolarizeDarken, 127, t);
    EXPECT_EQ(t[200], 55);
    EXPECT_EQ(t[127], 127);
    EXPECT_EQ(t[100], 100);
}

TEST(LutApply, MatchesPlainLookupAtEveryLength) {
    std::mt19937 rng(7);
    uint8_t lb[256], lg[256], lr[256];
    for (int i = 0; i < 256; ++i) lb[i] = rng(), lg[i] = rng(), lr[i] = rng();
    for (size_t n : {0u, 1u, 7u, 8u, 9u, 23u, 24u, 25u, 100u}) {
        std::vector<uint8_t> src(n * 3), dst(n * 3);
        for (auto& v : src) v = rng();
        ApplyLutsBGR(src.data(), dst.data(), n, lb, lg, lr);
        for (size_t i = 0; i < n * 3; ++i) {
            const uint8_t* lut = i % 3 == 0 ? lb : (i % 3 == 1 ? lg : lr);
            ASSERT_EQ(dst[i], lut[src[i]]) << n << " " << i;
        }
        // Same table everywhere, in place.
        std::vector<uint8_t> inplace = src;
        ApplyLutsBGR(inplace.data(), inplace.data(), n, lg, lg, lg);
        for (size_t i = 0; i < n * 3; ++i) ASSERT_EQ(inplace[i], lg[src[i]]);
    }
}

#include "imaging/PreviewFit.h"

TEST(PreviewFit, FitsKeepingAspectCentred) {
    const CRect rcCtl = ShrinkPreviewControl(CRect(10, 20, 210, 120));
    EXPECT_EQ(rcCtl, CRect(14, 24, 206, 116)); // 192 x 92
    // Wide image: full width, height 192 * 300 / 1000 = 57, centred.
    EXPECT_EQ(FitPreviewRect(rcCtl, 1000, 300), CRect(14, 41, 206, 98));
    // Tall image: full height, width 92 * 100 / 400 = 23.
    EXPECT_EQ(FitPreviewRect(rcCtl, 100, 400), CRect(98, 24, 121, 116));
    // Same ratio exactly: the height rule.
    EXPECT_EQ(FitPreviewRect(CRect(0, 0, 40, 20), 400, 200), CRect(0, 0, 40, 20));
    // Huge images do not overflow; degenerate ones give nothing.
    EXPECT_EQ(FitPreviewRect(CRect(0, 0, 100, 100), 2000000000, 1000000000), CRect(0, 25, 100, 75));
    EXPECT_TRUE(FitPreviewRect(rcCtl, 0, 10).IsRectEmpty());
    EXPECT_TRUE(FitPreviewRect(CRect(0, 0, 3, 3), 10, 10) == CRect(0, 0, 3, 3));
}
