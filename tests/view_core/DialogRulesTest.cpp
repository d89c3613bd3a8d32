// The Scale dialog's linked fields, integer validation, crop margins and the
// histogram graph's bars.

#include "view/core/DialogRules.h"
#include "view/core/CScaleFields.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The fields as the window would show them, with every write echoed back as
// an edit notification (which the guard must ignore).
struct ScaleWindow {
    explicit ScaleWindow(int w, int h) : fields(w, h) {
        fields.m_write = [this](CScaleFields::EField f, int v) {
            writes.push_back(f);
            fields.OnEdited(f, v);
        };
    }
    std::vector<int> Values() const {
        return {fields.Value(CScaleFields::Width), fields.Value(CScaleFields::Height),
                fields.Value(CScaleFields::WidthPercent), fields.Value(CScaleFields::HeightPercent)};
    }
    CScaleFields fields;
    std::vector<CScaleFields::EField> writes;
};

TEST(ScaleFields, StartAtThePictureSizeAndHundredPercent) {
    ScaleWindow s(640, 480);
    EXPECT_EQ(s.Values(), (std::vector<int>{640, 480, 100, 100}));
    EXPECT_TRUE(s.fields.IsFixed());
}

TEST(ScaleFields, WidthEditedWithFixedUpdatesTheOthersOnce) {
    ScaleWindow s(640, 480);
    s.fields.OnEdited(CScaleFields::Width, 320);
    EXPECT_EQ(s.Values(), (std::vector<int>{320, 240, 50, 50}));
    EXPECT_EQ(s.writes.size(), 3u); // percent, height, height percent; the echoes did nothing
    s.fields.OnEdited(CScaleFields::Width, 333);
    // 480/640*333 = 249.75 -> 250; 100*250/480 = 52.08 -> 52; 100*333/640 = 52.03 -> 52
    EXPECT_EQ(s.Values(), (std::vector<int>{333, 250, 52, 52}));
}

TEST(ScaleFields, PercentEditedUsesTheWidthReadBack) {
    ScaleWindow s(101, 37);
    s.fields.OnEdited(CScaleFields::WidthPercent, 33);
    // 101*0.33 = 33.33 -> 33; 37/101*33 = 12.09 -> 12; 100*12/37 = 32.4 -> 32
    EXPECT_EQ(s.Values(), (std::vector<int>{33, 12, 33, 32}));
    s.fields.OnEdited(CScaleFields::HeightPercent, 200);
    EXPECT_EQ(s.Values(), (std::vector<int>{202, 74, 200, 200}));
}

TEST(ScaleFields, ArbitraryLinksOnlyTheSameDirection) {
    ScaleWindow s(640, 480);
    s.fields.SetFixed(false);
    s.fields.OnEdited(CScaleFields::Height, 120);
    EXPECT_EQ(s.Values(), (std::vector<int>{640, 120, 100, 25}));
    s.fields.OnEdited(CScaleFields::WidthPercent, 10);
    EXPECT_EQ(s.Values(), (std::vector<int>{64, 120, 10, 25}));
    // Switching back recomputes nothing until the next edit.
    s.fields.SetFixed(true);
    EXPECT_EQ(s.Values(), (std::vector<int>{64, 120, 10, 25}));
}

TEST(ScaleFields, RoundIsTruncateOfXPlusHalf) {
    EXPECT_EQ(CScaleFields::Round(2.5), 3);
    EXPECT_EQ(CScaleFields::Round(2.49), 2);
    EXPECT_EQ(CScaleFields::Round(-0.7), 0); // truncation toward zero
}

TEST(IntegerField, RangeAndMessage) {
    int v = 0;
    std::string err;
    EXPECT_TRUE(ValidateIntegerField(" 9999 ", 1, 9999, v, err));
    EXPECT_EQ(v, 9999);
    EXPECT_FALSE(ValidateIntegerField("10000", 1, 9999, v, err));
    EXPECT_EQ(err, "Please enter a number between 1 and 9999.");
    EXPECT_FALSE(ValidateIntegerField("0", 1, 9999, v, err));
    EXPECT_FALSE(ValidateIntegerField("", 1, 9999, v, err));
    EXPECT_FALSE(ValidateIntegerField("12a", 1, 9999, v, err));
    EXPECT_FALSE(ValidateIntegerField("99999999999999999999", 1, 9999, v, err));
    EXPECT_TRUE(ValidateIntegerField("-5", -10, 10, v, err));
    EXPECT_EQ(v, -5);
}

