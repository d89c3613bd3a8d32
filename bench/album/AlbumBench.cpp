// Albums: adding 12-megapixel JPEG photo files (against decoding the same
// pictures alone, in the same run) and loading an album of 1,000 elements.
// ZOZI_BENCH_ALBUM_PICTURES sets how many pictures one add handles (default 12;
// the goal is stated for 100).

#include "album/AlbumFile.h"
#include "album/CAlbum.h"
#include "framework/CArchive.h"
#include "imaging/CDib.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000; // 12 megapixels
constexpr int kDistinctPhotos = 4;

const std::string& ScratchDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-album-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir;
}

int PictureCount() {
    const char* p = std::getenv("ZOZI_BENCH_ALBUM_PICTURES");
    const int n = p ? std::atoi(p) : 12;
    return n > 0 ? n : 12;
}

// 24-bit JPEG photo files with gradients and grain, made once.
const std::vector<std::string>& PhotoList() {
    static const std::vector<std::string> list = [] {
        QLNI_Initialize(nullptr);
        std::vector<std::string> photos;
        for (int k = 0; k < kDistinctPhotos; ++k) {
            CDib dib(24, kWidth, kHeight, nullptr);
            uint32_t seed = 12345u + static_cast<uint32_t>(k);
            for (int y = 0; y < kHeight; ++y) {
                uint8_t* row = dib.GetRow(y);
                for (int x = 0; x < kWidth * 3; ++x) {
                    seed = seed * 1103515245u + 12345u;
                    row[x] =
                        static_cast<uint8_t>((x * 7 / 3 + y / 5 + (x % 3) * 60 + ((seed >> 16) & 15)) & 255);
                }
            }
            photos.push_back(ScratchDir() + "/photo" + std::to_string(k) + ".qln");
            if (ExportPicture(dib, 666, photos.back()) != IMPEXP_SUCCESS) std::abort();
        }
        std::vector<std::string> list;
        for (int i = 0; i < PictureCount(); ++i)
            list.push_back(photos[static_cast<size_t>(i % kDistinctPhotos)]);
        return list;
    }();
    return list;
}

void BM_DecodePictures(benchmark::State& state) {
    const auto& photos = PhotoList();
    for (auto _ : state) {
        for (const auto& p : photos) {
            std::unique_ptr<CDib> dib;
            if (ImportPicture(p, dib) != IMPEXP_SUCCESS) state.SkipWithError("decode failed");
            benchmark::DoNotOptimize(dib.get());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(photos.size()) * kWidth * kHeight);
}
BENCHMARK(BM_DecodePictures)->Unit(benchmark::kMillisecond)->MinTime(0.1);

void BM_AddPhotosScale1(benchmark::State& state) {
    const auto& photos = PhotoList();
    for (auto _ : state) {
        CAlbum album;
        album.m_nScale = 1;
        album.m_strProvisionalPath = ScratchDir() + "/bench.alb";
        album.AddPhotos(photos);
        QLNI_CloseFile();
        if (album.GetCount() != static_cast<int>(photos.size())) state.SkipWithError("add failed");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(photos.size()) * kWidth * kHeight);
}
BENCHMARK(BM_AddPhotosScale1)->Unit(benchmark::kMillisecond)->MinTime(0.1);

void BM_LoadAlbum1000(benchmark::State& state) {
    const std::string dir = ScratchDir() + "/many";
    std::filesystem::create_directories(dir);
    CAlbum album;
    for (int i = 0; i < 1000; ++i) {
        const std::string path = dir + "/photo-number-" + std::to_string(i) + ".qln";
        std::ofstream(path).put('x');
        album.AppendElem(path);
    }
    const std::string albumPath = dir + "/thousand.alb";
    WriteAlbumFileBeside(albumPath, [&](CArchive& ar) { album.Store(ar); });
    for (auto _ : state) {
        CAlbum loaded;
        loaded.LoadFile(albumPath);
        if (loaded.GetCount() != 1000) state.SkipWithError("load failed");
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LoadAlbum1000)->Unit(benchmark::kMillisecond);

} // namespace
