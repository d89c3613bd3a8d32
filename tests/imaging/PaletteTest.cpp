#include "ImagingTestUtil.h"

#include "framework/CException.h"
#include "framework/DisplayCaps.h"
#include "imaging/CAppPalette.h"
#include "imaging/CColorModel.h"
#include "imaging/CInvCMap.h"
#include "imaging/FalseColor.h"
#include "imaging/FixedPalettes.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

// Restores the display record when the test ends.
struct CDisplayScope {
    CDisplayCaps saved = GetDisplayCaps();
    explicit CDisplayScope(int nBits, bool bIdentity = false) {
        SetDisplayDepth(nBits);
        GetDisplayCaps().bIdentityPalette = bIdentity;
    }
    ~CDisplayScope() { GetDisplayCaps() = saved; }
};

class CCountingPalette : public CAppPalette {
public:
    using CAppPalette::CAppPalette;
    unsigned SetPaletteEntries(unsigned nStart, unsigned nCount, const PALETTEENTRY* p) override {
        ++m_nCalls;
        return CAppPalette::SetPaletteEntries(nStart, nCount, p);
    }
    int m_nCalls = 0;
};

} // namespace

TEST(InvCMap, EqualsBruteForceNearest) {
    std::mt19937 rng(7);
    for (int n : {1, 2, 17, 256}) {
        std::vector<RGBQUAD> pal(n);
        for (auto& q : pal) q = RGBQUAD{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
        if (n == 17) pal[9] = pal[3]; // a duplicate: the lower entry keeps every cell
        CInvCMap inv(n, 5, pal.data());
        inv.Build();
        for (int cell = 0; cell < 32768; cell += (n == 256 ? 7 : 1)) {
            int r = (cell >> 10) * 8 + 4, g = ((cell >> 5) & 31) * 8 + 4, b = (cell & 31) * 8 + 4;
            long best = LONG_MAX;
            int nBest = 0;
            for (int i = 0; i < n; ++i) {
                long d = (pal[i].rgbRed - r) * (pal[i].rgbRed - r) +
                         (pal[i].rgbGreen - g) * (pal[i].rgbGreen - g) +
                         (pal[i].rgbBlue - b) * (pal[i].rgbBlue - b);
                if (d < best) best = d, nBest = i;
            }
            ASSERT_EQ(inv.GetMap()[cell], nBest) << "n=" << n << " cell=" << cell;
        }
        EXPECT_EQ(inv.CellOf(255, 0, 8), (31 << 10) | 1);
    }
    RGBQUAD two[2] = {{5, 5, 5, 0}, {5, 5, 5, 0}};
    CInvCMap same(2, 5, two);
    same.Build();
    for (int cell = 0; cell < 32768; ++cell) ASSERT_EQ(same.GetMap()[cell], 0);
}

TEST(ColorModel, HlsCases) {
    uint8_t h, l, s, r, g, b;
    CColorModel::RGBToHLS(255, 0, 0, h, l, s);
    EXPECT_EQ(h, 255);
    EXPECT_EQ(s, 255);
    EXPECT_EQ(l, 127);
    CColorModel::HLSToRGB(255, 127, 255, r, g, b); // hue 255 is sextant 0
    EXPECT_EQ(r, 254);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    CColorModel::RGBToHLS(90, 90, 90, h, l, s);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 0);
    CColorModel::HLSToRGB(0, 90, 0, r, g, b);
    EXPECT_EQ(r, 90);

    // Round trips stay within a few steps (truncation on both ways).
    std::mt19937 rng(1);
    for (int i = 0; i < 2000; ++i) {
        uint8_t R = uint8_t(rng()), G = uint8_t(rng()), B = uint8_t(rng());
        CColorModel::RGBToHLS(R, G, B, h, l, s);
        CColorModel::HLSToRGB(h, l, s, r, g, b);
        EXPECT_NEAR(r, R, 6);
        EXPECT_NEAR(g, G, 6);
        EXPECT_NEAR(b, B, 6);
    }
}

