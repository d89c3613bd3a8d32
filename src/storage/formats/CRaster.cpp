#include "storage/formats/CRaster.h"

#include "framework/CException.h"
#include "framework/SystemInfo.h"
#include "imaging/ImageMemory.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PixelLimit.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <unordered_map>

namespace {

constexpr uint64_t kReserve = 2097152;
uint64_t s_nTestLimit = 0;

inline int GrayOf(int r, int g, int b) {
    return (30 * r + 59 * g + 11 * b) / 100;
}

inline int GetIndex(const uint8_t* row, int x, int nBits) {
    switch (nBits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

inline void SetIndex(uint8_t* row, int x, int nBits, int v) {
    switch (nBits) {
    case 1:
        if (v)
            row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        else
            row[x >> 3] &= static_cast<uint8_t>(~(0x80 >> (x & 7)));
        break;
    case 4:
        if (x & 1)
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (v & 0x0F));
        else
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (v << 4));
        break;
    default:
        row[x] = static_cast<uint8_t>(v);
    }
}

// The 16 standard colours of a 4-bit display.
constexpr std::array<CRasterColor, 16> kVga16 = {{
    {0, 0, 0, 0},
    {0, 0, 128, 0},
    {0, 128, 0, 0},
    {0, 128, 128, 0},
    {128, 0, 0, 0},
    {128, 0, 128, 0},
    {128, 128, 0, 0},
    {192, 192, 192, 0},
    {128, 128, 128, 0},
    {0, 0, 255, 0},
    {0, 255, 0, 0},
    {0, 255, 255, 0},
    {255, 0, 0, 0},
    {255, 0, 255, 0},
    {255, 255, 0, 0},
    {255, 255, 255, 0},
}};

int NearestEntry(const std::vector<CRasterColor>& pal, int r, int g, int b) {
    int best = 0;
    int bestDist = 1 << 30;
    for (size_t i = 0; i < pal.size(); ++i) {
        int dr = pal[i].red - r, dg = pal[i].green - g, db = pal[i].blue - b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = static_cast<int>(i);
            if (d == 0) break;
        }
    }
    return best;
}

} // namespace

uint64_t GetRasterMemoryLimit() {
    if (s_nTestLimit) return s_nTestLimit;
    uint64_t avail = GetAvailableMemory();
    return avail > kReserve ? avail - kReserve : 0;
}

void SetRasterMemoryLimitForTest(uint64_t nLimit) {
    s_nTestLimit = nLimit;
}

int64_t CRaster::StrideFor(int64_t nWidth, int nBits) {
    return ((nWidth * nBits + 31) / 32) * 4;
}

bool CRaster::IsValidBitCount(int nBits) {
    return nBits == 1 || nBits == 4 || nBits == 8 || nBits == 16 || nBits == 24 || nBits == 32;
}

CRaster& CRaster::operator=(CRaster&& other) noexcept {
    if (this == &other) return *this;
    Free();
    m_palette = std::move(other.m_palette);
    m_nXRes = other.m_nXRes, m_nYRes = other.m_nYRes;
    m_nWidth = other.m_nWidth, m_nHeight = other.m_nHeight, m_nBits = other.m_nBits,
    m_nStride = other.m_nStride;
    m_pBits = other.m_pBits, m_nSize = other.m_nSize, m_bOwned = other.m_bOwned;
    other.m_pBits = nullptr, other.m_nSize = 0, other.m_bOwned = false;
    return *this;
}

void CRaster::Free() {
    if (m_bOwned) FreeImageMemory(m_pBits);
    m_pBits = nullptr;
    m_nSize = 0;
    m_bOwned = false;
}

void CRaster::Attach(int nWidth, int nHeight, int nBits, uint8_t* pBits) {
    Free();
    m_nWidth = nWidth, m_nHeight = nHeight, m_nBits = nBits;
    m_nStride = static_cast<int>(StrideFor(nWidth, nBits));
    m_pBits = pBits;
    m_nSize = static_cast<size_t>(m_nStride) * static_cast<size_t>(nHeight);
    m_palette.assign(nBits <= 8 ? (1u << nBits) : 0u, CRasterColor{});
}

