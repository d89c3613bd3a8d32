#pragma once
// Small helpers the image operations share: new 24-bit images with clean row
// padding, direct row addressing, the resolution copy.

#include "imaging/CDib.h"

#include <cstddef>
#include <cstring>
#include <memory>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Top-down row y of an image held in memory (rows are stored bottom-up):
// address of row 0 and the signed step from one row to the next below it.
inline uint8_t* DibTopRow(CDib& dib) {
    return dib.GetRow(0);
}
inline ptrdiff_t DibRowStep(const CDib& dib) {
    return -static_cast<ptrdiff_t>(dib.GetStride());
}

// Zeroes the bytes that pad each row to a multiple of 4.
inline void ZeroDibPadding(CDib& dib) {
    const int nUsed = (dib.GetWidth() * dib.GetBitCount() + 7) / 8;
    const int nPad = dib.GetStride() - nUsed;
    if (nPad <= 0) return;
    for (int y = 0; y < dib.GetHeight(); ++y) std::memset(dib.GetRow(y) + nUsed, 0, nPad);
}

// Asks for large pages behind a large pixel block that has not been touched
// yet: one page fault per 2 MB instead of per 4 KB when the block is filled.
inline void AdviseLargePages(CDib& dib) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const size_t nBytes = static_cast<size_t>(dib.GetStride()) * dib.GetHeight();
    constexpr size_t kPage = size_t(2) << 20;
    if (nBytes < 2 * kPage) return;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(dib.GetBits()) + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(dib.GetBits()) + nBytes) & ~(kPage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)dib;
#endif
}

// The resolution of one image given to another.
inline void CopyResolution(const CDib& source, CDib& dest) {
    dest.GetInfo()->biXPelsPerMeter = source.GetInfo()->biXPelsPerMeter;
    dest.GetInfo()->biYPelsPerMeter = source.GetInfo()->biYPelsPerMeter;
}

// A new 24-bit image with the resolution of pLike (when given). Pixels are
// left as they come; the padding is zero. bClear zeroes every pixel too.
inline std::unique_ptr<CDib> NewDib24(int nWidth, int nHeight, const CDib* pLike, bool bClear = false) {
    auto p = std::make_unique<CDib>(24, nWidth, nHeight, nullptr);
    AdviseLargePages(*p);
    if (pLike) CopyResolution(*pLike, *p);
    if (bClear)
        std::memset(p->GetBits(), 0, static_cast<size_t>(p->GetStride()) * nHeight);
    else
        ZeroDibPadding(*p);
    return p;
}