TEST(ColorModel, ShiftWrapsHueAndDepthRules) {
    std::unique_ptr<CDib> d(MakeUniform24(2, 1, 250, 100, 100)); // red byte holds hue in HLS form
    d->GetRow(0)[5] = 3;
    CColorModel m(d.get());
    m.Shift(10, 200, -150);
    EXPECT_EQ(d->GetRow(0)[2], 5);
    EXPECT_EQ(d->GetRow(0)[1], 255);
    EXPECT_EQ(d->GetRow(0)[0], 0);
    m.Shift(-10, 0, 0);
    EXPECT_EQ(d->GetRow(0)[5], 3); // 3 + 10 = 13, then 13 - 10
    std::unique_ptr<CDib> e(MakeUniform24(1, 1, 3, 0, 0));
    CColorModel(e.get()).Shift(-10, 0, 0);
    EXPECT_EQ(e->GetRow(0)[2], 248);

    CDib bw(1, 1, 1, nullptr), hi(16, 1, 1, nullptr);
    EXPECT_THROW(CColorModel(&bw).ToHLS(), CNotSupportedException);
    EXPECT_THROW(CColorModel(&hi).FromHLS(), CNotSupportedException);

    RGBQUAD t[256] = {};
    t[1] = RGBQUAD{0, 0, 255, 0};
    CDib p(8, 1, 1, t);
    CColorModel(&p).ToHLS();
    EXPECT_EQ(p.GetColorTable()[1].rgbRed, 255);   // hue
    EXPECT_EQ(p.GetColorTable()[1].rgbGreen, 255); // saturation
    EXPECT_EQ(p.GetColorTable()[1].rgbBlue, 127);  // lightness
}

TEST(Palettes, FixedAndFalseColour) {
    const RGBQUAD* sp = GetFalseColorPalette(EFalseColor::Spectrum);
    EXPECT_EQ(sp[101].rgbGreen, 251);
    EXPECT_EQ(sp[100].rgbGreen, 245);
    EXPECT_EQ(sp[0].rgbRed, 255);
    EXPECT_EQ(sp[255].rgbGreen, 0);
    const RGBQUAD* ps = GetFalseColorPalette(EFalseColor::PseudoColor);
    EXPECT_EQ(ps[51].rgbBlue, 255);
    EXPECT_EQ(ps[120].rgbRed, 90);
    EXPECT_EQ(ps[255].rgbBlue, 255);
    const RGBQUAD* fs = GetFalseColorPalette(EFalseColor::FireSky);
    EXPECT_EQ(fs[85].rgbRed, 255);
    EXPECT_EQ(fs[200].rgbBlue, 90);
    EXPECT_EQ(GetEightColorPalette()[6].rgbRed, 0);
    EXPECT_EQ(GetEightColorPalette()[6].rgbBlue, 255);

    // A descending grey ramp: pixel p becomes 255 - p first.
    RGBQUAD desc[256];
    for (int i = 0; i < 256; ++i) desc[i] = RGBQUAD{uint8_t(255 - i), uint8_t(255 - i), uint8_t(255 - i), 0};
    CDib g(3, 1, 8, 256, desc);
    g.GetRow(0)[0] = 0, g.GetRow(0)[1] = 10, g.GetRow(0)[2] = 255;
    ApplyFalseColor(g, EFalseColor::FireSky);
    EXPECT_EQ(g.GetRow(0)[0], 255);
    EXPECT_EQ(g.GetRow(0)[1], 245);
    EXPECT_EQ(g.GetRow(0)[2], 0);
    EXPECT_FALSE(g.IsGray());
    EXPECT_EQ(g.GetColorTable()[200].rgbBlue, 90);
    EXPECT_THROW(ApplyFalseColor(g, EFalseColor::FireSky), CNotSupportedException); // no longer grey
    CDib g16(3, 1, 8, 16, nullptr);
    EXPECT_THROW(ApplyFalseColor(g16, EFalseColor::Spectrum), CNotSupportedException);
}

