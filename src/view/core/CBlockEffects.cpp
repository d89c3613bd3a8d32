#include "view/core/CBlockEffects.h"

#include "framework/CDC.h"
#include "framework/CException.h"
#include "imaging/CDib.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

IMPLEMENT_DYNAMIC(CBlockEffects, CObject)

// Entries 0 and 1 are 1 so that grids of one or two blocks end after block 1;
// 23 and 30 bits use masks whose registers really run through every value.
const uint32_t CBlockEffects::kTaps[32] = {
    1,        1,        3,        6,         12,        20,        48,        96,
    184,      272,      576,      1280,      3232,      6912,      13568,     24576,
    46080,    73728,    132096,   466944,    589824,    1310720,   3145728,   4325376,
    14155776, 18874368, 59244544, 119537664, 150994944, 335544320, 536870953, 1207959552,
};

namespace {

// The system's millisecond clock. Waits sleep all but the last millisecond
// and spin through that one, so steps stay on time without burning a core.
class CSystemClock : public CBlockEffects::IClock {
public:
    uint32_t GetTime() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Wait(uint32_t nMs) override {
        if (nMs > 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(nMs - 1));
        else
            std::this_thread::yield();
    }
};

CSystemClock& SystemClock() {
    static CSystemClock s_clock;
    return s_clock;
}

unsigned DefaultRandom() {
    return static_cast<unsigned>(std::rand());
}

} // namespace

CBlockEffects::CBlockEffects() : m_random(DefaultRandom) {}

bool CBlockEffects::GetEffectParams(int nEffectId, int& nBlockSize, int& nStepDelay) {
    switch (nEffectId) {
    case kPuzzle:
        nBlockSize = 32, nStepDelay = 2;
        return true;
    case kCrushVertically:
    case kCrushHorizontally:
        nBlockSize = 8, nStepDelay = 10;
        return true;
    case kFadePalette:
        nBlockSize = 3, nStepDelay = 0;
        return true;
    case kSpiralIn:
        nBlockSize = 8, nStepDelay = 25;
        return true;
    case kWipeDiagonal:
        nBlockSize = 8, nStepDelay = 13;
        return true;
    default:
        return false;
    }
}

int CBlockEffects::ResolveEffect(int nEffectId) {
    if (nEffectId != kRandom) return nEffectId;
    unsigned r = m_random ? m_random() : DefaultRandom();
    return kPuzzle + static_cast<int>(r % 6);
}

bool CBlockEffects::DrawPlain(CDC& dc, CPalette* pPalette, CDib& dib, int x, int y) {
    CPalette* pOld = pPalette ? dc.SelectPalette(pPalette, true) : nullptr;
    try {
        dib.Draw(dc, x, y);
    } catch (const CException&) {
        // The photo stays as far as it got.
    }
    if (pPalette) dc.SelectPalette(pOld, true);
    if (m_pRecord && dib.GetWidth() > 0 && dib.GetHeight() > 0)
        m_pRecord->m_final.push_back(CRect(0, 0, dib.GetWidth(), dib.GetHeight()));
    return true;
}

bool CBlockEffects::PlayEffect(CDC& dc, CPalette* pPalette, CDib& dib, int x, int y, int nEffectId) {
    m_bInterrupted = false;
    if (m_pRecord) *m_pRecord = CEffectSchedule();
    const int nEffect = ResolveEffect(nEffectId);
    m_nLastEffect = nEffect;
    int nBlock = 0, nDelay = 0;
    if (!GetEffectParams(nEffect, nBlock, nDelay)) return DrawPlain(dc, pPalette, dib, x, y);

    // The off-screen copy, made once: every step is then a plain block copy.
    const int w = dib.GetWidth(), h = dib.GetHeight();
    std::unique_ptr<CDC> pOwned;
    CDC* pMemDC = nullptr;
    if (m_pOffscreenSlot && *m_pOffscreenSlot && (*m_pOffscreenSlot)->GetDeviceCaps(HORZRES) == w &&
        (*m_pOffscreenSlot)->GetDeviceCaps(VERTRES) == h) {
        pMemDC = m_pOffscreenSlot->get();
    } else {
        if (m_pOffscreenSlot) m_pOffscreenSlot->reset(); // its memory first
        try {
            pOwned = dc.CreateCompatibleDC(w, h);
        } catch (const CException&) {
        } catch (const std::bad_alloc&) {
        }
        if (!pOwned) return false;
        pMemDC = pOwned.get();
        if (m_pOffscreenSlot) *m_pOffscreenSlot = std::move(pOwned);
    }
    CPalette* pOldPalette = pPalette ? pMemDC->SelectPalette(pPalette, true) : nullptr;
    try {
        dib.Draw(*pMemDC, 0, 0);
    } catch (const CException&) {
        return false;
    }

    m_pDC = &dc;
    m_pMemDC = pMemDC;
    m_x = x;
    m_y = y;
    m_nWidth = w;
    m_nHeight = h;
    m_nBlockSize = nBlock;
    m_nStepDelay = nDelay;
    bool bFinished = true;
    try {
        bFinished = RunRoutine(nEffect);
    } catch (const CException&) {
        // A drawing error: the photo stays as far as it got.
    }
    if (pPalette) pMemDC->SelectPalette(pOldPalette, true);
    m_pDC = nullptr;
    m_pMemDC = nullptr;
    if (!bFinished) {
        m_bInterrupted = true;
        if (m_pRecord) m_pRecord->m_bInterrupted = true;
        return DrawPlain(dc, pPalette, dib, x, y);
    }
    return true;
}

