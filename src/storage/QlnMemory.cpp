#include "storage/QlnMemory.h"

#include "framework/CException.h"
#include "framework/SystemInfo.h"
#include "framework/Trace.h"

#include <cstdlib>

void* QLNI_DefaultAllocMemory(uint32_t dwSize, bool /*bDiscardable*/) {
    const uint64_t available = GetAvailableMemory();
    if (available <= kQlnMemoryReserve || dwSize >= available - kQlnMemoryReserve) {
        ZTRACE("QLNI_DefaultAllocMemory(): %lu bytes refused, %llu available.\n",
               static_cast<unsigned long>(dwSize), static_cast<unsigned long long>(available));
        AfxThrowMemoryException();
    }
    void* p = std::malloc(dwSize ? dwSize : 1);
    if (!p) AfxThrowMemoryException();
    return p;
}

void QLNI_DefaultFreeMemory(void* p) {
    std::free(p);
}
