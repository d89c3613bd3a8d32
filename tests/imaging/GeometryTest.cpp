// Geometry on small pictures, pixel for pixel: reflections and turns, the
// three-shear rotation and its line shear, cropping, both scalers; the warp
// and applying a tone table.

#include "framework/CAppException.h"
#include "framework/CException.h"
#include "imaging/ApplyToneCurve.h"
#include "imaging/CCrop.h"
#include "imaging/CDib.h"
#include "imaging/CInterpolateScale.h"
#include "imaging/CResampleScale.h"
#include "imaging/CRotate.h"
#include "imaging/CWarp.h"
#include "imaging/CWarpMesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <tuple>

namespace {

using Px = std::array<int, 3>;
using Dib = std::unique_ptr<CDib>;

// Every pixel different: blue = x, green = y, red = 7x + 13y (mod 256).
Dib MakeImage(int w, int h) {
    auto d = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = d->GetRow(y);
        for (int x = 0; x < w; ++x) {
            p[3 * x] = uint8_t(x);
            p[3 * x + 1] = uint8_t(y);
            p[3 * x + 2] = uint8_t(7 * x + 13 * y);
        }
    }
    return d;
}

Px At(CDib& d, int x, int y) {
    const uint8_t* p = d.GetRow(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

void Set(CDib& d, int x, int y, Px v) {
    uint8_t* p = d.GetRow(y) + 3 * x;
    for (int c = 0; c < 3; ++c) p[c] = uint8_t(v[c]);
}

bool SamePixels(CDib& a, CDib& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBitCount() != b.GetBitCount())
        return false;
    const size_t n = size_t(a.GetWidth()) * a.GetBitCount() / 8;
    for (int y = 0; y < a.GetHeight(); ++y)
        if (std::memcmp(a.GetRow(y), b.GetRow(y), n) != 0) return false;
    return true;
}

Dib Turned(CDib& src, CDib* (CRotate::*op)()) {
    CRotate r(&src);
    return Dib((r.*op)());
}

} // namespace

void QuarterTurns(int w, int h);

TEST(Rotate, MirrorAndFlip) {
    Dib src = MakeImage(3, 2);
    Dib m = Turned(*src, &CRotate::Mirror);
    Dib m8 = MakeImage(8, 2);
    EXPECT_EQ(At(*Turned(*m8, &CRotate::Mirror), 7, 1), At(*m8, 0, 1));
    EXPECT_TRUE(SamePixels(*Turned(*Turned(*m8, &CRotate::Mirror), &CRotate::Mirror), *m8));
    EXPECT_EQ(At(*m, 0, 1), At(*src, 2, 1));
    EXPECT_EQ(At(*m, 1, 1), At(*src, 1, 1));
    EXPECT_EQ(At(*m, 2, 0), At(*src, 0, 0));
    EXPECT_TRUE(SamePixels(*Turned(*m, &CRotate::Mirror), *src));
    Dib f = Turned(*src, &CRotate::Flip);
    EXPECT_EQ(At(*f, 2, 0), At(*src, 2, 1));
    EXPECT_TRUE(SamePixels(*Turned(*f, &CRotate::Flip), *src));
}