void CBlockEffects::Simulate(int nEffectId, int nWidth, int nHeight) {
    m_bInterrupted = false;
    if (m_pRecord) *m_pRecord = CEffectSchedule();
    m_pDC = nullptr;
    m_nWidth = std::max(nWidth, 0);
    m_nHeight = std::max(nHeight, 0);
    const int nEffect = ResolveEffect(nEffectId);
    m_nLastEffect = nEffect;
    if (!GetEffectParams(nEffect, m_nBlockSize, m_nStepDelay)) {
        Paint(0, 0, m_nWidth, m_nHeight);
        return;
    }
    m_bInterrupted = !RunRoutine(nEffect);
    if (m_pRecord) m_pRecord->m_bInterrupted = m_bInterrupted;
}

CEffectSchedule CBlockEffects::GetSchedule(int nEffectId, int nWidth, int nHeight,
                                           std::function<unsigned()> random) {
    CEffectSchedule schedule;
    CBlockEffects effects;
    if (random) effects.SetRandom(std::move(random));
    effects.SetRecorder(&schedule);
    effects.Simulate(nEffectId, nWidth, nHeight);
    return schedule;
}

bool CBlockEffects::RunRoutine(int nEffectId) {
    m_bPaced = m_pDC != nullptr;
    if (m_nWidth <= 0 || m_nHeight <= 0) return true;
    switch (nEffectId) {
    case kPuzzle:
    case kFadePalette:
        return Dissolve();
    case kCrushVertically:
        return CrushVertically();
    case kCrushHorizontally:
        return CrushHorizontally();
    case kSpiralIn:
        return SpiralIn();
    case kWipeDiagonal:
        return WipeDiagonal();
    default:
        Paint(0, 0, m_nWidth, m_nHeight);
        return true;
    }
}

uint32_t CBlockEffects::Now() {
    return (m_pClock ? m_pClock : &SystemClock())->GetTime();
}

void CBlockEffects::StartPacing() {
    if (m_bPaced) m_dwDeadline = Now() + static_cast<uint32_t>(m_nStepDelay);
}

void CBlockEffects::Pace() {
    if (m_pRecord) {
        m_pRecord->m_steps.push_back(std::move(m_pRecord->m_final));
        m_pRecord->m_final.clear();
    }
    if (m_stepHook) m_stepHook();
    if (!m_bPaced) return;
    // Wait for the deadline only; after a slow step there is no wait, and the
    // next deadline still keeps the rhythm from the start.
    IClock* pClock = m_pClock ? m_pClock : &SystemClock();
    for (;;) {
        const auto nLeft = static_cast<int32_t>(m_dwDeadline - pClock->GetTime());
        if (nLeft <= 0) break;
        pClock->Wait(static_cast<uint32_t>(nLeft));
    }
    m_dwDeadline += static_cast<uint32_t>(m_nStepDelay);
}

bool CBlockEffects::KeyPending() {
    return !m_bScreenSaver && m_pKeys && m_pKeys->IsKeyPending();
}

void CBlockEffects::Paint(int bx, int by, int nWidth, int nHeight) {
    const int l = std::max(bx, 0), t = std::max(by, 0);
    const int r = static_cast<int>(std::min<int64_t>(int64_t{bx} + nWidth, m_nWidth));
    const int b = static_cast<int>(std::min<int64_t>(int64_t{by} + nHeight, m_nHeight));
    if (r <= l || b <= t) return;
    if (m_pDC) m_pDC->BitBlt(m_x + l, m_y + t, r - l, b - t, m_pMemDC, l, t, SRCCOPY);
    if (m_pRecord) m_pRecord->m_final.push_back(CRect(l, t, r, b));
}

bool CBlockEffects::SpiralIn() {
    const int b = m_nBlockSize;
    int left = 0, top = 0, right = m_nWidth - b, bottom = m_nHeight - b;
    StartPacing();
    while (right > left || bottom > top) {
        if (KeyPending()) return false;
        // One ring: top row, right column, bottom row, left column. The last
        // block of each run is stretched to the ring's far edge.
        for (int x = left; x <= right; x += b) Paint(x, top, x + 2 * b - 1 > right ? right - x + b : b, b);
        for (int y = top; y <= bottom; y += b)
            Paint(right, y, b, y + 2 * b - 1 > bottom ? bottom - y + b : b);
        for (int x = right; x >= left; x -= b) Paint(x, bottom, x - 2 * b - 1 < left ? x - left + b : b, b);
        for (int y = bottom; y >= top; y -= b) Paint(left, y, b, y - 2 * b - 1 < top ? y - top + b : b);
        left += b;
        top += b;
        right -= b;
        bottom -= b;
        Pace();
    }
    // The middle the rings leave: the whole image when it is no larger than a
    // block, else a centre less than a block wide and tall.
    Paint(left, top, right + b - left, bottom + b - top);
    return true;
}

