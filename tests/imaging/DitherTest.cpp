#include "ImagingTestUtil.h"

#include "framework/CException.h"
#include "framework/DisplayCaps.h"
#include "imaging/CBiLevelOrderedDither.h"
#include "imaging/CColorDiffusionDither4.h"
#include "imaging/CColorDiffusionDither8.h"
#include "imaging/CColorOrderDither4.h"
#include "imaging/CColorOrderDither8.h"
#include "imaging/CGrayScalelThresholdDither.h"
#include "imaging/CInvCMap.h"
#include "imaging/CMedianCut.h"
#include "imaging/ColorConvert.h"
#include "imaging/DitherTables.h"
#include "imaging/FixedPalettes.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

int Bit(CDib& d, int x, int y) {
    return (d.GetRow(y)[x >> 3] >> (7 - (x & 7))) & 1;
}
int Nibble(CDib& d, int x, int y) {
    return (x & 1) ? d.GetRow(y)[x >> 1] & 15 : d.GetRow(y)[x >> 1] >> 4;
}

std::unique_ptr<CDib> BiLevel(int w, int h) {
    return std::make_unique<CDib>(w, h, 1, 2, GetBWPalette());
}

} // namespace

TEST(DitherTables, MatricesAsBuilt) {
    const CDitherTables& t = GetDitherTables();
    const int first[16] = {0, 192, 48, 240, 12, 204, 60, 252, 3, 195, 51, 243, 15, 207, 63, 255};
    std::set<int> seen;
    for (int j = 0; j < 16; ++j) EXPECT_EQ(t.bayer[0][j], first[j]);
    int max51 = 0, max255 = 0;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j) {
            seen.insert(t.bayer[i][j]);
            max51 = std::max<int>(max51, t.magic51[i][j]);
            max255 = std::max<int>(max255, t.magic255[i][j]);
        }
    EXPECT_EQ(seen.size(), 256u);
    EXPECT_EQ(max51, 50);
    EXPECT_EQ(max255, 253);
    EXPECT_EQ(t.magic51[0][0], 0);
    EXPECT_EQ(t.levelBlue51[306], 180);
    EXPECT_EQ(t.levelGreen51[102], 12);
    EXPECT_EQ(t.rest51[52], 1);
    EXPECT_EQ(GetDisplayPalette()[43].rgbRed, 51);
    EXPECT_EQ(GetDisplayPalette()[221].rgbRed, 128);
    EXPECT_EQ(GetDisplayPalette()[255].rgbRed, 0);
}

TEST(Dither, BiLevelPatternAndThreshold) {
    std::unique_ptr<CDib> g128(MakeUniformGray(16, 16, 128)), g255(MakeUniformGray(32, 16, 255));
    auto out = BiLevel(16, 16);
    CBiLevelOrderedDither(g128.get(), out.get()).Dither();
    int nWhite = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            nWhite += Bit(*out, x, y);
            EXPECT_EQ(Bit(*out, x, y), GetDitherTables().bayer[y][x] < 128);
        }
    EXPECT_EQ(nWhite, 128);
    auto out2 = BiLevel(32, 16);
    CBiLevelOrderedDither(g255.get(), out2.get()).Dither();
    int nBlack = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) nBlack += !Bit(*out2, x, y);
    EXPECT_EQ(nBlack, 2); // one per 16 x 16 tile

    std::unique_ptr<CDib> g(MakeUniformGray(2, 1, 127));
    g->GetRow(0)[1] = 128;
    auto t = BiLevel(2, 1);
    CGrayScalelThresholdDither(g.get(), t.get()).Dither();
    EXPECT_EQ(Bit(*t, 0, 0), 0);
    EXPECT_EQ(Bit(*t, 1, 0), 1);

    // Depth rules: 24-bit source refused before anything is written.
    std::unique_ptr<CDib> c(MakeUniform24(2, 1, 1, 2, 3));
    t->GetRow(0)[0] = 0x5A;
    EXPECT_THROW(CGrayScalelThresholdDither(c.get(), t.get()).Dither(), CNotSupportedException);
    EXPECT_THROW(CBiLevelOrderedDither(g.get(), g.get()).Dither(), CNotSupportedException);
    EXPECT_EQ(t->GetRow(0)[0], 0x5A);
}

