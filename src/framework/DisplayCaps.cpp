#include "framework/DisplayCaps.h"

#include <cstdlib>

namespace {

constexpr RGBQUAD Q(int r, int g, int b) {
    return RGBQUAD{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
}

// The twenty static colours of a palette display, first half and last half.
const RGBQUAD kFirstSystem[10] = {Q(0, 0, 0),       Q(128, 0, 0),    Q(0, 128, 0),   Q(128, 128, 0),
                                  Q(0, 0, 128),     Q(128, 0, 128),  Q(0, 128, 128), Q(192, 192, 192),
                                  Q(192, 220, 192), Q(166, 202, 240)};
const RGBQUAD kLastSystem[10] = {Q(255, 251, 240), Q(160, 160, 164), Q(128, 128, 128), Q(255, 0, 0),
                                 Q(0, 255, 0),     Q(255, 255, 0),   Q(0, 0, 255),     Q(255, 0, 255),
                                 Q(0, 255, 255),   Q(255, 255, 255)};

void FillCaps(CDisplayCaps& caps, int nBitsPixel) {
    caps.nBitsPixel = nBitsPixel;
    caps.firstStatic.clear();
    caps.lastStatic.clear();
    if (nBitsPixel == 8) {
        caps.nSizePalette = 256;
        caps.nReserved = 20;
        caps.firstStatic.assign(kFirstSystem, kFirstSystem + 10);
        caps.lastStatic.assign(kLastSystem, kLastSystem + 10);
    } else if (nBitsPixel <= 4) {
        // A sixteen-colour display: its palette is all system colours.
        caps.nSizePalette = 16;
        caps.nReserved = 16;
        caps.firstStatic.assign(kFirstSystem, kFirstSystem + 8);
        caps.lastStatic.assign(kLastSystem + 2, kLastSystem + 10);
    } else {
        caps.nSizePalette = 0;
        caps.nReserved = 0;
    }
}

CDisplayCaps MakeCaps() {
    CDisplayCaps caps;
    int n = 24;
    if (const char* p = std::getenv("ZOZI_DISPLAY_DEPTH")) {
        int v = std::atoi(p);
        if (v == 4 || v == 8) n = v;
    }
    FillCaps(caps, n);
    return caps;
}

} // namespace

CDisplayCaps& GetDisplayCaps() {
    static CDisplayCaps caps = MakeCaps();
    return caps;
}

void SetDisplayDepth(int nBitsPixel) {
    FillCaps(GetDisplayCaps(), nBitsPixel);
}
