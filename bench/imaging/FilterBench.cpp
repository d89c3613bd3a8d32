// Neighbourhood filters on a 4000 x 3000 24-bit picture, one thread.
#include "imaging/CDib.h"
#include "imaging/CFilter.h"
#include "imaging/FilterCore.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int64_t kPixels = int64_t(kWidth) * kHeight;

CDib& Source() {
    static std::unique_ptr<CDib> p = [] {
        auto d = std::make_unique<CDib>(24, kWidth, kHeight, nullptr);
        std::mt19937 rng(11);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* r = d->GetRow(y);
            for (int i = 0; i < 3 * kWidth; ++i) r[i] = static_cast<uint8_t>(rng());
        }
        return d;
    }();
    return *p;
}

void BM_Convolve(benchmark::State& state, const KernelType* pKernel) {
    CDib dst(24, kWidth, kHeight, nullptr);
    CFilter filter(&Source(), &dst, pKernel);
    filter.Convolve(); // touch the destination once
    for (auto _ : state) {
        filter.Convolve();
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}

void BM_Rank(benchmark::State& state) {
    CDib dst(24, kWidth, kHeight, nullptr);
    CFilter filter(&Source(), &dst, nullptr);
    filter.RankFilter(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        filter.RankFilter(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}

void BM_Gaussian(benchmark::State& state) {
    CDib dst(24, kWidth, kHeight, nullptr);
    CFilter filter(&Source(), &dst, nullptr);
    filter.GaussianBlur(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        filter.GaussianBlur(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}

} // namespace

BENCHMARK_CAPTURE(BM_Convolve, blur_slight, &g_kernelBlurSlight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, blur_more, &g_kernelBlurMore)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, blur_heavy, &g_kernelBlurHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, sharpen_slight, &g_kernelSharpenSlight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, sharpen_more, &g_kernelSharpenMore)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, sharpen_heavy, &g_kernelSharpenHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, emboss, &g_kernelEmboss)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_thin, &g_kernelEdgeThin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_horizontal, &g_kernelEdgeHorizontal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_vertical, &g_kernelEdgeVertical)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_highlight, &g_kernelEdgeHighlight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rank)->Arg(kRankMinimum)->Arg(kRankMaximum)->Arg(kRankMedian)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gaussian)->Arg(1)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
