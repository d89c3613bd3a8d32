#pragma once
// A slide show's state and rules without its window: the current photo, which
// photo comes next, automatic play on the 100 ms timer, the show's own copy of
// the album's settings, and the enable and check rules of its commands.

#include "album/CShowProps.h"

#include <cstdint>
#include <functional>

class CSlideShowState {
public:
    // The slide show's commands (menu and accelerators 1021, the panel's buttons).
    enum : unsigned {
        kCmdPrevious = 2099,
        kCmdNext = 2100,
        kCmdFirst = 2101,
        kCmdLast = 2102,
        kCmdPlay = 2103,
        kCmdStop = 2104,
        kCmdPause = 2105,
        kCmdTitles = 2106,
        kCmdPanel = 2107,
        kCmdRepeat = 2108,
        kCmdExit = 2110,
        kCmdCursor = 2111,
        kCmdKeyMap = 2112,
        kCmdShuffle = 2113,
        kCmdTitlesIndex = 2114,
        kCmdFullScreen = 2115,
        kCmdQuit = 2130,
    };
    static constexpr int kTimerPeriod = 100; // milliseconds

    // The source of the random order: non-negative numbers, as rand() gives.
    void SetRandom(std::function<unsigned()> random) { m_random = std::move(random); }

    void SetCount(int nCount) { m_nCount = nCount; }
    int GetCount() const { return m_nCount; }
    int GetCurrentIndex() const { return m_nCurrent; }
    // 0, or -1 for an empty album.
    int GetFirst() const { return m_nCount > 0 ? 0 : -1; }

    // The settings when the show starts: the album's, then in screen-saver
    // mode automatic, repeating, full screen, without panel and cursor, with
    // the command line's digits for titles index, random order and titles
    // (-1: not given, the album's value stays). Goes to the first photo when
    // none is current and starts playing when the settings ask for it.
    void InitialUpdate(const CShowProps& albumProps, int nCurrent, bool bScreenSaver, int nTitlesIndex = -1,
                       int nRandomOrder = -1, int nTitles = -1);

    // The photo after the current one, or -1 when the show ends there.
    int GetNextIndex();
    // Whether GetNextIndex would give a photo (without drawing a random number).
    bool HasNext() const;

    // Makes i current; its slide is revealed with its transition at the next paint.
    void GoToPhoto(int i);
    // The photo has appeared: the delay counts from now.
    void OnSlideShown();
    // A tick of the 100 ms timer; returns the photo to go to, or -1. Stops
    // playing when the show has run out of photos.
    int OnTimer(uint32_t dwCurrentDelay);

    void Play();
    void Stop() { m_bPlaying = false; }

    // Runs a command that changes only the state; returns the photo to go to
    // for the moves (-1: stay), else -1. Commands with windows (exit, panel,
    // key map, quit) are left to the view.
    int OnCommand(unsigned nCmd);
    bool IsEnabled(unsigned nCmd) const;
    // Check marks; the panel's is its visibility, which the view knows.
    bool IsChecked(unsigned nCmd, bool bPanelVisible = false) const;

    CShowProps m_showProps; // the show's own copy: toggles never touch the album
    bool m_bPlaying = false;
    bool m_bNewSlide = false;
    int m_nElapsed = 0; // milliseconds since the current photo finished appearing

private:
    unsigned Random() const;

    int m_nCount = 0;
    int m_nCurrent = -1;
    std::function<unsigned()> m_random;
};
