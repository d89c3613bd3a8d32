#include "storage/photo/QlnMemory.h"

#include "imaging/ImageMemory.h"

void* QLNI_DefaultAllocMemory(uint32_t dwSize, bool /*bDiscardable*/) {
    return AllocImageMemory(dwSize);
}

void QLNI_DefaultFreeMemory(void* p) {
    FreeImageMemory(p);
}
