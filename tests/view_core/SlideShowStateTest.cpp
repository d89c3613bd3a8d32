#include "view/core/CShowLayout.h"
#include "view/core/CSlideShowState.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using S = CSlideShowState;

CShowProps Props(bool bAuto, bool bRepeat, bool bRandom = false) {
    CShowProps p;
    p.m_bAutoAdvance = bAuto;
    p.m_bRepeat = bRepeat;
    p.m_bRandomOrder = bRandom;
    return p;
}

// Ticks the timer until it moves to another photo; the number of ticks, or
// -1 when it never does within nMax ticks.
int TicksToNext(S& s, uint32_t dwDelay, int nMax = 1000) {
    for (int i = 1; i <= nMax; ++i)
        if (s.OnTimer(dwDelay) != -1) return i;
    return -1;
}

} // namespace

TEST(SlideShowState, NextIndex) {
    S s;
    EXPECT_EQ(s.GetNextIndex(), -1); // empty album
    s.SetCount(3);
    s.InitialUpdate(Props(false, false), -1, false);
    EXPECT_EQ(s.GetCurrentIndex(), 0);
    EXPECT_TRUE(s.m_bNewSlide);
    EXPECT_EQ(s.GetNextIndex(), 1);
    s.GoToPhoto(2);
    EXPECT_EQ(s.GetNextIndex(), -1);
    s.m_showProps.m_bRepeat = 1;
    EXPECT_EQ(s.GetNextIndex(), 0);
    // Random order may give the current photo again.
    std::vector<unsigned> draws{5, 7, 9};
    size_t k = 0;
    s.SetRandom([&] { return draws[k++]; });
    s.m_showProps.m_bRandomOrder = 1;
    EXPECT_EQ(s.GetNextIndex(), 2);
    EXPECT_EQ(s.GetNextIndex(), 1);
    EXPECT_EQ(s.GetNextIndex(), 0);
}

TEST(SlideShowState, TimerCountsFromTheEndOfTheTransition) {
    // One photo, repeat on: after each delay the same photo comes again.
    S one;
    one.SetCount(1);
    one.InitialUpdate(Props(true, true), 0, false);
    EXPECT_TRUE(one.m_bPlaying);
    one.OnSlideShown();
    EXPECT_EQ(TicksToNext(one, 1000), 10);
    EXPECT_EQ(one.GetCurrentIndex(), 0);
    EXPECT_TRUE(one.m_bNewSlide);
    // Ticks while the slide has not appeared yet still count; its end resets them.
    one.OnTimer(1000);
    one.OnSlideShown();
    EXPECT_EQ(one.m_nElapsed, 0);
    EXPECT_EQ(TicksToNext(one, 1000), 10);

    // Repeat off: play stops after the delay, and the photo stays.
    S once;
    once.SetCount(1);
    once.InitialUpdate(Props(true, false), 0, false);
    EXPECT_FALSE(once.m_bPlaying); // nothing comes next: play does not even start
    once.m_bPlaying = true;
    once.OnSlideShown();
    EXPECT_EQ(TicksToNext(once, 1000, 50), -1);
    EXPECT_FALSE(once.m_bPlaying);
    EXPECT_EQ(once.GetCurrentIndex(), 0);

    // Delay 0: the first tick after the transition moves on.
    S fast;
    fast.SetCount(3);
    fast.InitialUpdate(Props(true, false), 0, false);
    fast.OnSlideShown();
    EXPECT_EQ(fast.OnTimer(0), 1);
    fast.OnSlideShown();
    EXPECT_EQ(fast.OnTimer(0), 2);
    fast.OnSlideShown();
    EXPECT_EQ(fast.OnTimer(0), -1);
    EXPECT_FALSE(fast.m_bPlaying);

    // Delays not a multiple of 100 ms wait for the next tick.
    S odd;
    odd.SetCount(2);
    odd.InitialUpdate(Props(true, true), 0, false);
    odd.OnSlideShown();
    EXPECT_EQ(TicksToNext(odd, 250), 3);

    // Stopped shows do not move, but the time still counts.
    S stopped;
    stopped.SetCount(2);
    stopped.InitialUpdate(Props(false, true), 0, false);
    EXPECT_FALSE(stopped.m_bPlaying);
    EXPECT_EQ(TicksToNext(stopped, 100, 20), -1);
    EXPECT_EQ(stopped.m_nElapsed, 2000);
}