TEST(AppPalette, SetColorsComparesFirst) {
    CCountingPalette pal(true);
    EXPECT_EQ(pal.GetEntryCount(), 256);
    int nAfterCreate = pal.m_nCalls;
    EXPECT_EQ(pal.SetDisplayColors(), 256);
    EXPECT_EQ(pal.m_nCalls, nAfterCreate); // same colours: no call
    RGBQUAD grey[256];
    for (int i = 0; i < 256; ++i) grey[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    pal.SetColors(grey, 256);
    EXPECT_EQ(pal.m_nCalls, nAfterCreate + 1);
    EXPECT_EQ(pal.Entries()[77].peGreen, 77);
}

TEST(AppPalette, MakeIdentityOnPaletteDisplay) {
    CDisplayScope display(8, true);
    CAppPalette pal(true);
    // 50 distinct non-static colours repeated over the palette.
    RGBQUAD t[256];
    for (int i = 0; i < 256; ++i) t[i] = RGBQUAD{uint8_t(3 + i % 50), uint8_t(100), uint8_t(7), 0};
    t[0] = RGBQUAD{0, 0, 0, 0};       // black: a static colour
    t[1] = RGBQUAD{255, 255, 255, 0}; // white: a static colour
    pal.SetColors(t, 256);
    EXPECT_EQ(pal.Entries()[10].peFlags, PC_NOCOLLAPSE);
    EXPECT_EQ(pal.Entries()[9].peFlags, 0);
    EXPECT_FALSE(pal.IsIdentity());
    ASSERT_TRUE(pal.MakeIdentity());
    EXPECT_TRUE(pal.IsIdentity());
    const auto& e = pal.Entries();
    // The used entries are the last occurrence of each colour: 206..255 in order.
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(e[10 + i].peBlue, t[206 + i].rgbBlue) << i;
        EXPECT_EQ(e[10 + i].peFlags, PC_NOCOLLAPSE);
    }
    // The rest keep the entries moved up by 10 in step 4.
    EXPECT_EQ(e[60].peBlue, t[50].rgbBlue);
    EXPECT_EQ(e[245].peBlue, t[235].rgbBlue);
    EXPECT_EQ(e[255].peRed, 255);
    EXPECT_EQ(e[255].peFlags, 0);

    // An image mapped to the rearranged palette keeps its colours.
    CDib img(8, 4, 1, t);
    for (int x = 0; x < 4; ++x) img.GetRow(0)[x] = static_cast<uint8_t>(x + 2);
    uint8_t before[12], after[12];
    img.GetRowRGB(0, before);
    EXPECT_TRUE(img.MapToPalette(&pal));
    img.GetRowRGB(0, after);
    EXPECT_EQ(std::memcmp(before, after, 12), 0);
}

TEST(AppPalette, DibPalettesAndDisplayCopies) {
    std::unique_ptr<CDib> d(MakeRandom24(20, 10, 4));
    {
        CDisplayScope display(24);
        EXPECT_FALSE(d->NeedsDisplayDither());
        EXPECT_EQ(d->CreatePalette(false), nullptr);
        EXPECT_EQ(d->CreatePalette(true)->GetEntryCount(), 16);
    }
    {
        CDisplayScope display(8, true);
        EXPECT_TRUE(d->NeedsDisplayDither());
        auto pal = d->CreatePalette(true);
        EXPECT_EQ(pal->GetEntryCount(), 256);
        EXPECT_EQ(pal->Entries()[10].peFlags, PC_NOCOLLAPSE);
        auto disp = d->CreateDisplayDib();
        EXPECT_EQ(disp->GetBitCount(), 8);
        CDib g(4, 4, 8, 256, nullptr);
        EXPECT_NE(g.GetPalIndexInfo(), nullptr);
        EXPECT_TRUE(g.UsesPaletteIndices());
    }
    {
        CDisplayScope display(4);
        auto disp = d->CreateDisplayDib();
        EXPECT_EQ(disp->GetBitCount(), 4);
        EXPECT_EQ(disp->GetColorTable()[7].rgbGreen, 255);
    }
}
