// The tone curve: its table, the editing rules, the curve file and the
// curves that ship with the program.

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "imaging/CTonalAdjustCurve.h"
#include "imaging/CToneCurve.h"
#include "imaging/EffectsDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> StoreBytes(CTonalAdjustCurve& c) {
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    c.Serialize(ar);
    ar.Close();
    return f.Data();
}

void LoadBytes(CTonalAdjustCurve& c, const std::vector<uint8_t>& bytes) {
    CMemFile f(bytes);
    CArchive ar(&f, CArchive::load);
    c.Serialize(ar);
}

int ArchiveCause(const std::vector<uint8_t>& bytes) {
    CTonalAdjustCurve c;
    try {
        LoadBytes(c, bytes);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

} // namespace

TEST(ToneCurve, IdentityEndPointsGiveIdentityTable) {
    for (int nSamples : {16, 64}) {
        for (int nMode : {0, 1, 2}) {
            CToneCurve c;
            c.SetCurve({{0, 0}, {255, 255}}, nSamples, nMode);
            for (int i = 0; i < 256; ++i) ASSERT_EQ(c.GetLut()[i], i) << nSamples << " " << nMode;
            EXPECT_EQ(c.GetPolyline().size(), size_t(nSamples + 1));
        }
    }
}

TEST(ToneCurve, TwoPointsMakeAStraightLine) {
    CToneCurve c;
    c.SetCurve({{0, 255}, {255, 0}}, 16, 0);
    for (int i = 0; i < 256; ++i) EXPECT_NEAR(c.GetLut()[i], 255 - i, 1);
    // Left of the first point and right of the last the table is flat.
    c.SetCurve({{40, 10}, {200, 250}}, 64, 0);
    for (int i = 0; i <= 40; ++i) EXPECT_EQ(c.GetLut()[i], 10);
    for (int i = 200; i < 256; ++i) EXPECT_EQ(c.GetLut()[i], 250);
}

TEST(ToneCurve, OvershootStaysInsideTheTable) {
    CToneCurve c;
    c.SetCurve({{0, 0}, {10, 255}, {20, 0}, {30, 255}, {255, 255}}, 64, 1);
    // Values clamp to 0..255; nothing outside the 256 entries is written (checked by sanitizers).
    EXPECT_EQ(c.GetLut()[255], 255);
}

TEST(ToneCurve, LineWalkSkipsTheEndPoint) {
    std::vector<CPoint> seen;
    auto visit = [&](int x, int y) { seen.emplace_back(x, y); };
    CToneCurve::LineWalk(0, 0, 4, 2, visit);
    EXPECT_EQ(seen, (std::vector<CPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    seen.clear();
    CToneCurve::LineWalk(5, 5, 5, 5, visit);
    EXPECT_TRUE(seen.empty());
    CToneCurve::LineWalk(0, 0, 1, 3, visit); // steep: x stays until the error says step
    EXPECT_EQ(seen, (std::vector<CPoint>{{0, 0}, {0, 1}, {1, 2}}));
}

TEST(ToneCurve, PressPicksInsertsAndDeletes) {
    CToneCurve c;
    // Nothing within 8 units: a new point after the last one with a smaller x.
    EXPECT_TRUE(c.Press(100, 150, false) & CToneCurve::evCapture);
    EXPECT_EQ(c.GetSelected(), 1);
    EXPECT_EQ(c.Release(100, 150),
              unsigned(CToneCurve::evRepaint | CToneCurve::evChanged | CToneCurve::evReleaseCapt));
    ASSERT_EQ(c.GetPoints(), (std::vector<CPoint>{{0, 0}, {100, 150}, {255, 255}}));
    EXPECT_GT(c.GetLut()[100], 140);
    // Within 8 units: picks the point and moves it to the press.
    c.Press(108, 140, false);
    EXPECT_EQ(c.GetSelected(), 1);
    EXPECT_EQ(c.GetPoints()[1], CPoint(108, 140));
    c.Release(108, 140);
    // Ctrl deletes an inner point; the release after it only repaints.
    c.Press(105, 0, true);
    EXPECT_EQ(c.GetPoints().size(), 2u);
    EXPECT_EQ(c.Release(105, 0), unsigned(CToneCurve::evRepaint | CToneCurve::evReleaseCapt));
    // Ctrl on an end point selects it instead.
    c.Press(3, 20, true);
    EXPECT_EQ(c.GetPoints().size(), 2u);
    EXPECT_EQ(c.GetSelected(), 0);
    EXPECT_EQ(c.GetPoints()[0], CPoint(3, 20));
}

TEST(ToneCurve, DragKeepsTwelveUnitsAndClamps) {
    CToneCurve c;
    c.SetCurve({{0, 0}, {100, 100}, {200, 200}, {255, 255}}, 64, 0);
    c.Press(100, 100, false);
    c.Drag(150, 100);
    c.Drag(199, 100);
    EXPECT_EQ(c.GetPoints()[1].x, 188); // 12 units left of its right neighbour
    c.Drag(5, 300);
    EXPECT_EQ(c.GetPoints()[1], CPoint(12, 255)); // 12 right of the left one, y clamped
    c.Release(5, 300);
    c.Press(255, 255, false);
    c.Drag(300, -5);
    EXPECT_EQ(c.GetPoints()[3], CPoint(255, 0)); // the last point clamps to the square
    c.Drag(190, 0);
    EXPECT_EQ(c.GetPoints()[3].x, 212);
}

TEST(ToneCurve, SetCurveRefusesBrokenCurves) {
    CToneCurve c;
    EXPECT_THROW(c.SetCurve({{0, 0}}, 64, 0), CNotSupportedException);
    EXPECT_THROW(c.SetCurve({{0, 0}, {0, 9}}, 64, 0), CNotSupportedException);
    EXPECT_THROW(c.SetCurve({{0, 0}, {256, 9}}, 64, 0), CNotSupportedException);
    EXPECT_THROW(c.SetCurve({{0, 0}, {255, 255}}, 0, 0), CNotSupportedException);
    EXPECT_THROW(c.SetCurve({{0, 0}, {255, 255}}, 64, 3), CNotSupportedException);
}

TEST(TonalAdjustCurve, ByteLayout) {
    CTonalAdjustCurve c;
    c.m_strName = "Ab";
    c.m_nParamMode = 1;
    c.m_nSamples = 16;
    c.m_points = {{0, 1}, {255, 254}};
    std::vector<uint8_t> b = StoreBytes(c);
    ASSERT_EQ(b.size(), 23u + 3 + 12 + 16);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 23), std::string("Bervantolikus-09-07-94") + '\0');
    EXPECT_EQ(b[23], 2);
    EXPECT_EQ(b[26], 1);  // mode
    EXPECT_EQ(b[30], 16); // samples
    EXPECT_EQ(b[34], 2);  // point count
    EXPECT_EQ(b[42], 1);  // y of the first point
    EXPECT_EQ(b[46], 255);
}

TEST(TonalAdjustCurve, BadFilesAreArchiveExceptions) {
    CTonalAdjustCurve c;
    c.m_strName = "x";
    c.m_points = {{0, 0}, {255, 255}};
    std::vector<uint8_t> good = StoreBytes(c);
    std::vector<uint8_t> b = good;
    b[3] ^= 1;
    EXPECT_EQ(ArchiveCause(b), CArchiveException::badIndex);
    b = good;
    b.resize(b.size() - 1);
    EXPECT_EQ(ArchiveCause(b), CArchiveException::endOfFile);
    b = good;
    b[36] = 0x7F; // a huge point count is refused before anything is allocated
    EXPECT_EQ(ArchiveCause(b), CArchiveException::badIndex);
    b = good;
    b[33] = 1; // one point
    EXPECT_EQ(ArchiveCause(b), CArchiveException::badIndex);
    b = good;
    b[45] = 0; // last point at x 0: not increasing
    EXPECT_EQ(ArchiveCause(b), CArchiveException::badIndex);
    EXPECT_EQ(ArchiveCause({}), CArchiveException::endOfFile);
}

TEST(TonalAdjustCurve, SaveAndReloadRestoresTheCurve) {
    fs::path dir = fs::temp_directory_path() / ("zozi-tac-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    CToneCurve win;
    win.SetCurve({{0, 10}, {90, 60}, {255, 240}}, 16, 2);
    std::string path = (dir / "My Curve.tac").string();
    CTonalAdjustCurve saved = CTonalAdjustCurve::ForSave(path, win.GetPoints(), win.IsSmooth());
    ASSERT_TRUE(saved.Store(path));
    CTonalAdjustCurve loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.m_strName, "My Curve");
    EXPECT_EQ(loaded.m_nParamMode, 0);
    EXPECT_EQ(loaded.m_nSamples, 16);
    EXPECT_EQ(loaded.m_points, win.GetPoints());
    EXPECT_FALSE(loaded.Load((dir / "missing.tac").string()));
    EXPECT_FALSE(saved.Store((dir / "no-such-dir" / "x.tac").string()));
    fs::remove_all(dir);
}

TEST(TonalAdjustCurve, PredefinedCurvesLoadAndLookLikeTheirNames) {
    std::map<std::string, CToneCurve> curves;
    for (const auto& e : fs::directory_iterator(fs::path(ZOZI_SOURCE_DIR) / "resources" / "curves")) {
        CTonalAdjustCurve c;
        ASSERT_TRUE(c.Load(e.path().string()));
        EXPECT_EQ(c.m_strName, e.path().stem().string());
        curves[c.m_strName].SetCurve(c.m_points, c.m_nSamples, c.m_nParamMode);
    }
    ASSERT_EQ(curves.size(), 9u);
    auto lut = [&](const char* name, int i) { return int(curves.at(name).GetLut()[i]); };
    for (int i = 0; i < 256; ++i) ASSERT_EQ(lut("Original Curve", i), i);
    for (int i : {64, 128, 192}) {
        EXPECT_LT(lut("Darken", i), i);
        EXPECT_GT(lut("Lighten", i), i);
        EXPECT_LT(lut("Darken Midtone Area", i), i);
        EXPECT_GT(lut("Lighten Midtone Area", i), i);
        EXPECT_GT(lut("Shadow Area", i), i);
    }
    EXPECT_LT(lut("Enhance Midtone Area", 64), 64);
    EXPECT_GT(lut("Enhance Midtone Area", 192), 192);
    EXPECT_GT(lut("Shadow & Highlight Area", 64), 64);
    EXPECT_LT(lut("Shadow & Highlight Area", 192), 192);
    EXPECT_GT(lut("Enhance Highlight Area", 230) - lut("Enhance Highlight Area", 200),
              lut("Enhance Highlight Area", 60) - lut("Enhance Highlight Area", 30));
}

TEST(TonalAdjustCurve, PredefinedCurvesAreInTheDefaultEffectsDirectory) {
    EXPECT_EQ(GetEffectsDirectory("/some/where"), "/some/where");
    fs::path dir = GetEffectsDirectory("");
    EXPECT_EQ(dir.filename(), "effects");
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir)) n += e.path().extension() == ".tac";
    EXPECT_EQ(n, 9);
}
