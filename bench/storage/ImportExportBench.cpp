// Import and export of a 12-megapixel picture per format, through the codec
// layer and the file system, in pixels per second.

#include "storage/formats/CRaster.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PictureFiles.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

std::string Scratch(const std::string& name) {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-impexp-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir + "/" + name;
}

// Smooth gradients with some grain, as photos are.
const CRaster& Picture(int nBits) {
    static CRaster s_colour, s_indexed;
    CRaster& r = nBits == 8 ? s_indexed : s_colour;
    if (r.IsEmpty()) {
        CRaster c;
        c.Create(kWidth, kHeight, 24);
        uint32_t seed = 1;
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* p = c.Row(y);
            for (int x = 0; x < kWidth; ++x, p += 3) {
                seed = seed * 1103515245 + 12345;
                const int grain = (seed >> 16) & 7;
                p[0] = static_cast<uint8_t>(x * 255 / kWidth + grain);
                p[1] = static_cast<uint8_t>(y * 255 / kHeight + grain);
                p[2] = static_cast<uint8_t>((x + y) * 127 / (kWidth + kHeight) + 64 + grain);
            }
        }
        if (nBits == 8)
            c.ConvertTo(8, r);
        else
            r = std::move(c);
    }
    return r;
}

void Export(benchmark::State& state, int nSaveType, int nBits) {
    const CRaster& pic = Picture(nBits);
    const std::string path = Scratch("out" + std::to_string(nSaveType) + "." + SaveTypeExtension(nSaveType));
    for (auto _ : state)
        if (WritePictureFile(pic, nSaveType, path) != IMPEXP_SUCCESS) state.SkipWithError("export failed");
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void Import(benchmark::State& state, int nSaveType, int nBits) {
    const std::string path = Scratch("in" + std::to_string(nSaveType) + "." + SaveTypeExtension(nSaveType));
    if (WritePictureFile(Picture(nBits), nSaveType, path) != IMPEXP_SUCCESS) {
        state.SkipWithError("could not write the input");
        return;
    }
    for (auto _ : state) {
        CRaster r;
        if (ReadPictureFile(path, r) != IMPEXP_SUCCESS) state.SkipWithError("import failed");
        benchmark::DoNotOptimize(r.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

BENCHMARK_CAPTURE(Export, Bmp24, 37, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Bmp24, 37, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Tif24, 14, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Tif24, 14, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Pcx24, 45, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Pcx24, 45, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Tga24, 3, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Tga24, 3, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Gif8, 46, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Gif8, 46, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Jpeg, 52, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Jpeg, 52, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Png24, 57, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, Png24, 57, 24)->Unit(benchmark::kMillisecond);

} // namespace
