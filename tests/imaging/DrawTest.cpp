#include "ImagingTestUtil.h"

#include "framework/CImageDC.h"
#include "framework/DisplayCaps.h"
#include "imaging/CAppPalette.h"
#include "imaging/DitherTables.h"
#include "imaging/FixedPalettes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct CDisplayScope {
    CDisplayCaps saved = GetDisplayCaps();
    explicit CDisplayScope(int nBits, bool bIdentity = false, bool bStretch = false) {
        SetDisplayDepth(nBits);
        GetDisplayCaps().bIdentityPalette = bIdentity;
        GetDisplayCaps().bWindowsStretch = bStretch;
    }
    ~CDisplayScope() { GetDisplayCaps() = saved; }
};

uint32_t Rgb(const uint8_t* bgr) {
    return (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];
}

} // namespace

TEST(Draw, UnscaledBandsOf480Rows) {
    CDisplayScope display(24);
    std::unique_ptr<CDib> d(MakeRandom24(3, 1000, 11));
    CImageDC dc(10, 1100);
    EXPECT_EQ(d->Draw(dc, 2, 5), 1000);
    ASSERT_EQ(dc.m_calls.size(), 3u);
    // Bottom band first, drawn at the bottom of the destination.
    EXPECT_EQ(dc.m_calls[0].y, 5 + 520);
    EXPECT_EQ(dc.m_calls[0].nHeight, 480);
    EXPECT_EQ(dc.m_calls[0].ySrc, 0);
    EXPECT_EQ(dc.m_calls[1].y, 5 + 40);
    EXPECT_EQ(dc.m_calls[1].ySrc, 480);
    EXPECT_EQ(dc.m_calls[2].nHeight, 40);
    EXPECT_EQ(dc.m_calls[2].y, 5);
    for (int y = 0; y < 1000; y += 37)
        for (int x = 0; x < 3; ++x) ASSERT_EQ(dc.GetPixel(2 + x, 5 + y), Rgb(d->GetRow(y) + 3 * x));

    CImageDC dc2(10, 20);
    EXPECT_EQ(d->Draw(dc2, 0, 0, CRect(1, 1, 1, 5)), 0); // empty source: nothing
    EXPECT_TRUE(dc2.m_calls.empty());
    EXPECT_EQ(d->Draw(dc2, 0, 0, CRect(1, 10, 3, 14)), 4);
    EXPECT_EQ(dc2.GetPixel(1, 10), Rgb(d->GetRow(10) + 3));
    EXPECT_EQ(dc2.GetPixel(2, 13), Rgb(d->GetRow(13) + 6));
    EXPECT_EQ(dc2.GetPixel(0, 10), 0xFFFFFFu); // untouched background
}

TEST(Draw, BandHeightRule) {
    EXPECT_EQ(CDib::BandHeight(100, 1000), 100);
    EXPECT_EQ(CDib::BandHeight(1000, 1000), 125); // 1000 -> 500 -> 250 -> 125
    EXPECT_EQ(CDib::BandHeight(3, 200000), 1);
    EXPECT_EQ(CDib::BandHeight(131, 1000), 131);
    EXPECT_EQ(CDib::BandHeight(132, 1000), 66);
}

