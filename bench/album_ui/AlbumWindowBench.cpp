// The album window: opening an album of 2,000 photos and painting its first
// screen of thumbnails, and scrolling a screen of new thumbnails. Only the
// cells on the screen read their photo files. The first open of the run
// comes first (OpenFirstTime), before the photo files were read by any open.

#include "album/AlbumPhotos.h"
#include "album/CAlbum.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CPhotoListBox.h"
#include "album/ui/CTnView.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kPhotos = 2000;
constexpr int kScale = 1;

struct CBenchAlbum {
    std::string dir, path;
    CBenchAlbum() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-albumui-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        path = dir + "/big.alb";
        QLNI_Initialize(nullptr);
        CAlbum album;
        album.m_nScale = kScale;
        album.m_strProvisionalPath = path;
        // 320 x 240 pictures in a few shades, each with its small thumbnail.
        for (int i = 0; i < kPhotos; ++i) {
            CDib dib(24, 320, 240, nullptr);
            for (int y = 0; y < 240; ++y) {
                uint8_t* row = dib.GetRow(y);
                for (int x = 0; x < dib.GetStride(); ++x) row[x] = static_cast<uint8_t>(x * 3 + y + i * 7);
            }
            const std::string photo = dir + "/p" + std::to_string(i) + ".qln";
            if (ExportPicture(dib, 666, photo) != 1) std::abort();
            CreateThumbnail(photo, dib, kScale, path);
            SetPhotoText(photo, QLNI_TAG_TEXT1, "Photo " + std::to_string(i));
            album.AppendElem(photo);
        }
        album.SaveFile(path);
    }
    ~CBenchAlbum() { std::filesystem::remove_all(dir); }
};

CBenchAlbum& Album() {
    static CBenchAlbum album;
    return album;
}

struct COpenWindow {
    std::unique_ptr<CAlbumDoc> doc = std::make_unique<CAlbumDoc>();
    std::unique_ptr<CTnView> view;
    explicit COpenWindow(const std::string& path) {
        if (!doc->OnOpenDocument(path)) std::abort();
        view = std::make_unique<CTnView>();
        doc->AddView(view.get());
        view->resize(1024, 700);
        view->OnInitialUpdate();
        view->show();
    }
    ~COpenWindow() {
        view.reset();
        doc.reset();
    }
    // Paints what is on the screen.
    void Paint() { benchmark::DoNotOptimize(view->GetListBox()->viewport()->grab()); }
};

void Open(benchmark::State& state) {
    const std::string path = Album().path;
    int nLoaded = 0;
    for (auto _ : state) {
        CAlbumDoc::s_nThumbnailLoads = 0;
        COpenWindow w(path);
        w.Paint();
        nLoaded = CAlbumDoc::s_nThumbnailLoads;
    }
    state.counters["thumbnails_read"] = nLoaded;
}

void OpenFirstTime(benchmark::State& state) {
    Open(state);
}

void ScrollOneScreen(benchmark::State& state) {
    COpenWindow w(Album().path);
    w.Paint();
    QScrollBar* bar = w.view->GetListBox()->horizontalScrollBar();
    const int nStep = w.view->GetListBox()->viewport()->width();
    int nLoaded = 0;
    for (auto _ : state) {
        if (bar->value() + nStep > bar->maximum()) {
            state.PauseTiming();
            bar->setValue(0);
            w.doc->ReleaseThumbnails();
            w.Paint();
            state.ResumeTiming();
        }
        CAlbumDoc::s_nThumbnailLoads = 0;
        bar->setValue(bar->value() + nStep);
        w.Paint();
        nLoaded = CAlbumDoc::s_nThumbnailLoads;
    }
    state.counters["thumbnails_read"] = nLoaded;
    state.counters["cached"] = w.doc->LoadedThumbnailCount();
}

} // namespace

BENCHMARK(OpenFirstTime)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Open)->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollOneScreen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CScriptedPrompt prompt; // no message reaches a window
    SetUserPrompt(&prompt);
    Album();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetUserPrompt(nullptr);
    return 0;
}
