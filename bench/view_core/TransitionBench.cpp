// Slide-show transitions: what a slide costs before its first step (the
// photo's decode, then the off-screen copy) and what each step costs, for a
// 12 MP and a 1600 x 1200 photo. Steps run without waiting unless the
// benchmark measures the pacing itself.

#include "framework/CImageDC.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/core/CBlockEffects.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

int HeightOf(int w) {
    return w == 4000 ? 3000 : w * 3 / 4; // 12 MP, 1600 x 1200
}

// Smooth gradients with some grain, so that JPEG sizes resemble photos.
std::unique_ptr<CDib> MakePhoto(int w, int h) {
    auto p = std::make_unique<CDib>(24, w, h, nullptr);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < 3 * w; ++x) {
            seed = seed * 1103515245 + 12345;
            row[x] = static_cast<uint8_t>((x * 7 / 3 + y / 5 + (x % 3) * 60 + ((seed >> 16) & 15)) & 255);
        }
    }
    return p;
}

class CInstantClock : public CBlockEffects::IClock {
public:
    uint32_t GetTime() override { return m_dwNow; }
    void Wait(uint32_t nMs) override { m_dwNow += nMs; }
    uint32_t m_dwNow = 0;
};

// The main image of a JPEG photo file, as a slide show loads it.
void BM_DecodePhoto(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = HeightOf(w);
    auto photo = MakePhoto(w, h);
    ImageRecType rec{};
    rec.Hdr.dwStructSize = kImageHdrSize;
    InitImageHeader(&rec.Hdr, w, h, 24);
    rec.Hdr.DataCompression = 3;
    rec.pPixels = photo->GetBits();
    const std::string path = (std::filesystem::temp_directory_path() / "zozi-bench-slide.qln").string();
    QLNI_CreateFile(path, &rec, nullptr, nullptr, true);
    QLNI_CloseFile();
    for (auto _ : state) {
        ImageRecType back{};
        back.Hdr.dwStructSize = kImageHdrSize;
        if (GetTag(path, QLNI_TAG_IMAGE, &back, nullptr) != 1) state.SkipWithError("GetTag failed");
        benchmark::DoNotOptimize(back.pPixels);
        QLNI_FreeTagData(back.pPixels);
    }
    QLNI_CloseFile();
    std::filesystem::remove(path);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
}
BENCHMARK(BM_DecodePhoto)->Arg(1600)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The off-screen copy made once per slide, on the Qt screen context.
void BM_OffscreenCopy(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = HeightOf(w);
    auto photo = MakePhoto(w, h);
    QImage screen(w, h, QImage::Format_RGB32);
    QPainter painter(&screen);
    CQtDC dc(&painter);
    for (auto _ : state) {
        std::unique_ptr<CDC> pMem = dc.CreateCompatibleDC(w, h);
        photo->Draw(*pMem, 0, 0);
        benchmark::DoNotOptimize(pMem.get());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
}
BENCHMARK(BM_OffscreenCopy)->Arg(1600)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the start of a slide's transition to its first step when the
// previous slide's off-screen context has the photo's size and is used again
// (a show of photos from one camera).
void BM_FirstStepReused(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int w = static_cast<int>(state.range(0)), h = HeightOf(w);
    auto photo = MakePhoto(w, h);
    QImage screen(w, h, QImage::Format_RGB32);
    QPainter painter(&screen);
    CQtDC dc(&painter);
    std::unique_ptr<CDC> slot;
    CInstantClock clock;
    CBlockEffects effects;
    effects.SetClock(&clock);
    effects.SetOffscreenSlot(&slot);
    effects.PlayEffect(dc, nullptr, *photo, 0, 0, CBlockEffects::kCrushHorizontally);
    Clock::time_point start, first;
    bool bFirst = false;
    effects.SetStepHook([&] {
        if (!bFirst) first = Clock::now();
        bFirst = true;
    });
    for (auto _ : state) {
        bFirst = false;
        start = Clock::now();
        effects.PlayEffect(dc, nullptr, *photo, 0, 0, CBlockEffects::kCrushHorizontally);
        state.SetIterationTime(std::chrono::duration<double>(first - start).count());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
}
BENCHMARK(BM_FirstStepReused)
    ->Arg(1600)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// A whole transition without waits on the Qt screen context; reports the
// time per step and the pixels and rectangles each step copies.
void BM_Transition(benchmark::State& state) {
    const int nEffect = static_cast<int>(state.range(0));
    const int w = static_cast<int>(state.range(1)), h = HeightOf(w);
    auto photo = MakePhoto(w, h);
    QImage screen(w, h, QImage::Format_RGB32);
    QPainter painter(&screen);
    CQtDC dc(&painter);
    const CEffectSchedule s = CBlockEffects::GetSchedule(nEffect, w, h);
    int64_t nRects = 0, nPixels = 0;
    for (const auto& step : s.m_steps)
        for (const CRect& r : step) {
            ++nRects;
            nPixels += int64_t{r.Width()} * r.Height();
        }
    const double nSteps = static_cast<double>(std::max<size_t>(s.m_steps.size(), 1));
    for (auto _ : state) {
        CInstantClock clock;
        CBlockEffects effects;
        effects.SetClock(&clock);
        effects.PlayEffect(dc, nullptr, *photo, 0, 0, nEffect);
    }
    state.counters["steps"] = static_cast<double>(s.m_steps.size());
    state.counters["time_per_step"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * nSteps,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["rects_per_step"] = static_cast<double>(nRects) / nSteps;
    state.counters["bytes_per_step"] = 4.0 * static_cast<double>(nPixels) / nSteps;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
}
BENCHMARK(BM_Transition)
    ->ArgsProduct({{1003, 1004, 1005, 1006, 1007, 1008}, {1600, 4000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Pacing on the system clock: the largest distance of a step's start from
// its place in the rhythm (t0 + i × delay), in milliseconds.
void BM_Pacing(benchmark::State& state) {
    const int nEffect = static_cast<int>(state.range(0));
    const int w = 1600, h = HeightOf(w);
    auto photo = MakePhoto(w, h);
    QImage screen(w, h, QImage::Format_RGB32);
    QPainter painter(&screen);
    CQtDC dc(&painter);
    int nBlock = 0, nDelay = 0;
    CBlockEffects::GetEffectParams(nEffect, nBlock, nDelay);
    double dWorst = 0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        CBlockEffects effects;
        Clock::time_point t0;
        int nStep = 0;
        effects.SetStepHook([&] {
            const auto now = Clock::now();
            if (nStep == 0) t0 = now;
            const double dLate = std::chrono::duration<double, std::milli>(now - t0).count() - nStep * nDelay;
            dWorst = std::max(dWorst, std::abs(dLate));
            ++nStep;
        });
        effects.PlayEffect(dc, nullptr, *photo, 0, 0, nEffect);
    }
    state.counters["worst_ms"] = dWorst;
}
BENCHMARK(BM_Pacing)
    ->Arg(1004)
    ->Arg(1007)
    ->Arg(1008)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
