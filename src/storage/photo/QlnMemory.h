#pragma once
// Memory for chunk data and pixels handed out by the photo-file layer.
//
// The default hooks are the image memory allocator (AllocImageMemory /
// FreeImageMemory): requests that would leave less than the 2 MB reserve of
// available memory are refused.

#include <cstdint>

using QlnAllocHook = void* (*)(uint32_t dwSize, bool bDiscardable);
using QlnFreeHook = void (*)(void* p);

// Bytes of available memory that every allocation keeps free.
inline constexpr uint64_t kQlnMemoryReserve = 2097152;

// Throws CMemoryException when dwSize is not smaller than the available
// memory less the reserve, or when the allocation fails.
void* QLNI_DefaultAllocMemory(uint32_t dwSize, bool bDiscardable);
void QLNI_DefaultFreeMemory(void* p);
