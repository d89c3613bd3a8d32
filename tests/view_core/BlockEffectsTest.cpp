#include "framework/CImageDC.h"
#include "imaging/CDib.h"
#include "view/core/CBlockEffects.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kAllEffects[] = {
    CBlockEffects::kPuzzle,      CBlockEffects::kCrushVertically, CBlockEffects::kCrushHorizontally,
    CBlockEffects::kFadePalette, CBlockEffects::kSpiralIn,        CBlockEffects::kWipeDiagonal};

// Photo pixels have an even blue channel; the screen's old content is odd.
uint32_t PhotoPixel(int x, int y) {
    return (static_cast<uint32_t>(x * 5 % 256) << 16) | (static_cast<uint32_t>(y * 3 % 256) << 8) |
           static_cast<uint32_t>((x + 2 * y) % 128 * 2);
}
constexpr uint32_t kOld = 0x102031;

std::unique_ptr<CDib> MakePhoto(int w, int h) {
    auto p = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < w; ++x) {
            uint32_t v = PhotoPixel(x, y);
            row[3 * x] = v & 255;
            row[3 * x + 1] = (v >> 8) & 255;
            row[3 * x + 2] = (v >> 16) & 255;
        }
    }
    return p;
}

std::string Format(const std::vector<CRect>& rects) {
    std::string s;
    for (const CRect& r : rects) {
        if (!s.empty()) s += ' ';
        s.append(std::to_string(r.left)).append(",").append(std::to_string(r.top)).append(" ");
        s.append(std::to_string(r.Width())).append("x").append(std::to_string(r.Height()));
    }
    return s;
}

std::vector<std::string> Steps(const CEffectSchedule& s) {
    std::vector<std::string> out;
    for (const auto& step : s.m_steps) out.push_back(Format(step));
    return out;
}

// Pixels painted how often by the whole schedule; also checks every
// rectangle lies inside the picture and is not empty.
std::vector<int> Coverage(const CEffectSchedule& s, int w, int h) {
    std::vector<int> count(static_cast<size_t>(w) * h);
    auto add = [&](const CRect& r) {
        EXPECT_FALSE(r.IsRectEmpty());
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h)
            << r.left << "," << r.top << " " << r.right << "," << r.bottom << " in " << w << "x" << h;
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, h); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, w); ++x) ++count[y * w + x];
    };
    for (const auto& step : s.m_steps)
        for (const CRect& r : step) add(r);
    for (const CRect& r : s.m_final) add(r);
    return count;
}

class CFakeClock : public CBlockEffects::IClock {
public:
    uint32_t GetTime() override { return m_dwNow; }
    void Wait(uint32_t nMs) override {
        m_nLongestWait = std::max(m_nLongestWait, nMs);
        m_dwNow += nMs;
    }
    uint32_t m_dwNow = 0xFFFFFF00u; // wraps during the tests
    uint32_t m_nLongestWait = 0;
};

// A key press arrives at the given check (counted from 1).
class CScriptedKeys : public CBlockEffects::IKeyQueue {
public:
    explicit CScriptedKeys(int nPressAt) : m_nPressAt(nPressAt) {}
    bool IsKeyPending() override { return ++m_nChecks >= m_nPressAt; }
    int m_nPressAt;
    int m_nChecks = 0;
};

struct CPlayed {
    CEffectSchedule schedule;
    std::vector<uint32_t> stepTimes;
    bool bResult = false;
};

// Plays the effect onto a screen with a margin around the image rectangle and
// checks after every step (when bEveryStep) that exactly the recorded
// rectangles show the photo.
CPlayed Play(int nEffect, int w, int h, bool bEveryStep, CBlockEffects::IKeyQueue* pKeys = nullptr,
             bool bScreenSaver = false) {
    const int x0 = 5, y0 = 3;
    auto photo = MakePhoto(w, h);
    CImageDC screen(w + 11, h + 9);
    for (int y = 0; y < screen.GetHeight(); ++y)
        for (int x = 0; x < screen.GetWidth(); ++x) screen.SetPixel(x, y, kOld);
    CFakeClock clock;
    CPlayed played;
    CBlockEffects effects;
    effects.SetClock(&clock);
    effects.SetKeyQueue(pKeys);
    effects.SetScreenSaver(bScreenSaver);
    effects.SetRecorder(&played.schedule);
    std::vector<uint8_t> painted(static_cast<size_t>(w) * h);
    effects.SetStepHook([&] {
        played.stepTimes.push_back(clock.m_dwNow);
        if (!bEveryStep) return;
        for (const CRect& r : played.schedule.m_steps.back())
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) painted[y * w + x] = 1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t expected = painted[y * w + x] ? PhotoPixel(x, y) : kOld;
                if (screen.GetPixel(x0 + x, y0 + y) != expected) {
                    ADD_FAILURE() << "step " << played.schedule.m_steps.size() << " pixel " << x << "," << y;
                    return;
                }
            }
    });
    played.bResult = effects.PlayEffect(screen, nullptr, *photo, x0, y0, nEffect);
    // The photo inside the image rectangle, the old content outside.
    for (int y = 0; y < screen.GetHeight(); ++y)
        for (int x = 0; x < screen.GetWidth(); ++x) {
            bool bInside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
            uint32_t expected = bInside ? PhotoPixel(x - x0, y - y0) : kOld;
            if (screen.GetPixel(x, y) != expected) {
                ADD_FAILURE() << "effect " << nEffect << " " << w << "x" << h << " final pixel " << x << ","
                              << y;
                return played;
            }
        }
    EXPECT_LE(clock.m_nLongestWait, 25u);
    return played;
}

} // namespace