bool CBlockEffects::CrushVertically() {
    const int b = m_nBlockSize, W = m_nWidth;
    int top = 0, bottom = m_nHeight - b;
    int nTopEdge = 0, nBottomEdge = m_nHeight; // rows painted from either side
    // A row of blocks across the image, its last block reaching the right edge.
    auto paintRow = [&](int y, int h) {
        for (int x = 0;; x += b) {
            const bool bLast = x + 2 * b > W;
            Paint(x, y, bLast ? W - x : b, h);
            if (bLast) break;
        }
    };
    StartPacing();
    while (bottom >= top) {
        if (KeyPending()) return false;
        const int hTop = bottom - b < top + b ? bottom - top : b;
        paintRow(top, hTop);
        paintRow(bottom, b);
        nTopEdge = std::max(nTopEdge, top + hTop);
        nBottomEdge = std::min(nBottomEdge, bottom);
        top += b;
        bottom -= b;
        Pace();
    }
    // An image less than a block tall.
    if (nTopEdge < nBottomEdge) Paint(0, nTopEdge, W, nBottomEdge - nTopEdge);
    return true;
}

bool CBlockEffects::CrushHorizontally() {
    const int b = m_nBlockSize, H = m_nHeight;
    int left = 0, right = m_nWidth - b;
    int nLeftEdge = 0, nRightEdge = m_nWidth;
    auto paintColumn = [&](int x, int w) {
        for (int y = 0;; y += b) {
            const bool bLast = y + 2 * b > H;
            Paint(x, y, w, bLast ? H - y : b);
            if (bLast) break;
        }
    };
    StartPacing();
    while (right >= left) {
        if (KeyPending()) return false;
        const int wLeft = right - b < left + b ? right - left : b;
        paintColumn(left, wLeft);
        paintColumn(right, b);
        nLeftEdge = std::max(nLeftEdge, left + wLeft);
        nRightEdge = std::min(nRightEdge, right);
        left += b;
        right -= b;
        Pace();
    }
    if (nLeftEdge < nRightEdge) Paint(nLeftEdge, 0, nRightEdge - nLeftEdge, H);
    return true;
}

bool CBlockEffects::WipeDiagonal() {
    const int b = m_nBlockSize, W = m_nWidth, H = m_nHeight;
    const int lastCol = (W / b - 1) * b, lastRow = (H / b - 1) * b;
    const int wLast = W % b + b; // the last column takes the right remainder
    // The row above the last one also covers the last row and the bottom remainder.
    auto height = [&](int y) { return y == lastRow - b ? H - y : b; };
    StartPacing();
    // Diagonals starting on the top row.
    for (int d = 0; d <= lastCol;) {
        if (KeyPending()) return false;
        const int w = d == lastCol ? wLast : b;
        for (int x = d, y = 0; x >= 0 && y <= lastRow; x -= b, y += b) Paint(x, y, w, height(y));
        Pace();
        d += w;
    }
    // Diagonals starting on the right column.
    for (int r = b; r <= lastRow; r += b) {
        if (KeyPending()) return false;
        for (int x = lastCol, y = r; x >= 0 && y <= lastRow; x -= b, y += b)
            Paint(x, y, x == lastCol ? wLast : b, height(y));
        Pace();
    }
    // Less than a block wide or tall: nothing or only the top row was painted.
    if (lastCol < 0 || lastRow < 0)
        Paint(0, 0, W, H);
    else if (lastRow == 0)
        Paint(0, b, W, H - b);
    return true;
}

bool CBlockEffects::Dissolve() {
    int b = m_nBlockSize;
    if (std::min(m_nWidth, m_nHeight) <= b + 3) b = 1;
    const int64_t cols = m_nWidth / b, rows = m_nHeight / b, n = cols * rows;
    if (n < 1 || n - 1 > INT32_MAX) { // beyond the widest register
        Paint(0, 0, m_nWidth, m_nHeight);
        return true;
    }
    const int k = std::bit_width(static_cast<uint32_t>(n - 1));
    const uint32_t mask = kTaps[k];
    const int wLast = m_nWidth % b + b, hLast = m_nHeight % b + b;
    auto paintBlock = [&](uint32_t v) {
        const int64_t col = v % cols, row = v / cols;
        Paint(static_cast<int>(col * b), static_cast<int>(row * b), col == cols - 1 ? wLast : b,
              row == rows - 1 ? hLast : b);
    };
    StartPacing();
    // Blocks in the order of a maximal-length shift register: every value
    // from 1 to 2^k - 1 once; those beyond the grid are passed over.
    uint32_t v = 1;
    do {
        if (KeyPending()) return false;
        if (v < n) {
            paintBlock(v);
            Pace();
        }
        v = (v & 1) ? (v >> 1) ^ mask : v >> 1;
    } while (v != 1);
    // The register never yields 0: the first block comes last, with any
    // remainder beside it.
    paintBlock(0);
    return true;
}