TEST(Draw, OwnStretchNearestNeighbour) {
    CDisplayScope display(24);
    RGBQUAD t[16] = {};
    for (int i = 0; i < 16; ++i) t[i] = RGBQUAD{uint8_t(i * 16), uint8_t(i), uint8_t(255 - i), 0};
    CDib d(4, 5, 3, t);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t* r = d.GetRow(y);
            unsigned v = (x + 5 * y) & 15;
            r[x >> 1] = static_cast<uint8_t>((x & 1) ? ((r[x >> 1] & 0xF0) | v) : (v << 4));
        }
    CImageDC dc(20, 20);
    d.StretchDraw(dc, CRect(0, 0, 10, 9), CRect(0, 0, 5, 3));
    for (int j = 0; j < 9; ++j)
        for (int i = 0; i < 10; ++i) {
            int sx = static_cast<int>(i * 0.5), sy = static_cast<int>(j * (3.0 / 9));
            const RGBQUAD& q = t[(sx + 5 * sy) & 15];
            ASSERT_EQ(dc.GetPixel(i, j), uint32_t((q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue))
                << i << "," << j;
        }
    for (const auto& c : dc.m_calls) EXPECT_EQ(c.nBitCount, 4);

    // With the Windows stretch switch on, one StretchDIBits call.
    CDisplayScope stretch(24, false, true);
    CImageDC dc2(20, 20);
    d.StretchDraw(dc2, CRect(0, 0, 10, 9), CRect(0, 0, 5, 3));
    ASSERT_EQ(dc2.m_calls.size(), 1u);
    EXPECT_TRUE(dc2.m_calls[0].bStretch);
    EXPECT_EQ(dc2.GetStretchBltMode(), COLORONCOLOR);

    // Printing: one StretchDIBits, source y counted from the bottom.
    CImageDC printer(20, 20);
    printer.m_bPrinting = true;
    d.StretchDraw(printer, CRect(0, 0, 10, 6), CRect(1, 0, 5, 2));
    ASSERT_EQ(printer.m_calls.size(), 1u);
    EXPECT_EQ(printer.m_calls[0].ySrc, 1);
    CDib bw(1, 1, 1, 2, GetBWPalette());
    bw.StretchDraw(printer, CRect(0, 0, 2, 2), CRect(0, 0, 1, 1));
    EXPECT_EQ(printer.GetStretchBltMode(), BLACKONWHITE);
}

TEST(Draw, DisplayDitherOnSimulatedPaletteDisplay) {
    CDisplayScope display(8);
    std::unique_ptr<CDib> d(MakeRandom24(40, 30, 5));
    CAppPalette pal(true);
    CImageDC dc(50, 40, 8);
    dc.SelectPalette(&pal, false);
    dc.RealizePalette();
    EXPECT_EQ(d->Draw(dc, 3, 4), 30);
    const CDitherTables& t = GetDitherTables();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint8_t* s = d->GetRow(y) + 3 * x;
            unsigned m = t.magic51[y & 15][x & 15];
            int idx = t.levelRed51[s[2]] + (m < t.rest51[s[2]]) + t.levelGreen51[s[1]] +
                      6 * (m < t.rest51[s[1]]) + t.levelBlue51[s[0]] + 36 * (m < t.rest51[s[0]]);
            ASSERT_EQ(dc.GetPixel(3 + x, 4 + y), Rgb(&GetDisplayPalette()[idx].rgbBlue));
        }
    for (const auto& c : dc.m_calls) EXPECT_EQ(c.nBitCount, 8);

    // Stretched with dither: the matrix follows the destination.
    CImageDC dc2(80, 60, 8);
    d->StretchDraw(dc2, CRect(0, 0, 80, 60), CRect(0, 0, 40, 30));
    const uint8_t* s = d->GetRow(0) + 3 * 0;
    unsigned m = t.magic51[1][1];
    int idx = t.levelRed51[s[2]] + (m < t.rest51[s[2]]) + t.levelGreen51[s[1]] + 6 * (m < t.rest51[s[1]]) +
              t.levelBlue51[s[0]] + 36 * (m < t.rest51[s[0]]);
    EXPECT_EQ(dc2.GetPixel(1, 1), Rgb(&GetDisplayPalette()[idx].rgbBlue));

    // An 8-bit image with the identity palette draws through palette indexes.
    CDisplayScope identity(8, true);
    CDib g(4, 2, 8, 256, nullptr);
    g.GetRow(0)[0] = 20;
    CImageDC dc3(10, 10, 8);
    dc3.SelectPalette(&pal, false);
    g.Draw(dc3, 0, 0);
    EXPECT_EQ(dc3.m_calls[0].nColorUse, DIB_PAL_COLORS);
    EXPECT_EQ(dc3.GetPixel(0, 0), Rgb(&GetDisplayPalette()[20].rgbBlue));
}

TEST(Draw, FourBitDisplayUsesEightColours) {
    CDisplayScope display(4);
    std::unique_ptr<CDib> d(MakeUniform24(17, 3, 255, 255, 0));
    CImageDC dc(20, 5, 4);
    d->Draw(dc, 0, 0);
    for (int x = 0; x < 17; ++x) EXPECT_EQ(dc.GetPixel(x, 2), 0xFFFF00u);
    EXPECT_EQ(dc.m_calls[0].nBitCount, 4);
}