TEST(BlockEffects, TapsAreMaximalLength) {
    // From 1 the register runs through all 2^k - 1 values (checked here up
    // to 24 bits; the wider masks take minutes).
    for (int k = 1; k <= 24; ++k) {
        uint32_t v = 1;
        uint64_t n = 0;
        do {
            v = (v & 1) ? (v >> 1) ^ CBlockEffects::kTaps[k] : v >> 1;
            ++n;
        } while (v != 1 && n <= (1ull << k));
        EXPECT_EQ(n, (1ull << k) - 1) << k << " bits";
    }
    EXPECT_EQ(CBlockEffects::kTaps[23], 4325376u);
    EXPECT_EQ(CBlockEffects::kTaps[29], 335544320u);
    EXPECT_EQ(CBlockEffects::kTaps[30], 536870953u);
}

TEST(BlockEffects, SchedulesOfSmallPictures) {
    using S = std::vector<std::string>;
    for (int e : kAllEffects) {
        CEffectSchedule s = CBlockEffects::GetSchedule(e, 1, 1);
        EXPECT_TRUE(s.m_steps.empty()) << e;
        EXPECT_EQ(Format(s.m_final), "0,0 1x1") << e;
    }
    // 8 x 8: one block.
    EXPECT_EQ(Format(CBlockEffects::GetSchedule(CBlockEffects::kSpiralIn, 8, 8).m_final), "0,0 8x8");
    EXPECT_EQ(Steps(CBlockEffects::GetSchedule(CBlockEffects::kCrushVertically, 8, 8)), S{"0,0 8x8"});
    EXPECT_EQ(Steps(CBlockEffects::GetSchedule(CBlockEffects::kWipeDiagonal, 8, 8)), S{"0,0 8x8"});
    CEffectSchedule fade = CBlockEffects::GetSchedule(CBlockEffects::kFadePalette, 8, 8);
    EXPECT_EQ(Steps(fade), (S{"3,0 5x3", "3,3 5x5", "0,3 3x5"}));
    EXPECT_EQ(Format(fade.m_final), "0,0 3x3");
    // One-pixel puzzle pieces below 36 pixels: 63 steps and the first pixel.
    CEffectSchedule puzzle = CBlockEffects::GetSchedule(CBlockEffects::kPuzzle, 8, 8);
    EXPECT_EQ(puzzle.m_steps.size(), 63u);
    EXPECT_EQ(Format(puzzle.m_final), "0,0 1x1");

    // 7 x 5: narrower and lower than a block.
    EXPECT_EQ(Format(CBlockEffects::GetSchedule(CBlockEffects::kSpiralIn, 7, 5).m_final), "0,0 7x5");
    EXPECT_TRUE(CBlockEffects::GetSchedule(CBlockEffects::kCrushHorizontally, 7, 5).m_steps.empty());
    EXPECT_EQ(Format(CBlockEffects::GetSchedule(CBlockEffects::kWipeDiagonal, 7, 5).m_final), "0,0 7x5");

    // 33 x 17: two rings; the stretched blocks repaint parts of their own ring.
    CEffectSchedule spiral = CBlockEffects::GetSchedule(CBlockEffects::kSpiralIn, 33, 17);
    EXPECT_EQ(Steps(spiral), (S{"0,0 8x8 8,0 8x8 16,0 17x8 24,0 9x8 25,0 8x17 25,8 8x9 25,9 8x8 17,9 8x8 9,9 "
                                "17x8 1,9 9x8 0,9 8x8 0,1 8x9",
                                "8,8 17x8 16,8 9x8 17,1 16x8 9,1 9x8"}));
    EXPECT_TRUE(spiral.m_final.empty());
    // Crush: the top row stretches down to meet the bottom row.
    EXPECT_EQ(Steps(CBlockEffects::GetSchedule(CBlockEffects::kCrushVertically, 33, 17)),
              (S{"0,0 8x9 8,0 8x9 16,0 8x9 24,0 9x9 0,9 8x8 8,9 8x8 16,9 8x8 24,9 9x8"}));
    // Wipe: blocks of the row above the last reach the bottom edge.
    CEffectSchedule wipe = CBlockEffects::GetSchedule(CBlockEffects::kWipeDiagonal, 33, 17);
    EXPECT_EQ(Steps(wipe),
              (S{"0,0 8x17", "8,0 8x17 0,8 8x8", "16,0 8x17 8,8 8x8", "24,0 9x17 16,8 9x8", "24,8 9x8"}));
    EXPECT_TRUE(wipe.m_final.empty());
    // Wipe on a picture less than two blocks tall: the rest below the top row comes last.
    CEffectSchedule low = CBlockEffects::GetSchedule(CBlockEffects::kWipeDiagonal, 20, 12);
    EXPECT_EQ(Steps(low), (S{"0,0 8x8", "8,0 12x8"}));
    EXPECT_EQ(Format(low.m_final), "0,8 20x4");

    // 96 x 64 puzzle: a 3 x 2 grid in shift-register order, block 0 last.
    CEffectSchedule grid = CBlockEffects::GetSchedule(CBlockEffects::kPuzzle, 96, 64);
    EXPECT_EQ(Steps(grid), (S{"32,0 32x32", "0,32 32x32", "64,32 32x32", "32,32 32x32", "64,0 32x32"}));
    EXPECT_EQ(Format(grid.m_final), "0,0 32x32");
    // 36 x 36 puzzle: a single block.
    CEffectSchedule one = CBlockEffects::GetSchedule(CBlockEffects::kPuzzle, 36, 36);
    EXPECT_TRUE(one.m_steps.empty());
    EXPECT_EQ(Format(one.m_final), "0,0 36x36");
    // Fade Palette turns to pixels at 6 and below.
    EXPECT_EQ(CBlockEffects::GetSchedule(CBlockEffects::kFadePalette, 6, 100).m_steps.size(), 599u);
    EXPECT_EQ(CBlockEffects::GetSchedule(CBlockEffects::kFadePalette, 7, 100).m_steps.size(), 2u * 33 - 1);
    // 35 x 36 puzzle: pixels.
    EXPECT_EQ(CBlockEffects::GetSchedule(CBlockEffects::kPuzzle, 35, 36).m_steps.size(), 35u * 36 - 1);
}

