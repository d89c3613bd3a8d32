// The warp mesh model, the mesh file, Catmull-Rom interpolation and the line
// resampler.

#include "framework/CAppException.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CResample.h"
#include "imaging/CWarpMesh.h"
#include "imaging/CatmullRom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>

namespace fs = std::filesystem;

TEST(WarpMesh, RegularGridSpacingAndBorders) {
    std::vector<CPoint> g = CWarpMesh::RegularGrid(100, 50, 2, 3);
    ASSERT_EQ(g.size(), 4u * 5u);
    // Column spacing 100 / 3 = 33, row spacing 50 / 4 = 12; the last ones on the border.
    EXPECT_EQ(g[0], CPoint(0, 0));
    EXPECT_EQ(g[1], CPoint(33, 0));
    EXPECT_EQ(g[2], CPoint(66, 0));
    EXPECT_EQ(g[3], CPoint(99, 0));
    EXPECT_EQ(g[4 * 3 + 1], CPoint(33, 36));
    EXPECT_EQ(g[4 * 4 + 3], CPoint(99, 49));
    int c, r;
    CWarpMesh::GridDims(CWarpMesh::gridSmall, c, r);
    EXPECT_EQ(c * 10 + r, 79);
    CWarpMesh::GridDims(CWarpMesh::gridMedium, c, r);
    EXPECT_EQ(c * 10 + r, 56);
    CWarpMesh::GridDims(CWarpMesh::gridLarge, c, r);
    EXPECT_EQ(c * 10 + r, 23);
    EXPECT_EQ(CWarpMesh::GridSizeOf(4, 4), CWarpMesh::gridMedium);
}

TEST(WarpMesh, PickPrefersTheLastOfEquallyNearPoints) {
    CWarpMesh m(120, 140); // Medium: spacing 20 × 20
    EXPECT_EQ(m.Point(1, 1), CPoint(20, 20));
    EXPECT_FALSE(m.Press(CPoint(27, 20))); // 7 pixels: out of range
    EXPECT_EQ(m.GetSelected(), -1);
    EXPECT_TRUE(m.Press(CPoint(26, 21)));
    EXPECT_EQ(m.GetSelected(), 1 * 7 + 1);
    EXPECT_EQ(m.Point(1, 1), CPoint(26, 21)); // moved to the pointer
    m.Release();
    m.Reset();
    EXPECT_FALSE(m.Press(CPoint(30, 20))); // 10 pixels from both neighbours
    EXPECT_EQ(m.GetSelected(), -1);
    // Points 4 apart, the press halfway: the one scanned last wins.
    CWarpMesh n(24, 28);
    EXPECT_TRUE(n.Press(CPoint(6, 4)));
    EXPECT_EQ(n.GetSelected(), 1 * 7 + 2);
}

TEST(WarpMesh, DragKeepsSixPixelsFromNeighbours) {
    CWarpMesh m(120, 140);
    ASSERT_TRUE(m.Press(CPoint(40, 40))); // point (2, 2)
    EXPECT_TRUE(m.Drag(CPoint(10, 40)));  // left: 6 right of the column at x 20
    EXPECT_EQ(m.Point(2, 2), CPoint(26, 40));
    EXPECT_TRUE(m.Drag(CPoint(100, 5))); // right and up
    EXPECT_EQ(m.Point(2, 2), CPoint(54, 26));
    EXPECT_FALSE(m.Drag(CPoint(54, 26)));
    EXPECT_EQ(CWarpMesh::MarkerRect(CPoint(10, 10)), CRect(8, 8, 13, 13));
}

TEST(WarpMesh, ScalingToThePicture) {
    std::vector<CPoint> g = CWarpMesh::RegularGrid(60, 40, 2, 3);
    std::vector<CPoint> s = CWarpMesh::ScaleMesh(g, 4, 5, 60, 40, 90, 100);
    EXPECT_EQ(s[1], CPoint(30, 0));         // 20 × 1.5
    EXPECT_EQ(s[4 * 1 + 0], CPoint(0, 25)); // 10 × 2.5
    EXPECT_EQ(s[3], CPoint(89, 0));         // last column on the border
    EXPECT_EQ(s.back(), CPoint(89, 99));
    std::vector<CPoint> wild = g;
    wild[5] = CPoint(100000, -7);
    s = CWarpMesh::ScaleMesh(wild, 4, 5, 60, 40, 90, 100);
    EXPECT_EQ(s[5], CPoint(89, 0));
}

