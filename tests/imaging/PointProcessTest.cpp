#include "OperationTestUtil.h"

#include "framework/CException.h"
#include "imaging/CColorModel.h"
#include "imaging/CPointProcess.h"
#include "imaging/CTRGBHist.h"
#include "imaging/ColorCount.h"
#include "imaging/PointTables.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(PointProcess, BrightnessContrastGammaThroughTone) {
    auto pic = MakeRandom(17, 5, 1);
    CDib orig(*pic);
    CPointProcess pp(pic.get());
    pp.ApplyBrightnessContrast(50, 45, 20, 7);
    EXPECT_TRUE(SamePixels(*pic, orig));
    EXPECT_TRUE(pic->m_bToneApplied);
    EXPECT_EQ(pic->m_nChannelMask, 7);

    // Brightness 100 on the red channel only, then gamma 2.19 on all.
    pp.ApplyBrightnessContrast(100, 45, 20, 1);
    EXPECT_EQ(pp.GetBrightnessOffset(), 50);
    EXPECT_EQ(pp.GetContrastAngle(), 45);
    uint8_t bright[256], gamma[256];
    MakeContrastTable(100, 45, bright);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 17; ++x) {
            ASSERT_EQ(Px(*pic, x, y, 2), bright[Px(orig, x, y, 2)]);
            ASSERT_EQ(Px(*pic, x, y, 0), Px(orig, x, y, 0));
        }
    CDib before(*pic);
    pp.ApplyBrightnessContrast(50, 45, 28, 7);
    MakeGammaTable(2.19, gamma);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 17; ++x)
            for (int c = 0; c < 3; ++c) ASSERT_EQ(Px(*pic, x, y, c), gamma[Px(before, x, y, c)]);

    // Out of range: nothing changes.
    CDib kept(*pic);
    EXPECT_THROW(pp.ApplyBrightnessContrast(101, 45, 20, 7), CNotSupportedException);
    EXPECT_THROW(pp.ApplyBrightnessContrast(50, 91, 20, 7), CNotSupportedException);
    EXPECT_THROW(pp.ApplyBrightnessContrast(50, 45, 41, 7), CNotSupportedException);
    EXPECT_TRUE(SamePixels(*pic, kept));
}

TEST(PointProcess, HueSaturationEqualsTheColourModel) {
    // Few distinct colours (cache hits) and many (cache misses and evictions).
    for (uint32_t nMask : {0x07u, 0xFFu}) {
        for (auto [h, s, l] : {std::tuple{0, 0, 0}, std::tuple{10, 20, -5}, std::tuple{-128, 255, -255},
                               std::tuple{127, -255, 255}, std::tuple{-3, 40, 17}}) {
            std::mt19937 rng(h * 7 + s + nMask);
            auto pic = MakePicture(301, 257,
                                   [&](int, int, int) { return int(rng() & nMask) * (nMask == 7 ? 30 : 1); });
            CDib ref(*pic);
            CColorModel model(&ref);
            model.ToHLS();
            model.Shift(h, s, l);
            model.FromHLS();
            CPointProcess(pic.get()).ApplyHueSaturation(h, s, l);
            ASSERT_TRUE(SamePixels(*pic, ref)) << h << " " << s << " " << l;
        }
    }
}

TEST(PointProcess, HueSaturationIdentityAndChecks) {
    auto grey = MakeUniform(4, 3, 90, 90, 90);
    CPointProcess(grey.get()).ApplyHueSaturation(0, 0, 0);
    EXPECT_EQ(Px(*grey, 1, 1, 0), 90);
    EXPECT_EQ(Px(*grey, 1, 1, 2), 90);
    // More lightness brightens a grey, less saturation keeps it grey.
    CPointProcess(grey.get()).ApplyHueSaturation(0, -50, 40);
    EXPECT_GT(Px(*grey, 1, 1, 0), 90);
    EXPECT_EQ(Px(*grey, 1, 1, 0), Px(*grey, 1, 1, 2));
    EXPECT_THROW(CPointProcess(grey.get()).ApplyHueSaturation(128, 0, 0), CNotSupportedException);
    CDib eight(8, 4, 4, nullptr);
    EXPECT_THROW(CPointProcess(&eight).ApplyHueSaturation(0, 0, 0), CNotSupportedException);
}