TEST(BlockEffects, PlainAndUnknownIds) {
    for (int id : {int{CBlockEffects::kNone}, 0, 999, 1009, 65535}) {
        CEffectSchedule s = CBlockEffects::GetSchedule(id, 40, 30);
        EXPECT_TRUE(s.m_steps.empty());
        EXPECT_EQ(Format(s.m_final), "0,0 40x30");
        CPlayed p = Play(id, 40, 30, false);
        EXPECT_TRUE(p.bResult);
        EXPECT_TRUE(p.schedule.m_steps.empty());
    }
}

TEST(BlockEffects, EveryPictureEndsWhollyPainted) {
    for (int e : kAllEffects)
        for (int h = 1; h <= 45; ++h)
            for (int w = 1; w <= 45; ++w) {
                CEffectSchedule s = CBlockEffects::GetSchedule(e, w, h);
                std::vector<int> count = Coverage(s, w, h);
                for (size_t i = 0; i < count.size(); ++i)
                    if (count[i] == 0) {
                        ADD_FAILURE() << e << " " << w << "x" << h << " misses " << i % w << "," << i / w;
                        break;
                    }
            }
}

TEST(BlockEffects, StepsPaintExactlyTheirRectangles) {
    const std::pair<int, int> sizes[] = {{1, 1}, {7, 5}, {8, 8}, {33, 17}, {35, 36}, {96, 64}, {640, 480}};
    for (int e : kAllEffects)
        for (auto [w, h] : sizes) {
            const bool bEveryStep = !(w == 640 && e == CBlockEffects::kFadePalette);
            CPlayed p = Play(e, w, h, bEveryStep);
            EXPECT_TRUE(p.bResult);
            CEffectSchedule dry = CBlockEffects::GetSchedule(e, w, h);
            EXPECT_EQ(Steps(p.schedule), Steps(dry)) << e << " " << w << "x" << h;
            EXPECT_EQ(Format(p.schedule.m_final), Format(dry.m_final));
        }
}

