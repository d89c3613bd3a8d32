// effect ID WxH [--seed N]
// effect ID IN OUTDIR [--from PREV] [--seed N]

#include "framework/CException.h"
#include "framework/CImageDC.h"
#include "imaging/CDib.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"
#include "view/core/CBlockEffects.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace {

// Steps run back to back: waiting only moves the clock on.
class CInstantClock : public CBlockEffects::IClock {
public:
    uint32_t GetTime() override { return m_dwNow; }
    void Wait(uint32_t nMs) override { m_dwNow += nMs; }

private:
    uint32_t m_dwNow = 0;
};

void AppendRects(std::string& line, const std::vector<CRect>& rects) {
    char text[64];
    for (const CRect& r : rects) {
        std::snprintf(text, sizeof text, " %d,%d %dx%d", r.left, r.top, r.Width(), r.Height());
        line += text;
    }
}

// (Random)'s picks: from the seed when given, else from the system.
std::function<unsigned()> MakeRandom(const CToolArgs& a) {
    uint32_t nSeed = a.Has("--seed")
                         ? static_cast<uint32_t>(CToolArgs::ToInteger(a.Value("--seed"), 0, UINT32_MAX))
                         : std::random_device()();
    auto pGen = std::make_shared<std::minstd_rand>(nSeed);
    return [pGen] { return static_cast<unsigned>((*pGen)()); };
}

int PrintSchedule(int nEffect, const std::string& size, const std::function<unsigned()>& random) {
    const size_t nX = size.find('x');
    if (nX == std::string::npos) throw CToolUsageError("the size is WxH, for example 640x480");
    const int w = static_cast<int>(CToolArgs::ToInteger(size.substr(0, nX), 1, 65535));
    const int h = static_cast<int>(CToolArgs::ToInteger(size.substr(nX + 1), 1, 65535));
    // Each step is printed as it comes, so that large pictures need no more
    // memory than one step.
    CEffectSchedule schedule;
    CBlockEffects effects;
    effects.SetRandom(random);
    effects.SetRecorder(&schedule);
    size_t nSteps = 0;
    std::string line;
    effects.SetStepHook([&] {
        line = "step " + std::to_string(++nSteps) + ":";
        AppendRects(line, schedule.m_steps.back());
        line += '\n';
        std::fputs(line.c_str(), stdout);
        schedule.m_steps.clear();
    });
    effects.Simulate(nEffect, w, h);
    line = "final:";
    AppendRects(line, schedule.m_final);
    std::printf("%s\ntotal %zu\n", line.c_str(), nSteps);
    return kExitOk;
}

void SaveFrame(const CImageDC& screen, const std::filesystem::path& dir, int nFrame) {
    const int w = screen.GetWidth(), h = screen.GetHeight();
    CDib frame(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* pRow = frame.GetRow(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = screen.GetPixel(x, y);
            pRow[3 * x] = v & 255;
            pRow[3 * x + 1] = (v >> 8) & 255;
            pRow[3 * x + 2] = (v >> 16) & 255;
        }
    }
    char name[32];
    std::snprintf(name, sizeof name, "frame_%04d.bmp", nFrame);
    frame.SaveBMP((dir / name).string());
}

int WriteFrames(int nEffect, const CToolArgs& a, const std::function<unsigned()>& random) {
    auto pPhoto = LoadPicture(a[1]);
    const int w = pPhoto->GetWidth(), h = pPhoto->GetHeight();
    CImageDC screen(w, h, 24, RGB(0, 0, 0));
    if (a.Has("--from")) {
        auto pPrev = LoadPicture(a.Value("--from"));
        if (pPrev->GetWidth() != w || pPrev->GetHeight() != h)
            throw CToolUsageError("the picture of --from must have the size of IN");
        pPrev->Draw(screen, 0, 0);
    }
    const std::filesystem::path dir = a[2];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) AfxThrowOsFileException(ec.value(), dir.string());

    CInstantClock clock;
    CBlockEffects effects;
    effects.SetClock(&clock);
    effects.SetRandom(random);
    int nFrame = 0;
    effects.SetStepHook([&] { SaveFrame(screen, dir, ++nFrame); });
    if (!effects.PlayEffect(screen, nullptr, *pPhoto, 0, 0, nEffect)) AfxThrowMemoryException();
    SaveFrame(screen, dir, ++nFrame);
    return kExitOk;
}

int Effect(const std::vector<std::string>& args) {
    CToolArgs a(args, {"--seed", "--from"});
    a.Expect(2, 3);
    const int nEffect = static_cast<int>(CToolArgs::ToInteger(a[0], INT_MIN, INT_MAX));
    const std::function<unsigned()> random = MakeRandom(a);
    if (a.Count() == 2) {
        if (a.Has("--from")) throw CToolUsageError("--from goes with IN and OUTDIR");
        return PrintSchedule(nEffect, a[1], random);
    }
    return WriteFrames(nEffect, a, random);
}

} // namespace

ZOZI_TOOL_COMMAND("effect",
                  "zozi-tool effect ID WxH [--seed N]\n"
                  "zozi-tool effect ID IN OUTDIR [--from PREV] [--seed N]",
                  Effect)
