// Photo files: JPEG and raw pixels through GetTag / SetTag, backward paths,
// chunk reads and writes. Image operations report pixels per second.

#include "storage/photo/CQlnChunkFile.h"
#include "storage/photo/QlnPhotoFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string ScratchPath(const char* name) {
    // Never destroyed, so that the exit handler can still name it.
    static const std::string* dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-bench-XXXXXX").string();
        auto* made = new std::string(::mkdtemp(pattern.data()));
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return made;
    }();
    return *dir + "/" + name;
}

// A picture with smooth gradients and some grain, so that JPEG sizes resemble photos.
struct CBenchPicture {
    uint32_t w, h, bpp;
    std::vector<uint8_t> bits;
    CBenchPicture(uint32_t width, uint32_t height, uint32_t bits_) : w(width), h(height), bpp(bits_) {
        const uint32_t stride = (w * bpp + 31) / 32 * 4;
        bits.assign(size_t{stride} * h, 0);
        uint32_t seed = 12345;
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* row = &bits[size_t{y} * stride];
            for (uint32_t x = 0; x < w * bpp / 8; ++x) {
                seed = seed * 1103515245 + 12345;
                row[x] = static_cast<uint8_t>((x * 7 / 3 + y / 5 + (x % 3) * 60 + ((seed >> 16) & 15)) & 255);
            }
        }
    }
    ImageRecType Record(uint16_t wCompression) {
        ImageRecType rec{};
        rec.Hdr.dwStructSize = kImageHdrSize;
        InitImageHeader(&rec.Hdr, w, h, bpp);
        rec.Hdr.DataCompression = wCompression;
        rec.pPixels = bits.data();
        return rec;
    }
};

// Bytes this process has passed to write() so far.
uint64_t BytesWritten() {
    FILE* f = std::fopen("/proc/self/io", "r");
    if (!f) return 0;
    char line[128];
    uint64_t n = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "wchar: %llu", reinterpret_cast<unsigned long long*>(&n)) == 1) break;
    std::fclose(f);
    return n;
}

void BM_ReadJpegMainImage(benchmark::State& state) {
    const uint32_t w = static_cast<uint32_t>(state.range(0)), h = w * 3 / 4;
    CBenchPicture pic(w, h, 24);
    auto rec = pic.Record(3);
    const std::string path = ScratchPath("read.qln");
    QLNI_CreateFile(path, &rec, nullptr, nullptr, true);
    QLNI_CloseFile();
    for (auto _ : state) {
        ImageRecType back{};
        back.Hdr.dwStructSize = kImageHdrSize;
        if (GetTag(path, QLNI_TAG_IMAGE, &back, nullptr) != 1) state.SkipWithError("GetTag failed");
        benchmark::DoNotOptimize(back.pPixels);
        QLNI_FreeTagData(back.pPixels);
    }
    QLNI_CloseFile();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
}
BENCHMARK(BM_ReadJpegMainImage)->Arg(1024)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteJpegMainImage(benchmark::State& state) {
    const uint32_t w = static_cast<uint32_t>(state.range(0)), h = w * 3 / 4;
    CBenchPicture pic(w, h, 24);
    auto rec = pic.Record(3);
    const std::string path = ScratchPath("write.qln");
    for (auto _ : state) {
        if (QLNI_CreateFile(path, &rec, nullptr, nullptr, true) != 1) state.SkipWithError("create failed");
        QLNI_CloseFile();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
}
BENCHMARK(BM_WriteJpegMainImage)->Arg(1024)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadRawMainImage(benchmark::State& state) {
    CBenchPicture pic(1600, 1200, 24);
    auto rec = pic.Record(0);
    const std::string path = ScratchPath("raw.qln");
    QLNI_CreateFile(path, &rec, nullptr, nullptr, true);
    QLNI_CloseFile();
    for (auto _ : state) {
        ImageRecType back{};
        back.Hdr.dwStructSize = kImageHdrSize;
        GetTag(path, QLNI_TAG_IMAGE, &back, nullptr);
        benchmark::DoNotOptimize(back.pPixels);
        QLNI_FreeTagData(back.pPixels);
    }
    QLNI_CloseFile();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * pic.w * pic.h);
}
BENCHMARK(BM_ReadRawMainImage)->Unit(benchmark::kMillisecond)->UseRealTime();

// Adding and removing an album on a photo file with a 5 MB main image: the
// bytes written per round show that the image is never copied.
void BM_AddRemoveBackwardPath(benchmark::State& state) {
    CBenchPicture pic(1600, 1100, 24); // 5.28 MB raw
    auto rec = pic.Record(0);
    const std::string path = ScratchPath("paths.qln");
    QLNI_CreateFile(path, &rec, nullptr, "/albums/first.alb", true);
    QLNI_CloseFile();
    const uint16_t scale = 1;
    uint64_t written = 0;
    for (auto _ : state) {
        const uint64_t before = BytesWritten();
        SetTag(path, QLNI_TAG_ALBUM_PATH, true, &scale, "/albums/second.alb");
        QLNI_CloseFile();
        DeleteTag(path, QLNI_TAG_ALBUM_PATH, &scale, "/albums/second.alb");
        QLNI_CloseFile();
        written += BytesWritten() - before;
    }
    state.counters["bytes_written_per_round"] =
        benchmark::Counter(static_cast<double>(written) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_AddRemoveBackwardPath)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ChunkSaveAndGet(benchmark::State& state) {
    const std::string path = ScratchPath("chunks.qln");
    CQlnChunkFile f;
    f.CreateOpenChunkFile(path, true);
    std::vector<uint8_t> data(static_cast<size_t>(state.range(0)), 7);
    for (auto _ : state) {
        f.SaveChunk(200, data.data(), static_cast<uint32_t>(data.size()), 10);
        void* p = nullptr;
        uint32_t n = 0;
        f.GetChunk(200, &p, &n);
        benchmark::DoNotOptimize(p);
        CQlnChunkFile::FreeChunkMemory(p);
    }
    f.CloseChunkFile();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) * 2);
}
BENCHMARK(BM_ChunkSaveAndGet)->Arg(64)->Arg(1 << 20)->UseRealTime();

} // namespace
