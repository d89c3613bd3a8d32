// Drawing a 4000 x 3000 picture: display dither and the own stretch, into a
// device context that accepts the bands and does nothing with them.

#include "framework/CDC.h"
#include "framework/DisplayCaps.h"
#include "imaging/CDib.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

class CNullDC : public CDC {
public:
    int GetDeviceCaps(int) const override { return 0; }
    int SetDIBitsToDevice(int, int, int, int nHeight, int, int, int, int, const void* pBits,
                          const BITMAPINFOHEADER*, unsigned) override {
        benchmark::DoNotOptimize(pBits);
        return nHeight;
    }
    int StretchDIBits(int, int, int, int nDstHeight, int, int, int, int, const void*, const BITMAPINFOHEADER*,
                      unsigned, uint32_t) override {
        return nDstHeight;
    }
    bool BitBlt(int, int, int, int, CDC*, int, int, uint32_t) override { return true; }
    void FillRect(const CRect&, COLORREF) override {}
    void FrameRect(const CRect&, COLORREF) override {}
    void InvertRect(const CRect&) override {}
    void LineTo(int, int) override {}
    void Rectangle(const CRect&) override {}
    void Ellipse(const CRect&) override {}
    int DrawText(const std::string&, CRect&, unsigned) override { return 0; }
};

CDib& Picture() {
    static std::unique_ptr<CDib> p = [] {
        auto d = std::make_unique<CDib>(24, 4000, 3000, nullptr);
        std::mt19937 rng(5);
        for (int y = 0; y < 3000; ++y) {
            uint8_t* r = d->GetRow(y);
            for (int i = 0; i < 12000; ++i) r[i] = static_cast<uint8_t>(rng());
        }
        return d;
    }();
    return *p;
}

void BM_DrawDisplayDither8(benchmark::State& state) {
    Picture(); // made before the clock runs
    CDisplayCaps saved = GetDisplayCaps();
    SetDisplayDepth(8);
    CNullDC dc;
    for (auto _ : state) Picture().Draw(dc, 0, 0);
    GetDisplayCaps() = saved;
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}
BENCHMARK(BM_DrawDisplayDither8)->Unit(benchmark::kMillisecond);

void BM_StretchDrawOwn(benchmark::State& state) {
    Picture();
    CDisplayCaps saved = GetDisplayCaps();
    SetDisplayDepth(24);
    GetDisplayCaps().bWindowsStretch = false;
    CNullDC dc;
    for (auto _ : state) Picture().StretchDraw(dc, CRect(0, 0, 2000, 1500), CRect(0, 0, 4000, 3000));
    GetDisplayCaps() = saved;
    state.SetItemsProcessed(state.iterations() * 2000 * 1500); // output pixels
}
BENCHMARK(BM_StretchDrawOwn)->Unit(benchmark::kMillisecond);

} // namespace
