// Image operations on a 4000 x 3000 picture, in pixels per second.

#include "imaging/CBiLevelOrderedDither.h"
#include "imaging/CColorDiffusionDither4.h"
#include "imaging/CColorDiffusionDither8.h"
#include "imaging/CColorOrderDither4.h"
#include "imaging/CColorOrderDither8.h"
#include "imaging/CDib.h"
#include "imaging/CGrayScalelThresholdDither.h"
#include "imaging/CInvCMap.h"
#include "imaging/CMedianCut.h"
#include "imaging/ColorConvert.h"
#include "imaging/FixedPalettes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int64_t kPixels = int64_t(kWidth) * kHeight;

// A photo-like picture: smooth gradients with some noise.
CDib& Photo() {
    static std::unique_ptr<CDib> p = [] {
        auto d = std::make_unique<CDib>(24, kWidth, kHeight, nullptr);
        std::mt19937 rng(1);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* r = d->GetRow(y);
            for (int x = 0; x < kWidth; ++x) {
                int n = static_cast<int>(rng() & 15) - 8;
                r[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / kWidth + n, 0, 255));
                r[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / kHeight + n, 0, 255));
                r[3 * x + 2] =
                    static_cast<uint8_t>(std::clamp((x + y) * 255 / (kWidth + kHeight) - n, 0, 255));
            }
        }
        return d;
    }();
    return *p;
}

CDib& OfDepth(int nBits) {
    static std::unique_ptr<CDib> p1, p4, p8, p16, p32;
    switch (nBits) {
    case 8:
        if (!p8) {
            p8 = std::make_unique<CDib>(kWidth, kHeight, 8, 256, nullptr);
            ConvertToGray(Photo(), *p8);
        }
        return *p8;
    case 1:
        if (!p1) {
            p1 = std::make_unique<CDib>(kWidth, kHeight, 1, 2, GetBWPalette());
            CBiLevelOrderedDither(&OfDepth(8), p1.get()).Dither();
        }
        return *p1;
    case 4:
        if (!p4) {
            p4 = std::make_unique<CDib>(4, kWidth, kHeight, GetSixteenColorPalette());
            CColorDiffusionDither4(&Photo(), p4.get()).Dither();
        }
        return *p4;
    case 16:
    case 32: {
        auto& p = nBits == 16 ? p16 : p32;
        if (!p) {
            p = std::make_unique<CDib>(nBits, kWidth, kHeight, nullptr);
            std::mt19937 rng(2);
            for (int y = 0; y < kHeight; ++y) {
                uint8_t* r = p->GetRow(y);
                for (int i = 0; i < p->GetStride(); ++i) r[i] = static_cast<uint8_t>(rng());
            }
        }
        return *p;
    }
    default:
        return Photo();
    }
}

// The baseline: memcpy of the same rows, in the same order, into a row buffer.
void BM_Memcpy24(benchmark::State& state) {
    CDib& src = Photo();
    std::vector<uint8_t> dst(static_cast<size_t>(kWidth) * 3);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y) {
            std::memcpy(dst.data(), src.GetBits() + int64_t(kHeight - 1 - y) * src.GetStride(), kWidth * 3);
            benchmark::ClobberMemory();
        }
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_Memcpy24)->Unit(benchmark::kMillisecond);

void BM_GetRowRGB(benchmark::State& state) {
    CDib& src = OfDepth(static_cast<int>(state.range(0)));
    std::vector<uint8_t> dst(static_cast<size_t>(kWidth) * 3);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y) {
            src.GetRowRGB(y, dst.data());
            benchmark::ClobberMemory();
        }
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_GetRowRGB)->Arg(1)->Arg(4)->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_ApplyTone(benchmark::State& state) {
    CDib img(Photo());
    for (auto _ : state) {
        for (int i = 0; i < 256; ++i) img.m_gammaTable[i] = static_cast<uint8_t>(255 - i);
        img.m_bToneApplied = false;
        img.ApplyTone();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_ApplyTone)->Unit(benchmark::kMillisecond);

template <class TDither>
void RunDither(benchmark::State& state, CDib& src, int nBits, const RGBQUAD* pTable) {
    CDib dst(nBits, kWidth, kHeight, pTable);
    for (auto _ : state) TDither(&src, &dst).Dither();
    state.SetItemsProcessed(state.iterations() * kPixels);
}

void BM_BiLevelOrdered(benchmark::State& s) {
    RunDither<CBiLevelOrderedDither>(s, OfDepth(8), 1, GetBWPalette());
}
void BM_GrayThreshold(benchmark::State& s) {
    RunDither<CGrayScalelThresholdDither>(s, OfDepth(8), 1, GetBWPalette());
}
void BM_ColorOrder8(benchmark::State& s) {
    RunDither<CColorOrderDither8>(s, Photo(), 8, GetDisplayPalette());
}
void BM_ColorOrder4(benchmark::State& s) {
    RunDither<CColorOrderDither4>(s, Photo(), 4, GetEightColorPalette());
}
void BM_ColorDiffusion8(benchmark::State& s) {
    RunDither<CColorDiffusionDither8>(s, Photo(), 8, GetDisplayPalette());
}
void BM_ColorDiffusion4(benchmark::State& s) {
    RunDither<CColorDiffusionDither4>(s, Photo(), 4, GetSixteenColorPalette());
}
BENCHMARK(BM_BiLevelOrdered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrayThreshold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorOrder8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorOrder4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorDiffusion8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorDiffusion4)->Unit(benchmark::kMillisecond);

void BM_ConvertToGray(benchmark::State& state) {
    CDib dst(kWidth, kHeight, 8, 256, nullptr);
    for (auto _ : state) ConvertToGray(Photo(), dst);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_ConvertToGray)->Unit(benchmark::kMillisecond);

void BM_ConvertToTrueColor8(benchmark::State& state) {
    CDib dst(24, kWidth, kHeight, nullptr);
    for (auto _ : state) ConvertToTrueColor(OfDepth(8), dst);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_ConvertToTrueColor8)->Unit(benchmark::kMillisecond);

void BM_MedianCut(benchmark::State& state) {
    CDib dst(8, kWidth, kHeight, nullptr);
    for (auto _ : state) CMedianCut(&Photo(), &dst).Quantize(state.range(0) != 0, 256, false);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_MedianCut)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_InvCMapBuild(benchmark::State& state) {
    RGBQUAD pal[256];
    std::mt19937 rng(3);
    for (auto& q : pal) q = RGBQUAD{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    for (auto _ : state) {
        CInvCMap inv(256, 5, pal);
        inv.Build();
        benchmark::DoNotOptimize(inv.GetMap());
    }
    state.SetItemsProcessed(state.iterations() * 32768);
}
BENCHMARK(BM_InvCMapBuild)->Unit(benchmark::kMillisecond);

std::string BenchFile() {
    return "/tmp/zozi-bench-" + std::to_string(getpid()) + ".bmp";
}

void BM_SaveBMP(benchmark::State& state) {
    std::string path = BenchFile();
    for (auto _ : state) Photo().SaveBMP(path);
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_SaveBMP)->Unit(benchmark::kMillisecond);

void BM_ReadBMP(benchmark::State& state) {
    std::string path = BenchFile();
    Photo().SaveBMP(path);
    for (auto _ : state) {
        CDib d(path);
        benchmark::DoNotOptimize(d.GetBits());
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_ReadBMP)->Unit(benchmark::kMillisecond);

} // namespace