TEST(WarpMesh, FileRoundTripRecognisesTheGridSize) {
    fs::path dir = fs::temp_directory_path() / ("zozi-wms-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    CWarpMesh m(160, 120);
    m.SetGridSize(CWarpMesh::gridSmall);
    ASSERT_TRUE(m.Press(m.Point(3, 3)));
    m.Drag(CPoint(m.Point(3, 3).x + 3, m.Point(3, 3).y + 2));
    std::string path = (dir / "m.wms").string();
    C2DPointArray a = m.ToArray();
    ASSERT_TRUE(a.Store(path));
    EXPECT_EQ(fs::file_size(path), 35u + 8u * 9u * 11u);

    CWarpMesh other(160, 120);
    C2DPointArray b;
    ASSERT_TRUE(b.Load(path));
    ASSERT_TRUE(other.TakeLoaded(b));
    EXPECT_EQ(other.GetGridSize(), CWarpMesh::gridSmall);
    EXPECT_EQ(other.GetPoints(), m.GetPoints());
    // Made on a copy of another size: refused, nothing changes.
    CWarpMesh third(100, 120);
    EXPECT_FALSE(third.TakeLoaded(b));
    EXPECT_EQ(third.GetGridSize(), CWarpMesh::gridMedium);
    fs::remove_all(dir);
}

TEST(WarpMesh, BadMeshFiles) {
    C2DPointArray a(3, 3, CWarpMesh::RegularGrid(10, 10, 1, 1));
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        a.Serialize(ar);
        ar.Close();
    }
    auto cause = [](std::vector<uint8_t> bytes) {
        CMemFile g(bytes);
        CArchive ar(&g, CArchive::load);
        C2DPointArray m;
        try {
            m.Serialize(ar);
        } catch (const CArchiveException& e) {
            return e.m_cause;
        }
        return -1;
    };
    std::vector<uint8_t> good = f.Data();
    EXPECT_EQ(cause(good), -1);
    auto b = good;
    b[0] = 'X';
    EXPECT_EQ(cause(b), CArchiveException::badIndex);
    b = good;
    b[33] = 10; // count differs from 3 × 3
    EXPECT_EQ(cause(b), CArchiveException::badIndex);
    b = good;
    b[25] = 2; // width 2
    b[33] = 6;
    EXPECT_EQ(cause(b), CArchiveException::badIndex);
    b = good;
    b.resize(40);
    EXPECT_EQ(cause(b), CArchiveException::endOfFile);
}

TEST(CatmullRom, ReproducesLinesAndCurvesThroughKnots) {
    float x[] = {0, 33, 66, 99}, y[] = {0, 33, 66, 99};
    std::vector<float> out(100);
    CatmullRomSteps(x, y, 4, out.data(), 100);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(out[i], float(i));
    float y2[] = {5, 40, 10, 80};
    CatmullRomSteps(x, y2, 4, out.data(), 100);
    EXPECT_FLOAT_EQ(out[0], 5);
    EXPECT_FLOAT_EQ(out[33], 40);
    EXPECT_FLOAT_EQ(out[66], 10);
    EXPECT_FLOAT_EQ(out[99], 80);
    // Decreasing knots work the same way.
    float xd[] = {99, 50, 0}, yd[] = {1, 2, 3};
    CatmullRomSteps(xd, yd, 3, out.data(), 100);
    EXPECT_FLOAT_EQ(out[50], 2);
}

TEST(CatmullRom, KnotsOutOfRangeRaise1389) {
    auto message = [](const float* x, int n, int nOut) {
        float y[8] = {};
        std::vector<float> out(nOut);
        try {
            CatmullRomSteps(x, y, n, out.data(), nOut);
        } catch (const CAppException& e) {
            return e.m_nMessageId;
        }
        return 0u;
    };
    float short_[] = {0, 50};
    EXPECT_EQ(message(short_, 2, 52), 1389u);
    float late[] = {1, 50, 100};
    EXPECT_EQ(message(late, 3, 50), 1389u);
    float back[] = {0, 60, 40, 100};
    EXPECT_EQ(message(back, 4, 100), 1389u);
    float flat[] = {0, 0, 100};
    EXPECT_EQ(message(flat, 3, 100), 1389u);
    EXPECT_EQ(message(short_, 1, 1), 1389u);
}

namespace {
std::vector<uint8_t> Line(int n) {
    std::vector<uint8_t> v(3 * n);
    for (int i = 0; i < 3 * n; ++i) v[i] = uint8_t(i * 7 + 3);
    return v;
}
} // namespace

TEST(Resample, IdentityMappingCopiesTheLine) {
    const int n = 9;
    std::vector<float> map(n + 1);
    std::iota(map.begin(), map.end(), 0.0f);
    std::vector<uint8_t> in = Line(n);
    for (bool bInterp : {false, true}) {
        std::vector<uint8_t> out(3 * n, 0xEE);
        CResample().Resample(bInterp, map.data(), in.data(), out.data(), n, 3);
        EXPECT_EQ(out, in) << bInterp;
    }
    std::vector<float> pos(n + 1);
    CResample::InverseTable(map.data(), n, pos.data());
    EXPECT_EQ(pos[4], 4.0f);
    EXPECT_EQ(pos[n], 0.0f);
}

TEST(Resample, StretchAndStride) {
    // Input pixels 0..3 cover output 0..7: every input pixel twice.
    const int n = 8;
    float map[n + 1] = {0, 2, 4, 6, 8, 8, 8, 8, 8};
    std::vector<uint8_t> in(6 * n, 0); // stride 6: every other pixel
    for (int i = 0; i < n; ++i) in[6 * i] = uint8_t(10 * i);
    std::vector<uint8_t> out(6 * n, 0);
    CResample().Resample(false, map, in.data(), out.data(), n, 6);
    for (int u = 0; u < n; ++u) EXPECT_EQ(out[6 * u], 10 * (u / 2)) << u;
    // Fant's method blends towards the next pixel; the last output is the last input pixel.
    CResample().Resample(true, map, in.data(), out.data(), n, 6);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[6 * (n - 1)], 70);
    for (int u = 1; u < n - 1; ++u) EXPECT_LE(out[6 * (u - 1)], out[6 * u]);
}

TEST(Resample, WildMappingsStayInsideTheLine) {
    const int n = 6;
    std::vector<uint8_t> in = Line(n), out(3 * n);
    float backwards[n + 1] = {5, 4, 3, 2, 1, 0, -1};
    float huge[n + 1] = {0, 1e30f, 1e30f, 1e30f, 1e30f, 1e30f, 1e30f};
    float nan[n + 1] = {0, NAN, 2, NAN, 4, 5, 6};
    for (float* m : {backwards, huge, nan})
        for (bool b : {false, true}) CResample().Resample(b, m, in.data(), out.data(), n, 3);
    SUCCEED();
}