TEST(CropMargins, AtLeastOnePixelLeftEachWay) {
    EXPECT_TRUE(CropMarginsValid(10, 5, {0, 0, 0, 0}));
    EXPECT_TRUE(CropMarginsValid(10, 5, {4, 2, 5, 2}));
    EXPECT_FALSE(CropMarginsValid(10, 5, {5, 0, 5, 0}));
    EXPECT_FALSE(CropMarginsValid(10, 5, {0, 3, 0, 2}));
    EXPECT_FALSE(CropMarginsValid(10, 5, {-1, 0, 0, 0}));
    EXPECT_FALSE(CropMarginsValid(10, 5, {0, 0, 2147483647, 0}));
    EXPECT_EQ(CropMarginLimit(10, 3), 6);
    EXPECT_EQ(CropMarginLimit(1, 0), 0);
}

TEST(HistogramGraph, BarsScaleToTheLargestCount) {
    uint32_t counts[256] = {};
    counts[0] = 50;
    counts[128] = 100;
    counts[255] = 25;
    auto bars = HistogramBars(counts, 512, 200, false, 175);
    EXPECT_EQ(bars[0].m_nHeight, 100);
    EXPECT_EQ(bars[128].m_nHeight, 200);
    EXPECT_EQ(bars[255].m_nHeight, 50);
    EXPECT_EQ(bars[1].m_nHeight, 0);
    EXPECT_EQ(bars[128].m_nX, 256);
    EXPECT_EQ(bars[255].m_nX, 510);
    // Accumulated: against the pixel count.
    uint32_t cum[256];
    uint32_t sum = 0;
    for (int i = 0; i < 256; ++i) cum[i] = sum += counts[i];
    bars = HistogramBars(cum, 256, 175, true, 175);
    EXPECT_EQ(bars[0].m_nHeight, 50);
    EXPECT_EQ(bars[255].m_nHeight, 175);
    uint32_t none[256] = {};
    EXPECT_EQ(HistogramBars(none, 256, 100, false, 0)[7].m_nHeight, 0);
}

TEST(Statistics, HundredthsHaveTwoDigits) {
    EXPECT_EQ(FormatHundredths(0.0), "0.00");
    EXPECT_EQ(FormatHundredths(3.25), "3.25");
    EXPECT_EQ(FormatHundredths(127.5), "127.50");
}

} // namespace

#include "view/core/CPredefinedCurves.h"

#include <filesystem>
#include <fstream>

namespace {

class PredefinedCurves : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("zozi-curves-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    void Write(const std::string& file, const std::string& name) {
        CTonalAdjustCurve c;
        c.m_strName = name;
        c.m_points = {{0, 0}, {128, 100}, {255, 255}};
        ASSERT_TRUE(c.Store((m_dir / file).string()));
    }
    std::filesystem::path m_dir;
};

TEST_F(PredefinedCurves, MissingFolderOrNoCurves) {
    CPredefinedCurves list;
    EXPECT_EQ(list.Load((m_dir / "none").string()), CPredefinedCurves::NoDirectory);
    EXPECT_EQ(CPredefinedCurves::Message(CPredefinedCurves::NoDirectory),
              "Tonal Adjustment directory does not exist!");
    std::ofstream(m_dir / "readme.txt") << "x";
    EXPECT_EQ(list.Load(m_dir.string()), CPredefinedCurves::NoCurves);
    EXPECT_EQ(CPredefinedCurves::Message(CPredefinedCurves::NoCurves),
              "No predefined Tonal Adjustment curve found!");
    EXPECT_EQ(list.DefaultIndex(), -1);
}

TEST_F(PredefinedCurves, SortedByNameWithOriginalCurveChosen) {
    Write("a.tac", "Zebra");
    Write("b.TAC", "original curve (linear)");
    Write("c.tac", "apple");
    CPredefinedCurves list;
    ASSERT_EQ(list.Load(m_dir.string()), CPredefinedCurves::Loaded);
    ASSERT_EQ(list.Curves().size(), 3u);
    EXPECT_EQ(list.Curves()[0].m_strName, "apple");
    EXPECT_EQ(list.Curves()[2].m_strName, "Zebra");
    EXPECT_EQ(list.DefaultIndex(), 1);
}

TEST_F(PredefinedCurves, WithoutOriginalTheFirstAndABadFileEmptiesTheList) {
    Write("a.tac", "Lighten");
    Write("b.tac", "Darken");
    CPredefinedCurves list;
    ASSERT_EQ(list.Load(m_dir.string()), CPredefinedCurves::Loaded);
    EXPECT_EQ(list.DefaultIndex(), 0);
    EXPECT_EQ(list.Curves()[0].m_strName, "Darken");
    std::ofstream(m_dir / "c.tac", std::ios::binary) << "Not a curve file at all, no signature";
    EXPECT_EQ(list.Load(m_dir.string()), CPredefinedCurves::BadFile);
    EXPECT_TRUE(list.Curves().empty());
}

} // namespace