TEST(Rotate, QuarterTurnsAndTranspose) {
    // More than one tile, odd sizes, rows without padding, single pixels.
    for (auto [w, h] : {std::pair{37, 5}, {8, 4}, {4, 33}, {1, 1}, {1, 6}, {6, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        QuarterTurns(w, h);
    }
}

void QuarterTurns(int w, int h) {
    Dib src = MakeImage(w, h);
    Dib cw = Turned(*src, &CRotate::Rotate90CW);
    Dib ccw = Turned(*src, &CRotate::Rotate90CCW);
    Dib tr = Turned(*src, &CRotate::Transpose);
    Dib half = Turned(*src, &CRotate::Rotate180);
    ASSERT_EQ(cw->GetWidth(), h);
    ASSERT_EQ(cw->GetHeight(), w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            ASSERT_EQ(At(*cw, h - 1 - y, x), At(*src, x, y));
            ASSERT_EQ(At(*ccw, y, w - 1 - x), At(*src, x, y));
            ASSERT_EQ(At(*tr, y, x), At(*src, x, y));
            ASSERT_EQ(At(*half, w - 1 - x, h - 1 - y), At(*src, x, y));
        }
    }
    EXPECT_TRUE(SamePixels(*Turned(*cw, &CRotate::Rotate90CCW), *src));
    EXPECT_TRUE(SamePixels(*Turned(*tr, &CRotate::Transpose), *src));
    EXPECT_TRUE(SamePixels(*Turned(*half, &CRotate::Rotate180), *src));
}

TEST(Rotate, OnlyTwentyFourBits) {
    CDib grey(4, 4, 8, 256, nullptr);
    EXPECT_THROW(CRotate r(&grey), CNotSupportedException);
    EXPECT_THROW(CRotate r(nullptr), CNotSupportedException);
}

TEST(Rotate, ShearPlanSizes) {
    // 90 counter-clockwise is sheared, not turned: a little larger than H × W.
    CRotate::CShearPlan p = CRotate::PlanRotation(40, 30, 90.0f, false);
    EXPECT_EQ(p.nCoarse, 0);
    EXPECT_EQ(p.nW1, 70);
    EXPECT_EQ(p.nH2, 41);
    EXPECT_EQ(p.nW3, 31);
    EXPECT_EQ(p.nOffset, 39);
    // 45°: about (W + H) × 0.707 + 1 wide.
    p = CRotate::PlanRotation(100, 60, 45.0f, false);
    EXPECT_EQ(p.nW3, 114);
    EXPECT_EQ(p.nH2, 114);
    // Coarse steps with strict comparisons.
    EXPECT_EQ(CRotate::PlanRotation(40, 30, 91.0f, false).nCoarse, 3);
    EXPECT_EQ(CRotate::PlanRotation(40, 30, 180.0f, false).nCoarse, 3);
    EXPECT_EQ(CRotate::PlanRotation(40, 30, 181.0f, false).nCoarse, 2);
    EXPECT_EQ(CRotate::PlanRotation(40, 30, 271.0f, false).nCoarse, 1);
    p = CRotate::PlanRotation(40, 30, 90.0f, true); // 270 counter-clockwise
    EXPECT_EQ(p.nCoarse, 2);
    EXPECT_FLOAT_EQ(p.fAngle, 90.0f);
    p = CRotate::PlanRotation(40, 30, 100.0f, false);
    EXPECT_EQ(p.nWidth, 30); // turned 90° first: W and H exchange
    EXPECT_FLOAT_EQ(p.fAngle, 10.0f);
}

TEST(Rotate, ShearLine) {
    auto shear = [](std::vector<int> in, int m, float d) {
        std::vector<uint8_t> a, b(3 * m, 0xAA);
        for (int v : in) a.insert(a.end(), {uint8_t(v), uint8_t(v), uint8_t(v)});
        CRotate::ShearLine(a.data(), 3, int(in.size()), b.data(), 3, m, d);
        std::vector<int> out;
        for (int i = 0; i < m; ++i) out.push_back(b[3 * i]);
        return out;
    };
    EXPECT_EQ(shear({10, 20}, 4, 0.0f), (std::vector<int>{10, 20, 0, 0}));
    EXPECT_EQ(shear({10, 20}, 5, 2.0f), (std::vector<int>{0, 0, 10, 20, 0}));
    EXPECT_EQ(shear({10, 20, 30}, 2, -1.0f), (std::vector<int>{20, 30}));
    // Leading pixel in × g, blends, trailing pixel in × a, then black.
    EXPECT_EQ(shear({100, 200}, 5, 1.5f), (std::vector<int>{0, 50, 150, 100, 0}));
    // Negative shift: a = g, b = f; the pixel after the last one is black.
    EXPECT_EQ(shear({100, 200, 40}, 3, -0.25f), (std::vector<int>{125, 160, 30}));
    EXPECT_EQ(shear({100, 200, 40}, 4, -1.5f), (std::vector<int>{120, 20, 0, 0}));
    // Shifted out entirely.
    EXPECT_EQ(shear({100, 200}, 3, 5.5f), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(shear({100, 200}, 3, -7.0f), (std::vector<int>{0, 0, 0}));
}

TEST(Rotate, ColumnShearMatchesTheLineShear) {
    const int nCols = 37, n = 23;
    std::vector<uint8_t> in(size_t(nCols) * 3 * n);
    uint32_t seed = 7;
    for (uint8_t& v : in) v = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
    for (auto [fOffset, fSin, m] : {std::tuple{5.0f, 0.5f, 30},
                                    {20.0f, 0.731f, 25},
                                    {0.0f, 0.0f, 23},
                                    {3.0f, 1.0f, 23},
                                    {1.5f, 0.999f, 10},
                                    {-2.25f, 0.1f, 40}}) {
        std::vector<uint8_t> a(size_t(nCols) * 3 * m, 0xAA), b(a.size(), 0xBB);
        const ptrdiff_t inStep = nCols * 3, outStep = nCols * 3;
        for (int x = 0; x < nCols; ++x)
            CRotate::ShearLine(in.data() + 3 * x, inStep, n, a.data() + 3 * x, outStep, m,
                               fOffset - float(x) * fSin);
        CRotate::ShearColumns(in.data(), inStep, n, b.data(), outStep, m, nCols, fOffset, fSin);
        EXPECT_EQ(a, b) << fOffset << " " << fSin;
    }
}

TEST(Rotate, ArbitraryRotation) {
    Dib src = MakeImage(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) Set(*src, x, y, {200, 200, 200});
    CRotate r(src.get());
    Dib q(r.RotateArbitrary(90.0f, false));
    ASSERT_EQ(q->GetWidth(), 31);
    ASSERT_EQ(q->GetHeight(), 41);
    // Sheared: the turned rectangle with a black margin on the right and at the bottom.
    EXPECT_EQ(At(*q, 30, 40), (Px{0, 0, 0}));
    EXPECT_EQ(At(*q, 30, 0), (Px{0, 0, 0}));
    EXPECT_EQ(At(*q, 0, 40), (Px{0, 0, 0}));
    EXPECT_EQ(At(*q, 1, 39), (Px{200, 200, 200}));
    EXPECT_EQ(At(*q, 15, 20), (Px{200, 200, 200}));
    Dib d(r.RotateArbitrary(45.0f, true));
    EXPECT_EQ(d->GetWidth(), CRotate::PlanRotation(40, 30, 45.0f, true).nW3);
    EXPECT_EQ(At(*d, d->GetWidth() / 2, d->GetHeight() / 2), (Px{200, 200, 200}));
    EXPECT_EQ(At(*d, 0, 0), (Px{0, 0, 0}));
    // 180 by shearing after a 90° turn, and a full turn: the middle stays where it was.
    Dib e(r.RotateArbitrary(360.0f, false));
    EXPECT_EQ(At(*e, e->GetWidth() / 2, e->GetHeight() / 2), (Px{200, 200, 200}));
}

TEST(Crop, Rectangles) {
    Dib src = MakeImage(6, 4);
    Dib full(CCrop(src.get(), 0, 0, 6, 4).Crop());
    EXPECT_TRUE(SamePixels(*full, *src));
    Dib part(CCrop(src.get(), 2, 1, 3, 2).Crop());
    ASSERT_EQ(part->GetWidth(), 3);
    EXPECT_EQ(At(*part, 0, 0), At(*src, 2, 1));
    EXPECT_EQ(At(*part, 2, 1), At(*src, 4, 2));
    EXPECT_THROW(CCrop(src.get(), 1, 0, 6, 4).Crop(), CNotSupportedException);
    EXPECT_THROW(CCrop(src.get(), 0, 0, 6, 5).Crop(), CNotSupportedException);
    EXPECT_THROW(CCrop(src.get(), 6, 0, 1, 1).Crop(), CNotSupportedException);
    EXPECT_THROW(CCrop(src.get(), 0, 0, 0, 1).Crop(), CNotSupportedException);
    EXPECT_THROW(CCrop(src.get(), -1, 0, 2, 1).Crop(), CNotSupportedException);

    CDib grey(5, 3, 8, 16, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) grey.GetRow(y)[x] = uint8_t(x + 5 * y);
    Dib g(CCrop(&grey, 1, 1, 2, 2).Crop());
    EXPECT_EQ(g->GetBitCount(), 8);
    EXPECT_TRUE(g->IsGray());
    EXPECT_EQ(g->GetGrayLevels(), 16);
    EXPECT_EQ(g->GetColorTable()[9].rgbRed, 9);
    EXPECT_EQ(g->GetRow(1)[1], 12);
    CDib mono(1, 8, 2, nullptr);
    EXPECT_THROW(CCrop(&mono, 0, 0, 1, 1), CNotSupportedException);
}

TEST(Scale, SameSizeIsExactWithBothScalers) {
    Dib src = MakeImage(13, 7);
    Dib a = std::make_unique<CDib>(24, 13, 7, nullptr), b = std::make_unique<CDib>(24, 13, 7, nullptr);
    CResampleScale(src.get(), a.get()).Scale();
    CInterpolateScale(src.get(), b.get()).Scale();
    EXPECT_TRUE(SamePixels(*a, *src));
    EXPECT_TRUE(SamePixels(*b, *src));
}

TEST(Scale, NearestNeighbour) {
    Dib src = MakeImage(5, 3);
    Dib d = std::make_unique<CDib>(24, 10, 3, nullptr);
    CResampleScale(src.get(), d.get()).Scale();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(At(*d, x, y), At(*src, x / 2, y));
    // Shrinking picks truncate(x / ratio).
    Dib s = std::make_unique<CDib>(24, 2, 2, nullptr);
    CResampleScale(src.get(), s.get()).Scale();
    EXPECT_EQ(At(*s, 1, 1), At(*src, 2, 1));
    // 8-bit to 8-bit; mixed depths are refused before writing.
    CDib g(4, 1, 8, 256, nullptr), g2(8, 2, 8, 256, nullptr);
    for (int x = 0; x < 4; ++x) g.GetRow(0)[x] = uint8_t(10 * x);
    CResampleScale(&g, &g2).Scale();
    EXPECT_EQ(g2.GetRow(1)[7], 30);
    EXPECT_THROW(CResampleScale(&g, d.get()).Scale(), CNotSupportedException);
}

TEST(Scale, Bilinear) {
    Dib src = MakeImage(2, 1);
    Set(*src, 0, 0, {0, 10, 255});
    Set(*src, 1, 0, {101, 20, 0});
    Dib d = std::make_unique<CDib>(24, 4, 2, nullptr);
    CInterpolateScale(src.get(), d.get()).Scale();
    EXPECT_EQ(At(*d, 0, 0), (Px{0, 10, 255}));
    EXPECT_EQ(At(*d, 1, 0), (Px{50, 15, 127}));
    EXPECT_EQ(At(*d, 2, 0), (Px{101, 20, 0}));
    EXPECT_EQ(At(*d, 3, 1), (Px{101, 20, 0})); // the last column and row repeat
    // A one-pixel-wide column repeats its colour across the row.
    Dib col = MakeImage(1, 3);
    Dib wide = std::make_unique<CDib>(24, 9, 6, nullptr);
    CInterpolateScale(col.get(), wide.get()).Scale();
    for (int x = 0; x < 9; ++x) EXPECT_EQ(At(*wide, x, 0), At(*col, 0, 0));
    // Vertical blend between rows: y = 1 of 6 is a third of the way.
    EXPECT_EQ(At(*wide, 4, 1)[1], 0); // green 0 → 1: truncate(0.5)
    EXPECT_EQ(At(*wide, 4, 3)[1], 1);
    // A grey source is read as 24-bit; the destination must be 24-bit.
    CDib grey(2, 2, 8, 256, nullptr);
    grey.GetRow(0)[0] = grey.GetRow(0)[1] = grey.GetRow(1)[0] = grey.GetRow(1)[1] = 77;
    CInterpolateScale(&grey, d.get()).Scale();
    EXPECT_EQ(At(*d, 3, 1), (Px{77, 77, 77}));
    EXPECT_THROW(CInterpolateScale(src.get(), &grey).Scale(), CNotSupportedException);
}

TEST(Warp, IdentityMeshReproducesThePicture) {
    Dib src = MakeImage(61, 47);
    for (CWarpMesh::EGridSize g : {CWarpMesh::gridSmall, CWarpMesh::gridMedium, CWarpMesh::gridLarge}) {
        int c, r;
        CWarpMesh::GridDims(g, c, r);
        std::vector<CPoint> mesh = CWarpMesh::RegularGrid(61, 47, c, r);
        for (bool hq : {false, true}) {
            Dib out(CWarp(src.get(), mesh, mesh, c + 2, r + 2, nullptr, hq).Run());
            EXPECT_TRUE(SamePixels(*out, *src)) << c << "x" << r << " hq " << hq;
        }
    }
}

TEST(Warp, MovedPointMovesContentAndKeepsBorders) {
    Dib src = MakeImage(60, 60);
    std::vector<CPoint> s = CWarpMesh::RegularGrid(60, 60, 2, 3), d = s;
    d[4 * 2 + 1].x += 8; // inner point (1, 2) moves right
    Dib out(CWarp(src.get(), s, d, 4, 5, nullptr, false).Run());
    EXPECT_FALSE(SamePixels(*out, *src));
    // Point sampling keeps the border columns and rows as they were.
    for (int y = 0; y < 60; ++y) EXPECT_EQ(At(*out, 0, y), At(*src, 0, y));
    for (int x = 0; x < 60; ++x) EXPECT_EQ(At(*out, x, 0), At(*src, x, 0));
    // Content to the right of the moved point comes from further left.
    EXPECT_LT(At(*out, 24, 30)[0], 24);
}

TEST(Warp, BadKnotsRaise1389AndLeaveTheTarget) {
    Dib src = MakeImage(30, 30);
    Dib target = MakeImage(30, 30);
    std::vector<CPoint> s = CWarpMesh::RegularGrid(30, 30, 2, 3), d = s;
    d[4 * 1 + 1].x = d[4 * 1 + 2].x + 1; // two columns cross
    try {
        CWarp(src.get(), s, d, 4, 5, target.get(), false).Run();
        FAIL();
    } catch (const CAppException& e) {
        EXPECT_EQ(e.m_nMessageId, 1389u);
    }
    EXPECT_TRUE(SamePixels(*target, *src));
    CDib grey(4, 4, 8, 256, nullptr);
    std::vector<CPoint> g = CWarpMesh::RegularGrid(4, 4, 1, 1);
    EXPECT_THROW(CWarp(&grey, g, g, 3, 3).Run(), CNotSupportedException);
}

TEST(ToneCurveApply, MaskedChannelsOnly) {
    Dib img = MakeImage(9, 4), orig = MakeImage(9, 4);
    uint8_t identity[256], invert[256];
    for (int i = 0; i < 256; ++i) identity[i] = uint8_t(i), invert[i] = uint8_t(255 - i);
    ApplyToneCurve(*img, identity, 7);
    EXPECT_TRUE(SamePixels(*img, *orig));
    ApplyToneCurve(*img, invert, 1); // red only
    Px a = At(*img, 3, 2), b = At(*orig, 3, 2);
    EXPECT_EQ(a, (Px{b[0], b[1], 255 - b[2]}));
    ApplyToneCurve(*img, invert, 6); // green and blue
    a = At(*img, 3, 2);
    EXPECT_EQ(a, (Px{255 - b[0], 255 - b[1], 255 - b[2]}));
}