TEST(SlideShowState, RandomOrderTimer) {
    S s;
    s.SetCount(4);
    unsigned n = 0;
    s.SetRandom([&] { return n++ / 2; }); // 0, 0, 1, 1, ...: repeats a photo
    s.InitialUpdate(Props(true, false, true), 0, false);
    s.OnSlideShown();
    std::vector<int> shown;
    for (int i = 0; i < 4; ++i) {
        shown.push_back(TicksToNext(s, 100) == 1 ? s.GetCurrentIndex() : -2);
        s.OnSlideShown();
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1}));
    EXPECT_TRUE(s.m_bPlaying); // random order never runs out
}

TEST(SlideShowState, CommandsAndTheirRules) {
    S s;
    s.SetCount(0);
    s.InitialUpdate(Props(true, true), -1, false);
    EXPECT_EQ(s.GetCurrentIndex(), -1);
    EXPECT_FALSE(s.m_bPlaying);
    for (unsigned c : {S::kCmdPrevious, S::kCmdNext, S::kCmdFirst, S::kCmdLast, S::kCmdPlay, S::kCmdStop})
        EXPECT_FALSE(s.IsEnabled(c)) << c;

    s.SetCount(3);
    s.InitialUpdate(Props(false, false), 1, false);
    EXPECT_EQ(s.GetCurrentIndex(), 1);
    EXPECT_FALSE(s.m_bNewSlide); // a current photo is kept, not gone to
    EXPECT_EQ(s.OnCommand(S::kCmdPrevious), 0);
    EXPECT_EQ(s.OnCommand(S::kCmdNext), 2);
    EXPECT_EQ(s.OnCommand(S::kCmdFirst), 0);
    EXPECT_EQ(s.OnCommand(S::kCmdLast), 2);
    s.GoToPhoto(2);
    EXPECT_FALSE(s.IsEnabled(S::kCmdNext));
    EXPECT_FALSE(s.IsEnabled(S::kCmdLast));
    EXPECT_EQ(s.OnCommand(S::kCmdNext), -1);
    EXPECT_FALSE(s.IsEnabled(S::kCmdPlay)); // last photo, no repeat
    s.OnCommand(S::kCmdRepeat);
    EXPECT_TRUE(s.IsChecked(S::kCmdRepeat));
    EXPECT_TRUE(s.IsEnabled(S::kCmdPlay));
    s.OnCommand(S::kCmdPause);
    EXPECT_TRUE(s.m_bPlaying);
    EXPECT_TRUE(s.IsEnabled(S::kCmdStop));
    EXPECT_FALSE(s.IsEnabled(S::kCmdPlay));
    s.OnCommand(S::kCmdPause);
    EXPECT_FALSE(s.m_bPlaying);

    // Titles index follows titles.
    s.m_showProps.m_bTitles = 1;
    s.m_showProps.m_bTitlesIndex = 1;
    s.OnCommand(S::kCmdTitles);
    EXPECT_FALSE(s.IsEnabled(S::kCmdTitlesIndex));
    s.OnCommand(S::kCmdTitlesIndex);
    EXPECT_TRUE(s.IsChecked(S::kCmdTitlesIndex)); // disabled: unchanged
    for (unsigned c : {S::kCmdShuffle, S::kCmdFullScreen, S::kCmdCursor}) {
        bool bBefore = s.IsChecked(c);
        s.OnCommand(c);
        EXPECT_NE(s.IsChecked(c), bBefore) << c;
    }
    EXPECT_TRUE(s.IsChecked(S::kCmdPanel, true));
}

