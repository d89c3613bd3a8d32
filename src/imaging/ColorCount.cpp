#include "imaging/ColorCount.h"

#include "imaging/CDib.h"

#include <cstring>
#include <memory>
#include <vector>

uint32_t CountColors(CDib& image) {
    // One bit per possible colour (2 MB): exact, and no probing of a hash set.
    const std::unique_ptr<uint64_t[]> pSeen(new uint64_t[(1u << 24) / 64]());
    uint64_t* seen = pSeen.get();
    uint32_t nCount = 0;
    const int w = image.GetWidth();
    const bool b24 = image.GetBitCount() == 24;
    std::vector<uint8_t> buffer(b24 ? 0 : size_t(w) * 3);
    uint32_t nLast = 0xFFFFFFFF;
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* p = image.GetRowRGB(y, b24 ? nullptr : buffer.data());
        for (int x = 0; x < w; ++x, p += 3) {
            const uint32_t c = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
            if (c == nLast) continue; // runs of one colour are common
            nLast = c;
            uint64_t& word = seen[c >> 6];
            const uint64_t bit = uint64_t(1) << (c & 63);
            nCount += (word & bit) == 0;
            word |= bit;
        }
    }
    return nCount;
}