TEST(Dither, OrderedToDisplayPalette) {
    std::unique_ptr<CDib> s(MakeUniform24(20, 17, 51, 51, 51));
    CDib d(8, 20, 17, GetDisplayPalette());
    CColorOrderDither8(s.get(), &d).Dither();
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(d.GetRow(y)[x], 43);

    // With 20 reserved colours the cube moves up by 10.
    const CDisplayCaps& caps = GetDisplayCaps();
    CDisplayCaps simulated = caps;
    SetDisplayDepth(8);
    PrepareDisplayTables();
    CColorOrderDither8(s.get(), &d).Dither();
    EXPECT_EQ(d.GetRow(3)[7], 53);
    EXPECT_EQ(GetDisplayPalette()[53].rgbGreen, 51);
    EXPECT_EQ(GetDisplayPalette()[0].rgbRed, 0);
    EXPECT_EQ(GetDisplayPalette()[246].rgbRed, 255); // first of the last static colours
    ResetDisplayPalette();
    GetDisplayCaps() = simulated;

    // Matrix column counted from the right edge.
    std::unique_ptr<CDib> v(MakeUniform24(16, 1, 30, 0, 0));
    CDib e(8, 16, 1, GetDisplayPalette());
    CColorOrderDither8(v.get(), &e).Dither();
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(e.GetRow(0)[x], GetDitherTables().magic51[0][(16 - x) & 15] < 30 ? 1 : 0);

    // Eight colours: only 255 has level 1 by itself.
    std::unique_ptr<CDib> w(MakeUniform24(5, 2, 255, 0, 255));
    CDib o4(4, 5, 2, GetEightColorPalette());
    CColorOrderDither4(w.get(), &o4).Dither();
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Nibble(o4, x, 1), 5);
    std::unique_ptr<CDib> g(MakeUniformGray(3, 3, 9));
    EXPECT_THROW(CColorOrderDither4(g.get(), &o4).Dither(), CNotSupportedException); // sizes differ
}

TEST(Dither, SixteenColourDiffusion) {
    std::unique_ptr<CDib> white(MakeUniform24(7, 3, 255, 255, 255)), black(MakeUniform24(7, 3, 0, 0, 0));
    CDib o(4, 7, 3, GetSixteenColorPalette());
    CColorDiffusionDither4(white.get(), &o).Dither();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(Nibble(o, x, y), 15);
    CColorDiffusionDither4(black.get(), &o).Dither();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(Nibble(o, x, y), 0);

    // A grey of 100: code 0, sum 300 > 128 gives grey (7); the error goes right and down.
    std::unique_ptr<CDib> g(MakeUniform24(4, 2, 100, 100, 100));
    CDib o2(4, 4, 2, GetSixteenColorPalette());
    CColorDiffusionDither4(g.get(), &o2).Dither();
    EXPECT_EQ(Nibble(o2, 0, 0), 7);
    // Pixel 1 passes e = 100 - 128 = -28: q = -7, r = -1; pixel 2 gets 100 - 13 = 87 -> still 7.
    EXPECT_EQ(Nibble(o2, 2, 0), 7);
    std::unique_ptr<CDib> g1(MakeUniformGray(1, 1, 9));
    EXPECT_THROW(CColorDiffusionDither4(white.get(), g1.get()).Dither(), CNotSupportedException);
}

TEST(Dither, DisplayPaletteDiffusion) {
    // Exact values of a small case worked by hand: a row of 4 pixels of 25.
    std::unique_ptr<CDib> s(MakeUniform24(4, 2, 25, 25, 25));
    CDib d(8, 4, 2, GetDisplayPalette());
    CColorDiffusionDither8(s.get(), &d).Dither();
    // Row 0: pixel 1 has 25 -> index 0, e = 25: q = 6, r = 1; pixel 2 gets 25 + 11 = 36 -> 0,
    // e = 36: q = 9, r = 2, pixel 3 gets 25 + 16 = 41 -> 0.
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.GetRow(0)[x], 0);
    // Row 1: pixel 1 = 25 + 7 + 7 = 39 -> 0; its e 39 (q 9, r 2) gives pixel 2
    // 12 from above + 25 + 16 = 53 -> level 1 in every channel.
    EXPECT_EQ(d.GetRow(1)[2], 43);

    // One pixel wide: each pixel alone, nothing passed on.
    std::unique_ptr<CDib> n(MakeUniform24(1, 5, 40, 40, 40));
    CDib dn(8, 1, 5, GetDisplayPalette());
    CColorDiffusionDither8(n.get(), &dn).Dither();
    for (int y = 0; y < 5; ++y) EXPECT_EQ(dn.GetRow(y)[0], 0);
    CDib dn4(4, 1, 5, GetSixteenColorPalette());
    CColorDiffusionDither4(n.get(), &dn4).Dither();
    for (int y = 0; y < 5; ++y) EXPECT_EQ(Nibble(dn4, 0, y), 0);

    // Random input: accumulated values stay in the table range, every index is in the cube.
    std::unique_ptr<CDib> r(MakeRandom24(64, 32, 3));
    CDib dr(8, 64, 32, GetDisplayPalette());
    CColorDiffusionDither8(r.get(), &dr).Dither();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_LT(dr.GetRow(y)[x], 216);
}