uint8_t* CRaster::ReleaseBits() {
    if (!m_bOwned) return nullptr;
    uint8_t* p = m_pBits;
    m_pBits = nullptr, m_nSize = 0, m_bOwned = false;
    return p;
}

int CRaster::Create(int nWidth, int nHeight, int nBits, bool bZero) {
    if (!IsValidBitCount(nBits)) return IMPEXP_ERR_INV_BITS;
    if (nWidth <= 0 || nHeight <= 0 || nWidth > kMaxSide || nHeight > kMaxSide) return IMPEXP_ERR_INV_RANGE;
    if (!CheckPixelLimit(nWidth, nHeight)) return IMPEXP_ERR_TOO_MANY_PIXELS;
    return Allocate(nWidth, nHeight, nBits, bZero);
}

int CRaster::Allocate(int nWidth, int nHeight, int nBits, bool bZero) {
    if (!IsValidBitCount(nBits)) return IMPEXP_ERR_INV_BITS;
    if (nWidth <= 0 || nHeight <= 0 || nWidth > kMaxSide || nHeight > kMaxSide) return IMPEXP_ERR_INV_RANGE;
    int64_t stride = StrideFor(nWidth, nBits);
    uint64_t size = static_cast<uint64_t>(stride) * static_cast<uint64_t>(nHeight);
    if (size >= GetRasterMemoryLimit()) return IMPEXP_ERR_NO_MEMORY;
    Free();
    try {
        m_palette.assign(nBits <= 8 ? (1u << nBits) : 0u, CRasterColor{});
        m_pBits = static_cast<uint8_t*>(AllocImageMemory(size));
    } catch (const CMemoryException&) {
        return IMPEXP_ERR_NO_MEMORY;
    } catch (const std::bad_alloc&) {
        return IMPEXP_ERR_NO_MEMORY;
    }
    m_bOwned = true;
    m_nSize = size;
    const size_t used = (static_cast<size_t>(nWidth) * nBits + 7) / 8;
    if (bZero) {
        std::memset(m_pBits, 0, size);
    } else if (used < static_cast<size_t>(stride)) {
        // Decoders write the pixels; the padding at the end of each row is cleared here.
        for (int y = 0; y < nHeight; ++y)
            std::memset(m_pBits + static_cast<size_t>(y) * stride + used, 0, stride - used);
    }
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nBits = nBits;
    m_nStride = static_cast<int>(stride);
    return IMPEXP_SUCCESS;
}

void CRaster::SetGrayPalette() {
    size_t n = m_palette.size();
    for (size_t i = 0; i < n; ++i) {
        auto v = static_cast<uint8_t>(n > 1 ? i * 255 / (n - 1) : 0);
        m_palette[i] = {v, v, v, 0};
    }
}

bool CRaster::HasGrayPalette() const {
    if (m_palette.empty()) return false;
    return std::all_of(m_palette.begin(), m_palette.end(),
                       [](const CRasterColor& c) { return c.red == c.green && c.green == c.blue; });
}

