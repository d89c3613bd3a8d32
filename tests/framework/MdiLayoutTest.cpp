// Tiling, the icon row and the Window menu's list.

#include "framework/MdiLayout.h"

#include <gtest/gtest.h>

namespace {

// The rectangles cover the area exactly once.
void ExpectPartition(const std::vector<CRect>& rects, const CRect& area) {
    long long nArea = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        CRect inside;
        EXPECT_TRUE(inside.IntersectRect(rects[i], area) && inside == rects[i]) << i;
        nArea += static_cast<long long>(rects[i].Width()) * rects[i].Height();
        for (size_t j = i + 1; j < rects.size(); ++j) {
            CRect both;
            EXPECT_FALSE(both.IntersectRect(rects[i], rects[j])) << i << " overlaps " << j;
        }
    }
    EXPECT_EQ(nArea, static_cast<long long>(area.Width()) * area.Height());
}

TEST(MdiLayout, TileHorizontallyStacksVerticallyPutsSideBySide) {
    const CRect area(0, 0, 800, 600);
    EXPECT_EQ(TileWindows(2, area, true), (std::vector<CRect>{{0, 0, 800, 300}, {0, 300, 800, 600}}));
    EXPECT_EQ(TileWindows(2, area, false), (std::vector<CRect>{{0, 0, 400, 600}, {400, 0, 800, 600}}));
    EXPECT_EQ(TileWindows(1, area, true), (std::vector<CRect>{area}));
    std::vector<CRect> three = TileWindows(3, area, true);
    for (const CRect& r : three) EXPECT_EQ(r.Width(), 800);
    for (int n = 1; n <= 12; ++n)
        for (bool bHorz : {true, false}) {
            std::vector<CRect> rects = TileWindows(n, CRect(10, 20, 1003, 707), bHorz);
            ASSERT_EQ(rects.size(), static_cast<size_t>(n));
            ExpectPartition(rects, CRect(10, 20, 1003, 707));
        }
    // Five windows: two columns of rows against two rows of columns.
    std::vector<CRect> h = TileWindows(5, area, true), v = TileWindows(5, area, false);
    EXPECT_NE(h, v);
    EXPECT_EQ(h[0], CRect(0, 0, 400, 300));
    EXPECT_EQ(v[0], CRect(0, 0, 400, 300));
    EXPECT_EQ(h[2], CRect(400, 0, 800, 200));
    EXPECT_EQ(v[2], CRect(0, 300, 266, 600));
    EXPECT_TRUE(TileWindows(0, area, true).empty());
    EXPECT_TRUE(TileWindows(3, CRect(), true).empty());
}

TEST(MdiLayout, IconsLineUpFromTheBottomLeft) {
    const CRect area(0, 0, 350, 400);
    std::vector<CPoint> p = ArrangeIcons(5, area, CSize(160, 30));
    EXPECT_EQ(p, (std::vector<CPoint>{{0, 370}, {160, 370}, {0, 340}, {160, 340}, {0, 310}}));
    EXPECT_EQ(IconRowsHeight(5, area, CSize(160, 30)), 90);
    EXPECT_EQ(IconRowsHeight(0, area, CSize(160, 30)), 0);
    // Narrower than one icon: one per row.
    EXPECT_EQ(ArrangeIcons(2, CRect(0, 0, 50, 100), CSize(160, 30)), (std::vector<CPoint>{{0, 70}, {0, 40}}));
    EXPECT_TRUE(ArrangeIcons(3, area, CSize(0, 30)).empty());
}

TEST(MdiLayout, WindowMenuListsNineThenMore) {
    EXPECT_TRUE(WindowMenuItems({}).empty());
    EXPECT_EQ(WindowMenuItems({"Sunset.qln", "Tom & Jerry.qln"}),
              (std::vector<std::string>{"&1 Sunset.qln", "&2 Tom && Jerry.qln"}));
    std::vector<std::string> titles;
    for (int i = 1; i <= 9; ++i) titles.push_back(std::string("w").append(std::to_string(i)));
    EXPECT_EQ(WindowMenuItems(titles).size(), 9u);
    EXPECT_EQ(WindowMenuItems(titles).back(), "&9 w9");
    titles.push_back("w10");
    std::vector<std::string> items = WindowMenuItems(titles);
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[8], "&9 w9");
    EXPECT_EQ(items[9], "&More Windows...");
}

} // namespace
