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

// A block from AllocImageMemory that frees itself; it reads as a plain pointer.
template <class T> class CImageBlock {
public:
    CImageBlock() = default;
    explicit CImageBlock(void* p) : m_p(static_cast<T*>(p)) {}
    CImageBlock(const CImageBlock&) = delete;
    CImageBlock& operator=(const CImageBlock&) = delete;
    CImageBlock(CImageBlock&& other) noexcept : m_p(other.Release()) {}
    CImageBlock& operator=(CImageBlock&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~CImageBlock() { FreeImageMemory(m_p); }

    static CImageBlock Alloc(uint64_t nSize) { return CImageBlock(AllocImageMemory(nSize)); }

    T* Get() const { return m_p; }
    operator T*() const { return m_p; }
    T* operator->() const { return m_p; }
    // Takes over p (a block from AllocImageMemory, or null), freeing the old block.
    void Reset(void* p = nullptr) {
        if (p == m_p) return;
        FreeImageMemory(m_p);
        m_p = static_cast<T*>(p);
    }
    T* Release() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

private:
    T* m_p = nullptr;
};
