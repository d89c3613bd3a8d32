#include "storage/QlnMemory.h"

#include "framework/CException.h"
#include "framework/SystemInfo.h"
#include "framework/Trace.h"

#include <cstdlib>
#include <sys/mman.h>

namespace {

// Every block starts with its kind and size, so that the release hook knows
// how it was made. Large blocks are mapped with their pages present: faulting
// in a picture's pages one by one costs more than decoding it.
constexpr uint64_t kHeapBlock = 0x51484541504D454Dull;
constexpr uint64_t kMappedBlock = 0x514D4150504D454Dull;
constexpr size_t kHeader = 16;
constexpr uint32_t kMapThreshold = 1u << 20;

} // namespace

void* QLNI_DefaultAllocMemory(uint32_t dwSize, bool /*bDiscardable*/) {
    const uint64_t available = GetAvailableMemory();
    if (available <= kQlnMemoryReserve || dwSize >= available - kQlnMemoryReserve) {
        ZTRACE("QLNI_DefaultAllocMemory(): %lu bytes refused, %llu available.\n",
               static_cast<unsigned long>(dwSize), static_cast<unsigned long long>(available));
        AfxThrowMemoryException();
    }
    const size_t total = size_t{dwSize} + kHeader;
    uint64_t* p = nullptr;
    if (dwSize >= kMapThreshold) {
        void* m =
            ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (m != MAP_FAILED) {
            p = static_cast<uint64_t*>(m);
            p[0] = kMappedBlock;
        }
    }
    if (!p) {
        p = static_cast<uint64_t*>(std::malloc(total));
        if (!p) AfxThrowMemoryException();
        p[0] = kHeapBlock;
    }
    p[1] = total;
    return reinterpret_cast<uint8_t*>(p) + kHeader;
}

void QLNI_DefaultFreeMemory(void* pBlock) {
    if (!pBlock) return;
    auto* p = reinterpret_cast<uint64_t*>(static_cast<uint8_t*>(pBlock) - kHeader);
    if (p[0] == kMappedBlock)
        ::munmap(p, static_cast<size_t>(p[1]));
    else
        std::free(p);
}
