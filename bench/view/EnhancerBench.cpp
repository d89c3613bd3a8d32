// The picture window's costs on a 12 MP picture: repainting the visible part
// at several zooms, opening a JPEG and a photo file against the decode
// alone, and the undo capture against a plain copy of the pixels.

#include "framework/DisplayCaps.h"
#include "imaging/CDib.h"
#include "imaging/CUndo.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CImageEnhancerDoc.h"
#include "view/CImageEnhancerView.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstring>
#include <filesystem>
#include <map>

namespace {

constexpr int kW = 4000, kH = 3000;

std::unique_ptr<CDib> Picture() {
    auto dib = std::make_unique<CDib>(24, kW, kH, nullptr);
    for (int y = 0; y < kH; ++y) {
        uint8_t* p = dib->GetRow(y);
        for (int x = 0; x < kW * 3; ++x) p[x] = static_cast<uint8_t>(x * 7 + y * 3);
    }
    return dib;
}

const std::string& File(int nSaveType) {
    static std::map<int, std::string> files;
    auto& f = files[nSaveType];
    if (f.empty()) {
        QLNI_Initialize(nullptr);
        f = (std::filesystem::temp_directory_path() /
             ("zozi-bench-enhancer" + std::to_string(nSaveType) + (nSaveType == 666 ? ".qln" : ".jpg")))
                .string();
        ExportPicture(*Picture(), nSaveType, f);
    }
    return f;
}

// The window's client area is 1000 x 700; the repaint covers all of it.
void BM_Repaint(benchmark::State& state) {
    const int nZoom = static_cast<int>(state.range(0));
    CImageEnhancerDoc doc;
    doc.SetDib(Picture());
    auto* view = new CImageEnhancerView;
    doc.AddView(view);
    if (nZoom == 0) {
        view->SetFitToWindow(true);
        view->resize(1000, 700);
    } else {
        view->SetZoom(nZoom);
    }
    QImage target(1000, 700, QImage::Format_RGB32);
    const QRegion visible(0, 0, 1000, 700);
    for (auto _ : state) {
        view->render(&target, QPoint(), visible);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1000 * 700);
    doc.RemoveView(view);
    delete view;
}
BENCHMARK(BM_Repaint)->Arg(1)->Arg(4)->Arg(-4)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_DecodeOnly(benchmark::State& state) {
    const std::string& f = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<CDib> p;
        ImportPicture(f, p);
        benchmark::DoNotOptimize(p);
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
void BM_OpenDocument(benchmark::State& state) {
    const std::string& f = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CImageEnhancerDoc doc;
        benchmark::DoNotOptimize(doc.OnOpenDocument(f));
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
// 52: JPEG; 666: the photo file.
BENCHMARK(BM_DecodeOnly)->Arg(52)->Arg(666)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDocument)->Arg(52)->Arg(666)->Unit(benchmark::kMillisecond);

class COwner : public IUndoOwner {
public:
    CDib* GetUndoDib() override { return nullptr; }
    void SetUndoDib(CDib*) override {}
};

void BM_UndoCapture(benchmark::State& state) {
    CUndo::InitUndo(true);
    auto dib = Picture();
    COwner owner;
    for (auto _ : state) {
        CUndo capture(&owner, dib.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
    CUndo(nullptr, nullptr);
}
void BM_Memcpy(benchmark::State& state) {
    const size_t n = static_cast<size_t>(kW) * kH * 3;
    std::vector<uint8_t> a(n, 1);
    for (auto _ : state) {
        std::vector<uint8_t> b(n);
        std::memcpy(b.data(), a.data(), n);
        benchmark::DoNotOptimize(b.data());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_UndoCapture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetDisplayDepth(24);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
