// Archive throughput: strings and words as album files hold them.

#include "framework/CArchive.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<uint8_t> MakeArchive(int nStrings) {
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    for (int i = 0; i < nStrings; ++i) {
        ar << std::string("C:\\PHOTOS\\ROLL0001\\IMAGE") + std::to_string(i) + ".QLN";
        ar << static_cast<uint16_t>(1002) << static_cast<uint32_t>(1000) << static_cast<uint32_t>(0);
    }
    ar.Close();
    return f.Data();
}

void BM_ArchiveStore(benchmark::State& state) {
    size_t nBytes = 0;
    for (auto _ : state) nBytes = MakeArchive(10000).size();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nBytes));
}
BENCHMARK(BM_ArchiveStore);

void BM_ArchiveLoad(benchmark::State& state) {
    const std::vector<uint8_t> data = MakeArchive(10000);
    for (auto _ : state) {
        CMemFile f(data);
        CArchive ar(&f, CArchive::load);
        for (int i = 0; i < 10000; ++i) {
            std::string s;
            uint16_t w;
            uint32_t d1, d2;
            ar >> s >> w >> d1 >> d2;
            benchmark::DoNotOptimize(s.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_ArchiveLoad);

} // namespace
