#include "imaging/ImageMemory.h"

#include "framework/CException.h"
#include "framework/SystemInfo.h"
#include "framework/Trace.h"

#include <cstdlib>

namespace {

uint64_t MemoryLimit() {
    uint64_t nAvail = GetAvailableMemory();
    return nAvail > kImageMemoryReserve ? nAvail - kImageMemoryReserve : 0;
}

} // namespace

void* AllocImageMemory(uint64_t nSize) {
    if (nSize >= MemoryLimit()) {
        ZTRACE("AllocImageMemory(): %llu bytes refused, memory low\n",
               static_cast<unsigned long long>(nSize));
        AfxThrowMemoryException();
    }
    void* p = std::malloc(nSize ? static_cast<size_t>(nSize) : 1);
    if (!p) AfxThrowMemoryException();
    return p;
}

void FreeImageMemory(void* p) {
    std::free(p);
}

uint64_t EstimateImageMemory(int nWidth, int nHeight, int nBitCount) {
    uint64_t nStride = ((static_cast<uint64_t>(nWidth < 0 ? 0 : nWidth) * nBitCount + 31) / 32) * 4;
    return (static_cast<uint64_t>(nHeight < 0 ? 0 : nHeight) + 16) * nStride + 8192;
}

bool IsMemoryAvailable(uint64_t nSize) {
    return nSize < MemoryLimit();
}