TEST(Convert, GrayTrueColourAndPalette) {
    std::unique_ptr<CDib> s(MakeUniform24(2, 1, 255, 0, 0));
    s->GetRow(0)[3] = 255, s->GetRow(0)[5] = 0; // second pixel blue
    CDib g(2, 1, 8, 256, nullptr);
    ConvertToGray(*s, g);
    EXPECT_EQ(g.GetRow(0)[0], 76);
    EXPECT_EQ(g.GetRow(0)[1], 28);
    CDib notGray(8, 2, 1, nullptr);
    EXPECT_THROW(ConvertToGray(*s, notGray), CNotSupportedException);
    CDib bw(2, 1, 1, 2, GetBWPalette());
    EXPECT_THROW(ConvertToGray(bw, g), CNotSupportedException);

    RGBQUAD t[16] = {};
    t[2] = RGBQUAD{0, 0, 255, 0};
    CDib p4(4, 3, 1, t);
    p4.GetRow(0)[0] = 0x20;
    CDib g4(3, 1, 8, 256, nullptr);
    ConvertToGray(p4, g4);
    EXPECT_EQ(g4.GetRow(0)[0], 76);
    EXPECT_EQ(g4.GetRow(0)[1], 0);

    CDib tc(24, 3, 1, nullptr);
    ConvertToTrueColor(p4, tc);
    EXPECT_EQ(tc.GetRow(0)[2], 255);
    EXPECT_THROW(ConvertToTrueColor(p4, g4), CNotSupportedException);

    MakeGrayPalette(p4);
    EXPECT_TRUE(p4.IsGray());
    EXPECT_EQ(p4.GetGrayLevels(), 16);
    EXPECT_EQ(p4.GetColorTable()[2].rgbBlue, 76);
    EXPECT_THROW(MakeGrayPalette(*s), CNotSupportedException);
}

TEST(MedianCut, FewColoursGiveOneBoxEach) {
    std::unique_ptr<CDib> s(MakeUniform24(8, 8, 200, 16, 8));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) s->GetRow(y)[3 * x] = 248; // blue 248 in the top half
    s->GetRow(7)[0] = 0, s->GetRow(7)[1] = 0, s->GetRow(7)[2] = 0;
    CDib d(8, 8, 8, nullptr);
    CMedianCut mc(s.get(), &d);
    mc.Quantize(false, 256, false);
    EXPECT_EQ(mc.GetColorCount(), 3);
    std::set<int> used;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const RGBQUAD& q = d.GetColorTable()[d.GetRow(y)[x]];
            uint8_t* p = s->GetRow(y) + 3 * x;
            EXPECT_EQ(q.rgbBlue, p[0] & 0xF8);
            EXPECT_EQ(q.rgbRed, p[2] & 0xF8);
            used.insert(d.GetRow(y)[x]);
        }
    EXPECT_EQ(used.size(), 3u);
    EXPECT_EQ(d.GetColorTable()[200].rgbRed, 0); // beyond the palette: black

    CDib dd(8, 8, 8, nullptr);
    CMedianCut(s.get(), &dd).Quantize(true, 256, false); // exact colours: no error to diffuse
    for (int y = 0; y < 8; ++y) EXPECT_EQ(std::memcmp(dd.GetRow(y), d.GetRow(y), 8), 0);

    std::unique_ptr<CDib> g(MakeUniformGray(2, 2, 1));
    EXPECT_THROW(CMedianCut(g.get(), &d).Quantize(false, 256, false), CNotSupportedException);
}

TEST(MedianCut, SplitsAndSystemColours) {
    std::unique_ptr<CDib> s(MakeRandom24(64, 64, 9));
    CDib d(8, 64, 64, nullptr);
    CMedianCut mc(s.get(), &d);
    mc.Quantize(false, 16, false);
    EXPECT_EQ(mc.GetColorCount(), 16);
    // Every pixel takes the nearest of the computed colours to its cell.
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 64; x += 5) {
            uint8_t* p = s->GetRow(y) + 3 * x;
            int b = p[0] & 0xF8, g = p[1] & 0xF8, r = p[2] & 0xF8;
            long best = LONG_MAX;
            for (int i = 0; i < 16; ++i) {
                const RGBQUAD& q = d.GetColorTable()[i];
                best = std::min(best,
                                long((q.rgbBlue - b) * (q.rgbBlue - b) + (q.rgbGreen - g) * (q.rgbGreen - g) +
                                     (q.rgbRed - r) * (q.rgbRed - r)));
            }
            const RGBQUAD& q = d.GetColorTable()[d.GetRow(y)[x]];
            EXPECT_EQ(long((q.rgbBlue - b) * (q.rgbBlue - b) + (q.rgbGreen - g) * (q.rgbGreen - g) +
                           (q.rgbRed - r) * (q.rgbRed - r)),
                      best);
        }

    CDisplayCaps saved = GetDisplayCaps();
    SetDisplayDepth(8);
    CDib ds(8, 64, 64, nullptr);
    CMedianCut m2(s.get(), &ds);
    m2.Quantize(true, 256, true);
    EXPECT_EQ(m2.GetColorCount(), 236);
    EXPECT_EQ(ds.GetColorTable()[1].rgbRed, 128); // first static colours, then the computed ones
    EXPECT_EQ(ds.GetColorTable()[255].rgbRed, 255);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            ASSERT_GE(ds.GetRow(y)[x], 10);
            ASSERT_LT(ds.GetRow(y)[x], 246);
        }
    GetDisplayCaps() = saved;
}