void CRaster::GetRowBGR(int y, uint8_t* d) const {
    const uint8_t* s = Row(y);
    const int w = m_nWidth;
    switch (m_nBits) {
    case 24:
        std::memcpy(d, s, static_cast<size_t>(w) * 3);
        break;
    case 32:
        for (int x = 0; x < w; ++x, s += 4, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
        break;
    case 16:
        for (int x = 0; x < w; ++x, d += 3) {
            int v = s[2 * x] | (s[2 * x + 1] << 8);
            d[0] = static_cast<uint8_t>((v & 0x1F) << 3);
            d[1] = static_cast<uint8_t>(((v >> 5) & 0x1F) << 3);
            d[2] = static_cast<uint8_t>(((v >> 10) & 0x1F) << 3);
        }
        break;
    default:
        for (int x = 0; x < w; ++x, d += 3) {
            const CRasterColor& c = m_palette[GetIndex(s, x, m_nBits)];
            d[0] = c.blue, d[1] = c.green, d[2] = c.red;
        }
    }
}

int CRaster::ConvertTo(int nBits, CRaster& out) const {
    int rc = out.Allocate(m_nWidth, m_nHeight, nBits, nBits > 8);
    if (rc != IMPEXP_SUCCESS) return rc;
    out.m_nXRes = m_nXRes;
    out.m_nYRes = m_nYRes;
    if (nBits == m_nBits) {
        std::memcpy(out.GetBits(), GetBits(), GetImageSize());
        out.m_palette = m_palette;
        return IMPEXP_SUCCESS;
    }
    const int w = m_nWidth;
    std::vector<uint8_t> bgr(static_cast<size_t>(w) * 3);

    if (nBits > 8) {
        for (int y = 0; y < m_nHeight; ++y) {
            GetRowBGR(y, bgr.data());
            uint8_t* d = out.Row(y);
            const uint8_t* s = bgr.data();
            if (nBits == 24) {
                std::memcpy(d, s, bgr.size());
            } else if (nBits == 32) {
                for (int x = 0; x < w; ++x, s += 3, d += 4) d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 0;
            } else {
                for (int x = 0; x < w; ++x, s += 3) {
                    int v = (s[0] >> 3) | ((s[1] >> 3) << 5) | ((s[2] >> 3) << 10);
                    d[2 * x] = static_cast<uint8_t>(v);
                    d[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                }
            }
        }
        return IMPEXP_SUCCESS;
    }

    const size_t nMax = size_t{1} << nBits;
    // Fewer bits from a table picture whose used entries fit: keep them.
    if (m_nBits <= 8) {
        std::vector<int> map(m_palette.size(), -1);
        std::vector<CRasterColor> pal;
        bool fits = true;
        for (int y = 0; y < m_nHeight && fits; ++y) {
            const uint8_t* s = Row(y);
            for (int x = 0; x < w; ++x) {
                int i = GetIndex(s, x, m_nBits);
                if (map[i] >= 0) continue;
                auto it = std::find(pal.begin(), pal.end(), m_palette[i]);
                if (it != pal.end()) {
                    map[i] = static_cast<int>(it - pal.begin());
                } else if (pal.size() < nMax) {
                    map[i] = static_cast<int>(pal.size());
                    pal.push_back(m_palette[i]);
                } else {
                    fits = false;
                    break;
                }
            }
        }
        if (fits) {
            std::copy(pal.begin(), pal.end(), out.m_palette.begin());
            for (int y = 0; y < m_nHeight; ++y) {
                const uint8_t* s = Row(y);
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x) SetIndex(d, x, nBits, map[GetIndex(s, x, m_nBits)]);
            }
            return IMPEXP_SUCCESS;
        }
    } else {
        // A true-colour picture with few colours gets them exactly.
        std::unordered_map<uint32_t, int> colours;
        bool fits = true;
        for (int y = 0; y < m_nHeight && fits; ++y) {
            GetRowBGR(y, bgr.data());
            for (int x = 0; x < w; ++x) {
                uint32_t key = bgr[3 * x] | (bgr[3 * x + 1] << 8) | (bgr[3 * x + 2] << 16);
                if (colours.count(key)) continue;
                if (colours.size() == nMax) {
                    fits = false;
                    break;
                }
                int n = static_cast<int>(colours.size());
                colours.emplace(key, n);
                out.m_palette[n] = {bgr[3 * x], bgr[3 * x + 1], bgr[3 * x + 2], 0};
            }
        }
        if (fits) {
            for (int y = 0; y < m_nHeight; ++y) {
                GetRowBGR(y, bgr.data());
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x) {
                    uint32_t key = bgr[3 * x] | (bgr[3 * x + 1] << 8) | (bgr[3 * x + 2] << 16);
                    SetIndex(d, x, nBits, colours[key]);
                }
            }
            return IMPEXP_SUCCESS;
        }
        std::fill(out.m_palette.begin(), out.m_palette.end(), CRasterColor{});
    }

    // Too many colours: a fixed table and a lookup per colour.
    bool gray = m_nBits <= 8 && HasGrayPalette();
    if (nBits == 1) {
        out.m_palette[0] = {0, 0, 0, 0};
        out.m_palette[1] = {255, 255, 255, 0};
    } else if (gray) {
        out.SetGrayPalette();
    } else if (nBits == 4) {
        std::copy(kVga16.begin(), kVga16.end(), out.m_palette.begin());
    } else {
        int n = 0;
        for (int b = 0; b < 6; ++b)
            for (int g = 0; g < 6; ++g)
                for (int r = 0; r < 6; ++r)
                    out.m_palette[n++] = {static_cast<uint8_t>(b * 51), static_cast<uint8_t>(g * 51),
                                          static_cast<uint8_t>(r * 51), 0};
        for (; n < 256; ++n) {
            auto v = static_cast<uint8_t>((n - 216) * 255 / 39);
            out.m_palette[n] = {v, v, v, 0};
        }
    }
    auto mapColour = [&](int r, int g, int b) -> int {
        if (nBits == 1) return GrayOf(r, g, b) >= 128 ? 1 : 0;
        if (gray) return GrayOf(r, g, b) * (static_cast<int>(nMax) - 1) / 255 * 1;
        if (nBits == 8 && !(r == g && g == b))
            return (r + 25) / 51 + 6 * ((g + 25) / 51) + 36 * ((b + 25) / 51);
        return NearestEntry(out.m_palette, r, g, b);
    };
    if (m_nBits <= 8) {
        std::vector<int> map(m_palette.size());
        for (size_t i = 0; i < map.size(); ++i)
            map[i] = mapColour(m_palette[i].red, m_palette[i].green, m_palette[i].blue);
        for (int y = 0; y < m_nHeight; ++y) {
            const uint8_t* s = Row(y);
            uint8_t* d = out.Row(y);
            for (int x = 0; x < w; ++x) SetIndex(d, x, nBits, map[GetIndex(s, x, m_nBits)]);
        }
        return IMPEXP_SUCCESS;
    }
    std::unordered_map<uint32_t, int> cache;
    for (int y = 0; y < m_nHeight; ++y) {
        GetRowBGR(y, bgr.data());
        uint8_t* d = out.Row(y);
        for (int x = 0; x < w; ++x) {
            int b = bgr[3 * x], g = bgr[3 * x + 1], r = bgr[3 * x + 2];
            int v;
            if (nBits == 4 && !gray) {
                uint32_t key = b | (g << 8) | (r << 16);
                auto it = cache.find(key);
                if (it == cache.end()) it = cache.emplace(key, mapColour(r, g, b)).first;
                v = it->second;
            } else {
                v = mapColour(r, g, b);
            }
            SetIndex(d, x, nBits, v);
        }
    }
    return IMPEXP_SUCCESS;
}

int CRaster::CountColours(int nLimit) const {
    std::vector<uint8_t> bgr(static_cast<size_t>(m_nWidth) * 3);
    std::unordered_map<uint32_t, int> seen;
    uint32_t last = 0xFFFFFFFF;
    for (int y = 0; y < m_nHeight; ++y) {
        GetRowBGR(y, bgr.data());
        for (int x = 0; x < m_nWidth; ++x) {
            uint32_t key = bgr[3 * x] | (bgr[3 * x + 1] << 8) | (bgr[3 * x + 2] << 16);
            if (key == last) continue;
            last = key;
            seen.emplace(key, 0);
            if (static_cast<int>(seen.size()) > nLimit) return nLimit + 1;
        }
    }
    return static_cast<int>(seen.size());
}

bool CRaster::ReduceExact(int nBits) {
    if (nBits >= m_nBits || nBits > 8) return false;
    if (CountColours(1 << nBits) > (1 << nBits)) return false;
    CRaster reduced;
    if (ConvertTo(nBits, reduced) != IMPEXP_SUCCESS) return false;
    *this = std::move(reduced);
    return true;
}
