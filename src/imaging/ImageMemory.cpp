#include "imaging/ImageMemory.h"

#include "framework/CException.h"
#include "framework/SystemInfo.h"
#include "framework/Trace.h"

#include <cstdlib>
#include <cstring>

#if defined(__unix__)
#include <sys/mman.h>
#define ZOZI_MAP_IMAGES 1
#endif

namespace {

uint64_t MemoryLimit() {
    uint64_t nAvail = GetAvailableMemory();
    return nAvail > kImageMemoryReserve ? nAvail - kImageMemoryReserve : 0;
}

// Every block is preceded by its length and kind. Large blocks are mapped
// directly and asked for huge pages: faulting in tens of megabytes page by
// page costs more than most image operations.
constexpr uint64_t kMapThreshold = 2u << 20;
constexpr size_t kMapLead = 4096; // room for the header in front of a mapped block
constexpr size_t kHeapLead = 16;
enum : uint64_t { kHeapBlock = 0x5A48, kMappedBlock = 0x5A4D };

void PutHeader(uint8_t* p, uint64_t nLength, uint64_t nKind) {
    std::memcpy(p - 16, &nLength, 8);
    std::memcpy(p - 8, &nKind, 8);
}

} // namespace

void* AllocImageMemory(uint64_t nSize) {
    if (nSize >= MemoryLimit()) {
        ZTRACE("AllocImageMemory(): %llu bytes refused, memory low\n",
               static_cast<unsigned long long>(nSize));
        AfxThrowMemoryException();
    }
#ifdef ZOZI_MAP_IMAGES
    if (nSize >= kMapThreshold) {
        size_t nLength = static_cast<size_t>(nSize) + kMapLead;
        void* pBase = ::mmap(nullptr, nLength, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pBase == MAP_FAILED) AfxThrowMemoryException();
        ::madvise(pBase, nLength, MADV_HUGEPAGE); // a hint; without huge pages it still works
        uint8_t* p = static_cast<uint8_t*>(pBase) + kMapLead;
        PutHeader(p, nLength, kMappedBlock);
        return p;
    }
#endif
    auto* pBase = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(nSize) + kHeapLead));
    if (!pBase) AfxThrowMemoryException();
    uint8_t* p = pBase + kHeapLead;
    PutHeader(p, nSize + kHeapLead, kHeapBlock);
    return p;
}

void FreeImageMemory(void* pBlock) {
    if (!pBlock) return;
    auto* p = static_cast<uint8_t*>(pBlock);
    uint64_t nLength, nKind;
    std::memcpy(&nLength, p - 16, 8);
    std::memcpy(&nKind, p - 8, 8);
#ifdef ZOZI_MAP_IMAGES
    if (nKind == kMappedBlock) {
        ::munmap(p - kMapLead, static_cast<size_t>(nLength));
        return;
    }
#endif
    std::free(p - kHeapLead);
}

uint64_t EstimateImageMemory(int nWidth, int nHeight, int nBitCount) {
    uint64_t nStride = ((static_cast<uint64_t>(nWidth < 0 ? 0 : nWidth) * nBitCount + 31) / 32) * 4;
    return (static_cast<uint64_t>(nHeight < 0 ? 0 : nHeight) + 16) * nStride + 8192;
}

bool IsMemoryAvailable(uint64_t nSize) {
    return nSize < MemoryLimit();
}
