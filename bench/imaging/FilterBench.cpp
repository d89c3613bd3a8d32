// Neighbourhood filters on a 4000 x 3000 24-bit picture, one thread.
#include "imaging/FilterCore.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

struct BenchPicture {
    std::vector<uint8_t> data;
    std::vector<uint8_t*> rows;
    BenchPicture() : data(size_t(kWidth) * 3 * kHeight) {
        std::mt19937 rng(11);
        for (auto& v : data) v = static_cast<uint8_t>(rng());
        for (int y = 0; y < kHeight; ++y) rows.push_back(data.data() + size_t(kHeight - 1 - y) * kWidth * 3);
    }
    CRows24 Rows() { return {rows.data(), kWidth, kHeight}; }
};

BenchPicture& Source() {
    static BenchPicture p;
    return p;
}

void BM_Convolve(benchmark::State& state, const KernelType* pKernel) {
    BenchPicture dst;
    for (auto _ : state) {
        Convolve24(Source().Rows(), dst.Rows(), *pKernel);
        benchmark::DoNotOptimize(dst.data.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

void BM_Rank(benchmark::State& state) {
    BenchPicture dst;
    for (auto _ : state) {
        RankFilter24(Source().Rows(), dst.Rows(), static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(dst.data.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

void BM_Gaussian(benchmark::State& state) {
    BenchPicture tmp, dst;
    for (auto _ : state) {
        GaussianBlur24(Source().Rows(), tmp.Rows(), dst.Rows(), static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(dst.data.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

} // namespace

BENCHMARK_CAPTURE(BM_Convolve, blur_slight, &g_kernelBlurSlight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, blur_more, &g_kernelBlurMore)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, blur_heavy, &g_kernelBlurHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, sharpen_slight, &g_kernelSharpenSlight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, sharpen_heavy, &g_kernelSharpenHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, emboss, &g_kernelEmboss)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_thin, &g_kernelEdgeThin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_vertical, &g_kernelEdgeVertical)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convolve, edge_highlight, &g_kernelEdgeHighlight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rank)->Arg(kRankMinimum)->Arg(kRankMaximum)->Arg(kRankMedian)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gaussian)->Arg(1)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
