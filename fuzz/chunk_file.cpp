// Opens arbitrary bytes as a chunk file: list, integrity test, every chunk read.
// Every size and offset must be bounded by the file before anything is read
// or allocated for it.

#include "framework/CException.h"
#include "storage/photo/CQlnChunkFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void* BoundedAlloc(uint32_t n, bool) {
    if (n > (64u << 20)) AfxThrowMemoryException();
    void* p = std::malloc(n ? n : 1);
    if (!p) AfxThrowMemoryException();
    return p;
}

const std::string& ScratchPath() {
    static const std::string s_path = "/tmp/fuzz_chunk_file." + std::to_string(::getpid()) + ".qln";
    return s_path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CQlnChunkFile::SetMemoryHooks(BoundedAlloc, std::free);
    if (FILE* f = std::fopen(ScratchPath().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    CQlnChunkFile file;
    try {
        file.OpenChunkFile(ScratchPath());
    } catch (const CException&) {
        ::unlink(ScratchPath().c_str());
        return 0;
    }
    for (size_t i = 0; i < file.GetChunkCount(); ++i) {
        const uint32_t id = file.GetChunkIndex(i).m_dwChunkID;
        try {
            CChunkIndex rec;
            file.QueryChunk(id, rec);
            void* p = nullptr;
            uint32_t n = 0;
            if (file.GetChunk(id, &p, &n)) {
                volatile uint8_t sink = n ? static_cast<uint8_t*>(p)[n - 1] : 0;
                (void)sink;
                CQlnChunkFile::FreeChunkMemory(p);
            }
        } catch (const CException&) {
        }
    }
    try {
        file.TestFileIntegrity();
    } catch (const CException&) {
    }
    try {
        file.CloseChunkFile();
    } catch (const CException&) {
    }
    ::unlink(ScratchPath().c_str());
    return 0;
}
