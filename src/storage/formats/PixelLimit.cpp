#include "storage/formats/PixelLimit.h"

#include "framework/StringTable.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<uint64_t> g_nSettingPixels{kDefaultMaxPixels};

thread_local int64_t t_nRefusedWidth = 0;
thread_local int64_t t_nRefusedHeight = 0;

constexpr uint32_t IDS_TOO_MANY_PIXELS = 1395;

} // namespace

uint64_t GetMaxPixels() {
    if (const char* env = std::getenv("ZOZI_MAX_PIXELS")) {
        char* end = nullptr;
        unsigned long long v = std::strtoull(env, &end, 10);
        if (end != env && *end == '\0' && v > 0) return v;
    }
    return g_nSettingPixels.load();
}

void SetMaxMegapixels(int nMegapixels) {
    g_nSettingPixels = nMegapixels > 0 ? static_cast<uint64_t>(nMegapixels) * 1'000'000 : kDefaultMaxPixels;
}

bool CheckPixelLimit(int64_t nWidth, int64_t nHeight) {
    if (nWidth <= 0 || nHeight <= 0) return true; // the readers refuse empty sizes themselves
    const uint64_t nLimit = GetMaxPixels();
    const uint64_t w = static_cast<uint64_t>(nWidth), h = static_cast<uint64_t>(nHeight);
    if (w <= nLimit && h <= nLimit / w) return true;
    t_nRefusedWidth = nWidth;
    t_nRefusedHeight = nHeight;
    return false;
}

std::string PixelLimitText() {
    const uint64_t nLimit = GetMaxPixels();
    std::string size = std::to_string(t_nRefusedWidth) + " x " + std::to_string(t_nRefusedHeight);
    std::string limit =
        nLimit % 1'000'000 == 0 ? std::to_string(nLimit / 1'000'000) + " million" : std::to_string(nLimit);
    return FormatMessageText(LoadResString(IDS_TOO_MANY_PIXELS), size, limit);
}