TEST(Histogram, ComputeAndStatistics) {
    // Two pixels: (r, g, b) = (10, 20, 30) and (200, 100, 0).
    auto pic =
        MakePicture(2, 1, [](int x, int, int c) { return x == 0 ? 30 - 10 * c : (c == 0 ? 0 : 100 * c); });
    CTRGBHist hist(pic.get(), true);
    hist.Compute();
    EXPECT_EQ(hist.GetHistogram(CTRGBHist::kRed)[10], 1u);
    EXPECT_EQ(hist.GetHistogram(CTRGBHist::kRed)[200], 1u);
    EXPECT_EQ(hist.GetHistogram(CTRGBHist::kBlue)[0], 1u);
    // Grey (300 + 1180 + 330) / 100 = 18 and (6000 + 5900) / 100 = 119.
    EXPECT_EQ(hist.GetHistogram(CTRGBHist::kGrey)[18], 1u);
    EXPECT_EQ(hist.GetHistogram(CTRGBHist::kGrey)[119], 1u);
    EXPECT_EQ(hist.GetCumulative(CTRGBHist::kGrey)[117], 1u);
    EXPECT_EQ(hist.GetCumulative(CTRGBHist::kGrey)[255], 2u);
    const CHistStatistics st =
        hist.GetStatistics(hist.GetHistogram(CTRGBHist::kRed), hist.GetCumulative(CTRGBHist::kRed));
    EXPECT_EQ(st.m_nMin, 10);
    EXPECT_EQ(st.m_nMax, 200);
    EXPECT_DOUBLE_EQ(st.m_dMean, 105.0);
    EXPECT_DOUBLE_EQ(st.m_dStdDev, 95.0);

    // All black: 0, 0, 0.0, 0.0.
    auto black = MakeUniform(5, 5, 0, 0, 0);
    CTRGBHist hb(black.get(), true);
    hb.Compute();
    const CHistStatistics sb =
        hb.GetStatistics(hb.GetHistogram(CTRGBHist::kGrey), hb.GetCumulative(CTRGBHist::kGrey));
    EXPECT_EQ(sb.m_nMin, 0);
    EXPECT_EQ(sb.m_nMax, 0);
    EXPECT_EQ(sb.m_dMean, 0.0);
    EXPECT_EQ(sb.m_dStdDev, 0.0);

    // Without the cumulative sums N is 0: everything -1.
    CTRGBHist hn(black.get(), false);
    hn.Compute();
    const CHistStatistics sn =
        hn.GetStatistics(hn.GetHistogram(CTRGBHist::kGrey), hn.GetCumulative(CTRGBHist::kGrey));
    EXPECT_EQ(sn.m_nMin, -1);
    EXPECT_EQ(sn.m_dStdDev, -1.0);
}

TEST(Histogram, Equalize) {
    auto grey = MakeUniform(6, 4, 77, 77, 77);
    CTRGBHist(grey.get(), false).Equalize();
    EXPECT_EQ(Px(*grey, 3, 2, 0), 255);
    EXPECT_EQ(Px(*grey, 0, 0, 2), 255);
    auto black = MakeUniform(6, 4, 0, 0, 0);
    CTRGBHist(black.get(), false).Equalize();
    EXPECT_EQ(Px(*black, 3, 2, 1), 0);

    // Half 0, half 200 grey: 0 stays, 200 becomes 255; colour pixels go
    // through the grey table channel by channel.
    auto two = MakePicture(4, 1, [](int x, int, int) { return x < 2 ? 0 : 200; });
    CTRGBHist(two.get(), false).Equalize();
    EXPECT_EQ(Px(*two, 0, 0, 0), 0);
    EXPECT_EQ(Px(*two, 3, 0, 1), 255);
    auto ramp = MakePicture(4, 1, [](int x, int, int) { return 10 * x; }); // greys 0, 10, 20, 30
    CTRGBHist(ramp.get(), false).Equalize();
    // C = 1, 2, 3, 4 at 0, 10, 20, 30: table[v] = (C[v] - 1) * 255 / 3.
    EXPECT_EQ(Px(*ramp, 1, 0, 0), 85);
    EXPECT_EQ(Px(*ramp, 2, 0, 2), 170);
    EXPECT_EQ(Px(*ramp, 3, 0, 1), 255);

    CDib eight(8, 4, 4, nullptr);
    EXPECT_THROW(CTRGBHist(&eight, false).Equalize(), CNotSupportedException);
}

TEST(ColorCount, Counts) {
    auto one = MakeUniform(30, 20, 1, 2, 3);
    EXPECT_EQ(CountColors(*one), 1u);
    auto many = MakePicture(256, 3, [](int x, int y, int c) { return c == 0 ? x : (c == 1 ? y : 0); });
    EXPECT_EQ(CountColors(*many), 768u);
    // Alternating colours defeat the run shortcut.
    auto alt = MakePicture(64, 2, [](int x, int, int c) { return c == 2 ? (x % 2) * 255 : 0; });
    EXPECT_EQ(CountColors(*alt), 2u);
    // 8-bit pictures count the colours of the entries in use.
    RGBQUAD table[256] = {};
    table[1].rgbRed = 255;
    table[2].rgbRed = 255; // same colour as entry 1
    CDib eight(8, 3, 1, table);
    eight.GetRow(0)[0] = 0, eight.GetRow(0)[1] = 1, eight.GetRow(0)[2] = 2;
    EXPECT_EQ(CountColors(eight), 2u);
}
