// Point processes, histogram, colour count and arithmetic on a 4000 x 3000
// 24-bit picture, one thread; a memcpy of the picture for comparison.
#include "imaging/CDib.h"
#include "imaging/CPointProcess.h"
#include "imaging/CSolarize.h"
#include "imaging/CTBlend.h"
#include "imaging/CTComplement.h"
#include "imaging/CTDifference.h"
#include "imaging/CTPlus.h"
#include "imaging/CTPosterize.h"
#include "imaging/CTRGBHist.h"
#include "imaging/ColorCount.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int64_t kPixels = int64_t(kWidth) * kHeight;

std::unique_ptr<CDib> MakePhoto(uint32_t seed) {
    // Smooth gradients with noise: a photograph's spread of colours.
    auto d = std::make_unique<CDib>(24, kWidth, kHeight, nullptr);
    std::mt19937 rng(seed);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* r = d->GetRow(y);
        for (int x = 0; x < kWidth; ++x) {
            r[3 * x] = static_cast<uint8_t>(x / 16 + (rng() & 7));
            r[3 * x + 1] = static_cast<uint8_t>(y / 12 + (rng() & 7));
            r[3 * x + 2] = static_cast<uint8_t>((x + y) / 28 + (rng() & 7));
        }
    }
    return d;
}

CDib& Photo() {
    static std::unique_ptr<CDib> p = MakePhoto(3);
    return *p;
}

template <class Fn> void Run(benchmark::State& state, Fn fn) {
    CDib image(Photo());
    for (auto _ : state) {
        fn(image);
        benchmark::DoNotOptimize(image.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}

void BM_Memcpy(benchmark::State& state) {
    CDib image(Photo());
    CDib copy(Photo());
    const size_t n = size_t(image.GetStride()) * kHeight;
    for (auto _ : state) {
        std::memcpy(copy.GetBits(), image.GetBits(), n);
        benchmark::DoNotOptimize(copy.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, negative, [](CDib& d) {
    CTComplement(&d, &d, true, true, true).Run();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, negative_red, [](CDib& d) {
    CTComplement(&d, &d, true, false, false).Run();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, posterize, [](CDib& d) {
    CTPosterize(&d, &d, true, true, true, 8).Run();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, solarize, [](CDib& d) {
    CSolarize(&d, &d, 1, 127).Run();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, brightness_contrast, [](CDib& d) {
    CPointProcess(&d).ApplyBrightnessContrast(60, 50, 22, 7);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, equalize, [](CDib& d) {
    CTRGBHist(&d, true).Equalize();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, histogram, [](CDib& d) {
    CTRGBHist(&d, true).Compute();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, hue_saturation, [](CDib& d) {
    CPointProcess(&d).ApplyHueSaturation(10, 20, -5);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, count_colors, [](CDib& d) {
    benchmark::DoNotOptimize(CountColors(d));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, add_wrap, [](CDib& d) {
    CTPlus(&Photo(), &d, &d, 1, true).Run();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, difference, [](CDib& d) {
    CTDifference(&Photo(), &d, &d).Run();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, blend, [](CDib& d) {
    CTBlend(&Photo(), &d, &d, 30).Run();
})->Unit(benchmark::kMillisecond);
