// Geometry, tone table and warp on a 4000 × 3000 24-bit picture, in
// megapixels per second (items = pixels written). BM_Memcpy copies the
// picture once, as the yardstick for the fixed rotations.

#include "imaging/ApplyToneCurve.h"
#include "imaging/CCrop.h"
#include "imaging/CDib.h"
#include "imaging/CInterpolateScale.h"
#include "imaging/CResampleScale.h"
#include "imaging/CRotate.h"
#include "imaging/CWarp.h"
#include "imaging/CWarpMesh.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

constexpr int kW = 4000, kH = 3000;

CDib& Picture() {
    static std::unique_ptr<CDib> s_pic = [] {
        auto d = std::make_unique<CDib>(24, kW, kH, nullptr);
        uint32_t seed = 12345;
        for (int y = 0; y < kH; ++y) {
            uint8_t* p = d->GetRow(y);
            for (int x = 0; x < 3 * kW; ++x) {
                seed = seed * 1103515245u + 12345u;
                p[x] = uint8_t((x / 3 + y) / 8 + (seed >> 28));
            }
        }
        return d;
    }();
    return *s_pic;
}

void Done(benchmark::State& state, int64_t nPixels) {
    state.SetItemsProcessed(state.iterations() * nPixels);
}

void BM_Memcpy(benchmark::State& state) {
    CDib& src = Picture();
    CDib dst(24, kW, kH, nullptr);
    const size_t n = size_t(src.GetStride()) * kH;
    for (auto _ : state) {
        std::memcpy(dst.GetBits(), src.GetBits(), n);
        benchmark::ClobberMemory();
    }
    Done(state, int64_t(kW) * kH);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// A copy of the picture into a new image, as every operation makes one.
void BM_CopyPicture(benchmark::State& state) {
    for (auto _ : state) delete new CDib(Picture());
    Done(state, int64_t(kW) * kH);
}
BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMillisecond);

template <CDib* (CRotate::*Op)()> void BM_Fixed(benchmark::State& state) {
    CRotate r(&Picture());
    for (auto _ : state) delete (r.*Op)();
    Done(state, int64_t(kW) * kH);
}
BENCHMARK(BM_Fixed<&CRotate::Mirror>)->Name("BM_Mirror")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fixed<&CRotate::Flip>)->Name("BM_Flip")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fixed<&CRotate::Transpose>)->Name("BM_Transpose")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fixed<&CRotate::Rotate90CW>)->Name("BM_Rotate90CW")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fixed<&CRotate::Rotate90CCW>)->Name("BM_Rotate90CCW")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fixed<&CRotate::Rotate180>)->Name("BM_Rotate180")->Unit(benchmark::kMillisecond);

void BM_RotateArbitrary30(benchmark::State& state) {
    CRotate r(&Picture());
    int64_t nOut = 0;
    for (auto _ : state) {
        CDib* p = r.RotateArbitrary(30.0f, false);
        nOut = int64_t(p->GetWidth()) * p->GetHeight();
        delete p;
    }
    Done(state, nOut);
}
BENCHMARK(BM_RotateArbitrary30)->Unit(benchmark::kMillisecond);

template <typename TScale> void BM_Scale(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    CDib dst(24, w, h, nullptr);
    for (auto _ : state) TScale(&Picture(), &dst).Scale();
    Done(state, int64_t(w) * h);
}
BENCHMARK(BM_Scale<CResampleScale>)
    ->Name("BM_ScaleNearest")
    ->Args({2000, 1500})
    ->Args({6000, 4500})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale<CInterpolateScale>)
    ->Name("BM_ScaleBilinear")
    ->Args({2000, 1500})
    ->Args({6000, 4500})
    ->Unit(benchmark::kMillisecond);

void BM_Crop(benchmark::State& state) {
    for (auto _ : state) delete CCrop(&Picture(), 500, 400, 3000, 2000).Crop();
    Done(state, int64_t(3000) * 2000);
}
BENCHMARK(BM_Crop)->Unit(benchmark::kMillisecond);

void BM_Warp(benchmark::State& state) {
    std::vector<CPoint> s = CWarpMesh::RegularGrid(kW, kH, 5, 6), d = s;
    d[7 * 3 + 3].x += 200; // one inner point moved
    d[7 * 3 + 3].y -= 150;
    for (auto _ : state) delete CWarp(&Picture(), s, d, 7, 8, nullptr, state.range(0) != 0).Run();
    Done(state, int64_t(kW) * kH);
}
BENCHMARK(BM_Warp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ToneCurve(benchmark::State& state) {
    CDib img(Picture());
    uint8_t lut[256];
    for (int i = 0; i < 256; ++i) lut[i] = uint8_t(255 - i);
    for (auto _ : state) ApplyToneCurve(img, lut, 7);
    Done(state, int64_t(kW) * kH);
}
BENCHMARK(BM_ToneCurve)->Unit(benchmark::kMillisecond);

} // namespace
