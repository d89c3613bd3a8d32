#pragma once
// The slide show's transitions: a photo is copied once into an off-screen
// context and then revealed on the screen block by block, in steps paced on a
// millisecond clock. A pending key press stops a transition (not in
// screen-saver mode) and the whole photo is drawn at once.

#include "framework/CObject.h"
#include "framework/CRect.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CDC;
class CDib;
class CPalette;

// What a transition paints: the rectangles of every paced step (image
// coordinates, clipped, in painting order) and what is painted after them.
struct CEffectSchedule {
    std::vector<std::vector<CRect>> m_steps;
    std::vector<CRect> m_final;
    bool m_bInterrupted = false;
};

class CBlockEffects : public CObject {
    DECLARE_DYNAMIC(CBlockEffects)
public:
    // Effect ids, as the album's photos store them (string ids of their names).
    enum : int {
        kNone = 1001,
        kRandom = 1002,
        kPuzzle = 1003,
        kCrushVertically = 1004,
        kCrushHorizontally = 1005,
        kFadePalette = 1006,
        kSpiralIn = 1007,
        kWipeDiagonal = 1008,
    };
    static constexpr int kFirstEffect = kNone;
    static constexpr int kLastEffect = kWipeDiagonal;

    // The millisecond clock the steps are paced on.
    class IClock {
    public:
        virtual ~IClock() = default;
        virtual uint32_t GetTime() = 0;
        // Called while nMs remain before the next deadline; may sleep a part of it.
        virtual void Wait(uint32_t nMs) { (void)nMs; }
    };
    // Whether a key press is waiting in the window system's queue (not removed).
    class IKeyQueue {
    public:
        virtual ~IKeyQueue() = default;
        virtual bool IsKeyPending() = 0;
    };

    // Tap masks of maximal-length shift registers of k bits, k = 0 … 31.
    static const uint32_t kTaps[32];

    CBlockEffects();

    // Replaceable parts; none is owned. A null clock means the system clock.
    void SetClock(IClock* pClock) { m_pClock = pClock; }
    void SetKeyQueue(IKeyQueue* pKeys) { m_pKeys = pKeys; }
    void SetScreenSaver(bool bScreenSaver) { m_bScreenSaver = bScreenSaver; }
    // The source of (Random)'s picks: non-negative numbers, as rand() gives.
    void SetRandom(std::function<unsigned()> random) { m_random = std::move(random); }
    // Called after each step has painted its blocks, before the wait (a view
    // flushes the screen here).
    void SetStepHook(std::function<void()> hook) { m_stepHook = std::move(hook); }
    // Keeps the off-screen context in *pSlot after a transition and uses it
    // again for a photo of the same size, so that a show of equal photos
    // does not make a new one for every slide.
    void SetOffscreenSlot(std::unique_ptr<CDC>* pSlot) { m_pOffscreenSlot = pSlot; }
    // Records what is painted into pSchedule (cleared first by PlayEffect).
    void SetRecorder(CEffectSchedule* pSchedule) { m_pRecord = pSchedule; }

    // Shows the photo at (x, y) with the transition; false when the
    // off-screen context cannot be made.
    bool PlayEffect(CDC& dc, CPalette* pPalette, CDib& dib, int x, int y, int nEffectId);
    // Draws the whole photo at (x, y) at once; drawing errors end it quietly.
    bool DrawPlain(CDC& dc, CPalette* pPalette, CDib& dib, int x, int y);

    // (Random) becomes one of the six transitions, any other id stays.
    int ResolveEffect(int nEffectId);
    // Block edge and milliseconds per step of a transition; false for ids
    // that draw plainly.
    static bool GetEffectParams(int nEffectId, int& nBlockSize, int& nStepDelay);
    // What the transition paints for a picture of nWidth × nHeight, computed
    // without drawing or waiting. (None) and unknown ids paint the whole
    // picture as the final painting.
    static CEffectSchedule GetSchedule(int nEffectId, int nWidth, int nHeight,
                                       std::function<unsigned()> random = {});

    // Runs the transition for a picture of nWidth × nHeight without drawing
    // or waiting, for the recorder and the step hook (the key queue is asked
    // as in PlayEffect).
    void Simulate(int nEffectId, int nWidth, int nHeight);

    // The transition the last PlayEffect ran (after (Random) was resolved),
    // and whether a key press stopped it.
    int GetLastEffect() const { return m_nLastEffect; }
    bool WasInterrupted() const { return m_bInterrupted; }

    // The routines, on the image set up by PlayEffect or GetSchedule. Each
    // returns false when a key press stopped it.
    bool SpiralIn();
    bool CrushVertically();
    bool CrushHorizontally();
    bool WipeDiagonal();
    bool Dissolve();

    int m_nStepDelay = 10; // milliseconds between steps
    int m_nBlockSize = 8;  // block edge in pixels

private:
    bool RunRoutine(int nEffectId);
    void StartPacing();
    // Paints the block at image coordinates (bx, by), clipped to the image.
    void Paint(int bx, int by, int nWidth, int nHeight);
    // Ends a step: the hook, then the wait for the step's deadline.
    void Pace();
    bool KeyPending();
    uint32_t Now();

    IClock* m_pClock = nullptr;
    IKeyQueue* m_pKeys = nullptr;
    bool m_bScreenSaver = false;
    std::function<unsigned()> m_random;
    std::function<void()> m_stepHook;
    CEffectSchedule* m_pRecord = nullptr;
    std::unique_ptr<CDC>* m_pOffscreenSlot = nullptr;

    // The transition under way.
    CDC* m_pDC = nullptr;    // the screen; null when only the schedule is made
    CDC* m_pMemDC = nullptr; // the off-screen copy of the photo
    int m_x = 0, m_y = 0;    // where the image lands on m_pDC
    int m_nWidth = 0, m_nHeight = 0;
    bool m_bPaced = false;
    uint32_t m_dwDeadline = 0;
    int m_nLastEffect = 0;
    bool m_bInterrupted = false;
};