TEST(BlockEffects, StepsKeepTheirDeadlines) {
    // Spiral In: 25 ms per ring from the start.
    CPlayed p = Play(CBlockEffects::kSpiralIn, 96, 64, false);
    ASSERT_EQ(p.stepTimes.size(), 6u);
    for (size_t i = 0; i < p.stepTimes.size(); ++i) EXPECT_EQ(p.stepTimes[i] - p.stepTimes[0], 25 * i);

    // A slow step is not followed by a wait, and the rhythm from the start holds.
    auto photo = MakePhoto(96, 64);
    CImageDC screen(96, 64);
    CFakeClock clock;
    CBlockEffects effects;
    effects.SetClock(&clock);
    std::vector<uint32_t> times;
    effects.SetStepHook([&] {
        times.push_back(clock.m_dwNow);
        if (times.size() == 2) clock.m_dwNow += 3 * 13 + 5; // step 2 takes 44 ms
    });
    const uint32_t t0 = clock.m_dwNow;
    ASSERT_TRUE(effects.PlayEffect(screen, nullptr, *photo, 0, 0, CBlockEffects::kWipeDiagonal));
    ASSERT_GE(times.size(), 8u);
    std::vector<uint32_t> offsets;
    for (uint32_t t : times) offsets.push_back(t - t0);
    EXPECT_EQ(std::vector<uint32_t>(offsets.begin(), offsets.begin() + 8),
              (std::vector<uint32_t>{0, 13, 57, 57, 57, 65, 78, 91}));
    EXPECT_EQ(clock.m_dwNow - t0, 13u * times.size());

    // Fade Palette never waits.
    CFakeClock still;
    CBlockEffects fade;
    fade.SetClock(&still);
    const uint32_t s0 = still.m_dwNow;
    ASSERT_TRUE(fade.PlayEffect(screen, nullptr, *photo, 0, 0, CBlockEffects::kFadePalette));
    EXPECT_EQ(still.m_dwNow, s0);
}

TEST(BlockEffects, KeyPressStopsAndDrawsThePhoto) {
    for (int e : kAllEffects) {
        CScriptedKeys keys(3); // pending from the third check
        CPlayed p = Play(e, 96, 64, false, &keys);
        EXPECT_TRUE(p.bResult);
        EXPECT_TRUE(p.schedule.m_bInterrupted) << e;
        EXPECT_EQ(p.schedule.m_steps.size(), e == CBlockEffects::kPuzzle ? 1u : 2u) << e;
        EXPECT_EQ(Format(p.schedule.m_final), "0,0 96x64");
    }
    // A key already waiting: nothing but the plain drawing.
    CScriptedKeys at_once(1);
    CPlayed p = Play(CBlockEffects::kSpiralIn, 50, 40, false, &at_once);
    EXPECT_TRUE(p.schedule.m_steps.empty());
    EXPECT_EQ(Format(p.schedule.m_final), "0,0 50x40");
}

TEST(BlockEffects, ScreenSaverIgnoresKeys) {
    for (int e : kAllEffects) {
        CScriptedKeys keys(1);
        CPlayed p = Play(e, 96, 64, false, &keys, true);
        EXPECT_EQ(keys.m_nChecks, 0);
        EXPECT_FALSE(p.schedule.m_bInterrupted);
        EXPECT_EQ(Steps(p.schedule), Steps(CBlockEffects::GetSchedule(e, 96, 64)));
    }
}

TEST(BlockEffects, RandomPicksAnewEachTime) {
    unsigned r = 0;
    CBlockEffects effects;
    effects.SetRandom([&] { return r++; });
    auto photo = MakePhoto(20, 20);
    CImageDC screen(20, 20);
    CFakeClock clock;
    effects.SetClock(&clock);
    std::vector<int> picked;
    for (int i = 0; i < 7; ++i) {
        effects.PlayEffect(screen, nullptr, *photo, 0, 0, CBlockEffects::kRandom);
        picked.push_back(effects.GetLastEffect());
    }
    EXPECT_EQ(picked, (std::vector<int>{1003, 1004, 1005, 1006, 1007, 1008, 1003}));
    CEffectSchedule s = CBlockEffects::GetSchedule(CBlockEffects::kRandom, 33, 17, [] { return 4u; });
    EXPECT_EQ(Steps(s), Steps(CBlockEffects::GetSchedule(CBlockEffects::kSpiralIn, 33, 17)));
}

