#pragma once
// All pixel and header memory of images. Allocation keeps a reserve of 2 MB of
// the available memory free; asking for more throws the memory exception.

#include <cstdint>

constexpr uint64_t kImageMemoryReserve = 2097152;

// A block of nSize bytes (not cleared); CMemoryException when nSize is not
// below the available memory less the reserve, or when allocation fails.
void* AllocImageMemory(uint64_t nSize);
// Frees a block from AllocImageMemory; null is ignored.
void FreeImageMemory(void* p);
// What an image of this size needs, with room for its header: (height + 16) × stride + 8192.
uint64_t EstimateImageMemory(int nWidth, int nHeight, int nBitCount);
// True when AllocImageMemory(nSize) would not refuse for want of memory.
bool IsMemoryAvailable(uint64_t nSize);
