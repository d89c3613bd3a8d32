// The thumbnail list's cell layout and the album window's rules.

#include "album/AlbumViewRules.h"
#include "album/CTnLayout.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

// Runs the drop on a list 0 ... n-1 and returns the new order.
std::vector<int> Drop(int n, std::vector<int> sel, int nDrop) {
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    for (auto [from, to] : DropMoves(std::move(sel), nDrop)) ApplyMove(order, from, to);
    return order;
}

} // namespace

TEST(TnLayout, TitleFontFromScale) {
    EXPECT_EQ(CTnLayout::TitleFontPoints(64), 6);
    EXPECT_EQ(CTnLayout::TitleFontPoints(80), 8);
    EXPECT_EQ(CTnLayout::TitleFontPoints(102), 10);
    EXPECT_EQ(CTnLayout::TitleFontPoints(136), 12); // 13 limited
    EXPECT_EQ(CTnLayout::TitleFontPoints(20), 6);
    EXPECT_EQ(CTnLayout::TitleFontHeight(8, 96), -11);  // 10.67 rounds to 11
    EXPECT_EQ(CTnLayout::TitleFontHeight(10, 96), -13); // 13.33
    EXPECT_EQ(CTnLayout::TitleFontHeight(12, 96), -16);
}

TEST(TnLayout, AllScales) {
    // b = 2, L = 13 for every scale: the cell follows the thumbnail size.
    struct Expect {
        int scale, w, h, C;
    };
    for (Expect e :
         {Expect{0, 64, 43, 82}, Expect{1, 80, 53, 98}, Expect{2, 102, 68, 120}, Expect{3, 136, 91, 154}}) {
        SCOPED_TRACE(e.scale);
        CTnLayout l(e.scale, 1, 13);
        EXPECT_EQ(l.m_b, 2);
        EXPECT_EQ(l.m_nT, 17);
        EXPECT_EQ(l.m_nS, e.w + 4);
        EXPECT_EQ(l.m_nC, e.C);
        EXPECT_EQ(l.m_item, CSize(e.C + 10, e.C + 17 + 14));
        EXPECT_EQ(l.m_rcFrame, CRect(5, 5, e.C + 5, e.C + 5));
        EXPECT_EQ(l.m_rcLandscape,
                  CRect(12, (e.C - e.h) / 2 + 5, 12 + e.w + 4, (e.C - e.h) / 2 + 5 + e.h + 4));
        EXPECT_EQ(l.m_rcPortrait,
                  CRect((e.C - e.h) / 2 + 5, 12, (e.C - e.h) / 2 + 5 + e.h + 4, 12 + e.w + 4));
        EXPECT_EQ(l.m_rcTitle, CRect(5, e.C + 9, 5 + e.C, e.C + 9 + 17));
        // Both thumbnail rectangles lie inside the picture frame.
        for (const CRect& r : {l.m_rcLandscape, l.m_rcPortrait}) {
            EXPECT_GE(r.left, l.m_rcFrame.left);
            EXPECT_LE(r.right, l.m_rcFrame.right);
            EXPECT_LE(r.bottom, l.m_rcFrame.bottom);
        }
        EXPECT_EQ(&l.ThumbRect(30, 40), &l.m_rcPortrait);
        EXPECT_EQ(&l.ThumbRect(40, 40), &l.m_rcLandscape);
    }
}

TEST(DropRule, ExamplesAndEdges) {
    // The first photo dropped after the third ends third.
    EXPECT_EQ(Drop(5, {0}, 3), (std::vector<int>{1, 2, 0, 3, 4}));
    // Photos 8 and 9 dropped at position 2: indexes 2 and 3 in the order 9, 8.
    EXPECT_EQ(Drop(10, {7, 8}, 2), (std::vector<int>{0, 1, 8, 7, 2, 3, 4, 5, 6, 9}));
    // Onto its own place (before or after itself): nothing changes.
    EXPECT_EQ(Drop(4, {2}, 2), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Drop(4, {2}, 3), (std::vector<int>{0, 1, 2, 3}));
    // Dragged forward: order kept; any order and duplicates in the selection.
    EXPECT_EQ(Drop(6, {1, 0, 1}, 5), (std::vector<int>{2, 3, 4, 0, 1, 5}));
    EXPECT_EQ(Drop(4, {0, 1}, 4), (std::vector<int>{2, 3, 0, 1}));
    // A selection on both sides of the drop position.
    EXPECT_EQ(Drop(6, {0, 5}, 3), (std::vector<int>{1, 2, 0, 5, 3, 4}));
    EXPECT_TRUE(DropMoves({}, 0).empty());
}

TEST(DeleteRule, Reselection) {
    EXPECT_EQ(SelectionAfterDelete(0, 0, 0), -1); // the only photo
    EXPECT_EQ(SelectionAfterDelete(0, 0, 5), 0);  // the first: the top item
    EXPECT_EQ(SelectionAfterDelete(4, 0, 6), 3);  // the one before
    EXPECT_EQ(SelectionAfterDelete(4, 5, 9), 5);  // raised to the first visible
    EXPECT_EQ(SelectionAfterDelete(9, 0, 7), 6);  // lowered to the last
}

TEST(AlbumTexts, TitleAndNames) {
    EXPECT_EQ(AlbumFrameTitle("holiday.alb", 0), "holiday.alb - Tiny");
    EXPECT_EQ(AlbumFrameTitle("a", 3), "a - Large");
    EXPECT_EQ(ScaleName(5), "User  Defined");
    EXPECT_EQ(ScaleName(13), "Undefined");
    EXPECT_EQ(ScaleName(-1), "Undefined");

    EXPECT_EQ(ProposeSaveName("Untitled", ".alb"), "Untitled.alb");
    EXPECT_EQ(ProposeSaveName("Album12345", ".alb"), "Album123.alb");
    EXPECT_EQ(ProposeSaveName("Trip#2", ".alb"), "Trip.alb");
    EXPECT_EQ(ProposeSaveName("holiday.ALB", ".alb"), "holiday.alb");
    EXPECT_EQ(ProposeSaveName("ab;cd/ef", ".alb"), "ab.alb");

    EXPECT_TRUE(IsAcceptableFileName("/tmp/x/holiday.alb"));
    EXPECT_TRUE(IsAcceptableFileName("my photos.alb"));
    for (const char* bad :
         {"", "/tmp/", "a*.alb", "what?.alb", "a|b.alb", "a<b", "end.", "end ", "..", "a\tb"})
        EXPECT_FALSE(IsAcceptableFileName(bad)) << bad;
}

TEST(AlbumTexts, InformationDateAndTime) {
    std::tm t{};
    t.tm_year = 95;
    t.tm_mon = 0;
    t.tm_mday = 31;
    EXPECT_EQ(InfoDateText(t), "1/31/95");
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 6;
    EXPECT_EQ(InfoDateText(t), "12/6/2026");
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_hour = 0;
    EXPECT_EQ(InfoTimeText(t), "12:05:09 AM");
    t.tm_hour = 9;
    EXPECT_EQ(InfoTimeText(t), "09:05:09 AM");
    t.tm_hour = 12;
    EXPECT_EQ(InfoTimeText(t), "12:05:09 PM");
    t.tm_hour = 23;
    EXPECT_EQ(InfoTimeText(t), "11:05:09 PM");
}