TEST(BlockEffects, DissolveVisitsEveryBlockOnce) {
    for (int e : {int{CBlockEffects::kPuzzle}, int{CBlockEffects::kFadePalette}}) {
        const int b = e == CBlockEffects::kPuzzle ? 32 : 3;
        for (int n = 1; n <= 400; ++n)
            for (int rows = 1; rows <= n; ++rows) {
                if (n % rows) continue;
                const int cols = n / rows;
                // Sizes above the one-pixel threshold, with remainders.
                if (b == 3 && (cols < 3 || rows < 3)) continue;
                const int w = cols * b + (b == 32 ? 4 + n % 28 : n % 3);
                const int h = rows * b + (b == 32 ? 4 + rows % 28 : rows % 3);
                const int bw = (w - cols * b) + b, bh = (h - rows * b) + b;
                ASSERT_EQ(w / b, cols);
                CEffectSchedule s = CBlockEffects::GetSchedule(e, w, h);
                ASSERT_EQ(s.m_steps.size(), static_cast<size_t>(n - 1)) << n << " " << rows;
                ASSERT_EQ(s.m_final.size(), 1u);
                std::vector<int> seen(n);
                int64_t area = 0;
                auto visit = [&](const CRect& r) {
                    const int c = r.left / b, q = r.top / b;
                    ASSERT_EQ(r.left, c * b);
                    ASSERT_EQ(r.top, q * b);
                    ASSERT_LT(c, cols);
                    ASSERT_LT(q, rows);
                    EXPECT_EQ(r.Width(), c == cols - 1 ? bw : b);
                    EXPECT_EQ(r.Height(), q == rows - 1 ? bh : b);
                    ++seen[q * cols + c];
                    area += int64_t{r.Width()} * r.Height();
                };
                for (const auto& step : s.m_steps) {
                    ASSERT_EQ(step.size(), 1u);
                    visit(step[0]);
                }
                visit(s.m_final[0]);
                EXPECT_EQ(s.m_final[0].left + s.m_final[0].top, 0);
                for (int i = 0; i < n; ++i) ASSERT_EQ(seen[i], 1) << "block " << i << " of " << n;
                EXPECT_EQ(area, int64_t{w} * h);
            }
    }
}

TEST(BlockEffects, MissingOffscreenContextFails) {
    // A device that cannot make a memory context.
    class CNoMemoryDC : public CImageDC {
    public:
        CNoMemoryDC() : CImageDC(10, 10) {}
        std::unique_ptr<CDC> CreateCompatibleDC(int, int) override { return nullptr; }
    } screen;
    auto photo = MakePhoto(10, 10);
    CBlockEffects effects;
    EXPECT_FALSE(effects.PlayEffect(screen, nullptr, *photo, 0, 0, CBlockEffects::kSpiralIn));
    // (None) and unknown ids draw without one.
    EXPECT_TRUE(effects.PlayEffect(screen, nullptr, *photo, 0, 0, CBlockEffects::kNone));
    EXPECT_TRUE(effects.PlayEffect(screen, nullptr, *photo, 0, 0, 4242));
    EXPECT_EQ(screen.GetPixel(9, 9), PhotoPixel(9, 9));
}

TEST(BlockEffects, OffscreenContextKeptForPhotosOfTheSameSize) {
    std::unique_ptr<CDC> slot;
    CFakeClock clock;
    CBlockEffects effects;
    effects.SetClock(&clock);
    effects.SetOffscreenSlot(&slot);
    CImageDC screen(40, 30);
    auto first = MakePhoto(40, 30);
    ASSERT_TRUE(effects.PlayEffect(screen, nullptr, *first, 0, 0, CBlockEffects::kCrushVertically));
    CDC* pKept = slot.get();
    ASSERT_TRUE(pKept);
    // The same size: the same context, filled with the new photo.
    auto second = MakePhoto(40, 30);
    second->GetRow(29)[0] = 7; // blue of pixel (0, 29)
    ASSERT_TRUE(effects.PlayEffect(screen, nullptr, *second, 0, 0, CBlockEffects::kSpiralIn));
    EXPECT_EQ(slot.get(), pKept);
    EXPECT_EQ(screen.GetPixel(0, 29) & 255, 7u);
    // Another size: a new one.
    auto third = MakePhoto(20, 30);
    ASSERT_TRUE(effects.PlayEffect(screen, nullptr, *third, 0, 0, CBlockEffects::kWipeDiagonal));
    EXPECT_EQ(slot->GetDeviceCaps(HORZRES), 20);
}
