// The preview dialogs: opening one on a large picture (the reduced copy is
// made once) and the redraw after each change, which works on that copy only.

#include "imaging/CDib.h"
#include "view/dialogs/CBrightnessContrastDlg.h"
#include "view/dialogs/CGaussianDlg.h"

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<CDib> Picture(int w, int h) {
    auto p = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < w * 3; ++x) row[x] = uint8_t(x * 7 + y);
    }
    return p;
}

void BM_OpenBrightnessContrast(benchmark::State& state) {
    auto pImage = Picture(int(state.range(0)), int(state.range(0)) * 3 / 4);
    for (auto _ : state) {
        CBrightnessContrastDlg dlg(nullptr, *pImage);
        benchmark::DoNotOptimize(dlg.PreviewImage());
    }
    state.SetItemsProcessed(state.iterations() * pImage->GetWidth() * pImage->GetHeight());
}
BENCHMARK(BM_OpenBrightnessContrast)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// One change of a control while Auto Preview is on.
template <class Dlg> void BM_Change(benchmark::State& state, const char* pszBar) {
    auto pImage = Picture(int(state.range(0)), int(state.range(0)) * 3 / 4);
    Dlg dlg(nullptr, *pImage);
    auto* pBar = dlg.template findChild<QScrollBar*>(pszBar);
    int n = 0;
    for (auto _ : state) {
        pBar->setValue(pBar->minimum() + (++n % 2));
        benchmark::DoNotOptimize(dlg.PreviewImage());
    }
    const CRect& rc = dlg.PreviewRect();
    state.SetItemsProcessed(state.iterations() * rc.Width() * rc.Height());
}
void BM_ChangeBrightness(benchmark::State& state) {
    BM_Change<CBrightnessContrastDlg>(state, "brightness");
}
void BM_ChangeGaussian(benchmark::State& state) {
    BM_Change<CGaussianDlg>(state, "radius");
}
BENCHMARK(BM_ChangeBrightness)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeGaussian)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
