// The slide show: how long after a slide changes its photo starts to appear,
// against the time to decode the photo file alone, for a 1600 x 1200 and a
// 12-megapixel photo. The slide is shown without a transition, so the figure
// is the loading, the black band and the first drawing of the photo: what a
// transition's first step waits for.

#include "album/AlbumPhotos.h"
#include "album/CAlbum.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CSlideShowView.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/core/CBlockEffects.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct CShowAlbum {
    std::string dir, path;
    explicit CShowAlbum(int w, int h) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-show-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        path = dir + "/show.alb";
        QLNI_Initialize(nullptr);
        CAlbum album;
        album.m_strProvisionalPath = path;
        CDib dib(24, w, h, nullptr);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = dib.GetRow(y);
            for (int x = 0; x < dib.GetStride(); ++x)
                row[x] = static_cast<uint8_t>((x * 7 + y * 3) ^ (x / 5));
        }
        for (int i = 0; i < 2; ++i) {
            const std::string photo = dir + "/p" + std::to_string(i) + ".qln";
            if (ExportPicture(dib, 666, photo) != 1) std::abort();
            album.AppendElem(photo);
            album.GetShowElemProps(i).m_nEffect = CBlockEffects::kNone;
        }
        album.m_showProps.m_bFullScreen = 0;
        album.m_showProps.m_bAutoAdvance = 0;
        album.SaveFile(path);
    }
    ~CShowAlbum() { std::filesystem::remove_all(dir); }
};

void Decode(benchmark::State& state) {
    CShowAlbum a(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CAlbum album;
    album.LoadFile(a.path);
    for (auto _ : state) benchmark::DoNotOptimize(LoadPhotoImage(album.GetPath(0)));
}

void SlideChangeToPhoto(benchmark::State& state) {
    CShowAlbum a(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CAlbumDoc doc;
    if (!doc.OnOpenDocument(a.path)) std::abort();
    auto* v = new CSlideShowView;
    doc.AddView(v);
    v->resize(1280, 800);
    v->OnInitialUpdate();
    v->ShowNewSlide();
    int i = 0;
    for (auto _ : state) {
        i = 1 - i;
        v->GoToPhoto(i);
        v->ShowNewSlide();
    }
    delete v;
}

BENCHMARK(Decode)->Args({1600, 1200})->Args({4000, 3000})->Unit(benchmark::kMillisecond);
BENCHMARK(SlideChangeToPhoto)->Args({1600, 1200})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

} // namespace