TEST(SlideShowState, TogglesLeaveTheAlbumAlone) {
    const CShowProps album = Props(true, true);
    S s;
    s.SetCount(2);
    s.InitialUpdate(album, 0, false);
    s.OnCommand(S::kCmdRepeat);
    s.OnCommand(S::kCmdTitles);
    EXPECT_EQ(album, Props(true, true));
    EXPECT_NE(s.m_showProps, album);
}

TEST(SlideShowState, ScreenSaverSettings) {
    CShowProps album = Props(false, false);
    album.m_bPanel = 1;
    album.m_bCursor = 1;
    album.m_bFullScreen = 0;
    album.m_bTitles = 1;
    S s;
    s.SetCount(2);
    s.InitialUpdate(album, -1, true, 0, 1, 0);
    EXPECT_EQ(s.m_showProps.m_bAutoAdvance, 1);
    EXPECT_EQ(s.m_showProps.m_bRepeat, 1);
    EXPECT_EQ(s.m_showProps.m_bFullScreen, 1);
    EXPECT_EQ(s.m_showProps.m_bPanel, 0);
    EXPECT_EQ(s.m_showProps.m_bCursor, 0);
    EXPECT_EQ(s.m_showProps.m_bTitlesIndex, 0);
    EXPECT_EQ(s.m_showProps.m_bRandomOrder, 1);
    EXPECT_EQ(s.m_showProps.m_bTitles, 0);
    EXPECT_TRUE(s.m_bPlaying);
    // Digits missing from the command line keep the album's values.
    S keep;
    keep.SetCount(2);
    keep.InitialUpdate(album, -1, true);
    EXPECT_EQ(keep.m_showProps.m_bTitles, 1);
    EXPECT_EQ(keep.m_showProps.m_bRandomOrder, 0);
}

TEST(ShowLayout, PhotoAndTitle) {
    const CRect client(0, 0, 800, 600);
    const int band = CShowLayout::GetBandHeight(3, 32);
    EXPECT_EQ(band, 40);
    // Smaller photo without titles: centred.
    CSlideLayout l = CShowLayout::GetLayout(client, 401, 301, false, band);
    EXPECT_EQ(l.m_rcImage, CRect(199, 149, 600, 450));
    EXPECT_TRUE(l.m_rcTitle.IsRectEmpty());
    // With titles: three equal gaps above the photo, between it and the band, below the band.
    l = CShowLayout::GetLayout(client, 400, 300, true, band);
    const int gap = (600 - 340) / 3;
    EXPECT_EQ(l.m_rcImage, CRect(200, gap, 600, gap + 300));
    EXPECT_EQ(l.m_rcTitle, CRect(0, 600 - gap - band, 800, 600 - gap));
    // Larger photo: centred and cut on every side; titles over the photo at the bottom.
    l = CShowLayout::GetLayout(client, 1001, 900, true, band);
    EXPECT_EQ(l.m_rcImage, CRect(-100, -150, 901, 750));
    EXPECT_EQ(l.m_rcTitle, CRect(0, 560, 800, 600));
    l = CShowLayout::GetLayout(client, 1000, 900, false, band);
    EXPECT_EQ(l.m_rcImage, CRect(-100, -150, 900, 750));
    // No photo.
    l = CShowLayout::GetLayout(client, 0, 0, true, band);
    EXPECT_EQ(l.m_rcImage.Width(), 0);
    EXPECT_EQ(l.m_rcTitle.bottom, 600 - (600 - band) / 3);
}

TEST(ShowLayout, Texts) {
    EXPECT_EQ(CShowLayout::GetTitleText("Beach", 0, true), "1: Beach");
    EXPECT_EQ(CShowLayout::GetTitleText("Beach", 11, false), "Beach");
    EXPECT_EQ(CShowLayout::GetFailureText(-1), "Unitialized show or empty album");
    EXPECT_EQ(CShowLayout::GetFailureText(4).rfind("Image 5:  \nPossible corrupted file", 0), 0u);
    EXPECT_EQ(CShowLayout::GetFailureRect(CRect(0, 0, 800, 600)), CRect(100, 100, 700, 500));
    EXPECT_EQ(CShowLayout::GetCaption("Holidays"), " Holidays - Slide Show ");
}
