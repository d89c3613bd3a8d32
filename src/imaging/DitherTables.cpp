#include "imaging/DitherTables.h"

#include "framework/DisplayCaps.h"
#include "imaging/FixedPalettes.h"

#include <algorithm>
#include <cstring>

namespace {

void PutHeader(std::vector<uint8_t>& block, int nBitCount, const void* pTable, size_t nTableBytes) {
    block.assign(40 + nTableBytes, 0);
    BITMAPINFOHEADER h;
    h.biBitCount = static_cast<uint16_t>(nBitCount);
    std::memcpy(block.data(), &h, 40);
    std::memcpy(block.data() + 40, pTable, nTableBytes);
}

void Build(CDitherTables& t, int nOffset) {
    static const int Q[4][4] = {{0, 14, 3, 13}, {11, 5, 8, 6}, {12, 2, 15, 1}, {7, 9, 4, 10}};
    for (int n : {51, 255}) {
        double f = (n - 1) / 16.0;
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j) {
                double v = 0.5 + Q[i % 4][j % 4] * f + (Q[i / 4][j / 4] / 16.0) * f;
                (n == 51 ? t.magic51 : t.magic255)[i][j] = static_cast<uint8_t>(v);
            }
    }
    // Bayer: B(2n)[i][j] = 4 B(n)[i mod n][j mod n] + D[i div n][j div n].
    static const int D[2][2] = {{0, 3}, {2, 1}};
    int b[16][16] = {{0}};
    for (int n = 1; n < 16; n *= 2) {
        int next[16][16];
        for (int i = 0; i < 2 * n; ++i)
            for (int j = 0; j < 2 * n; ++j) next[i][j] = 4 * b[i % n][j % n] + D[i / n][j / n];
        for (int i = 0; i < 2 * n; ++i)
            for (int j = 0; j < 2 * n; ++j) b[i][j] = next[i][j];
    }
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j) t.bayer[i][j] = static_cast<uint8_t>(b[i][j]);

    for (int v = 0; v < 307; ++v) {
        int nLevel = std::min(v / 51, 5);
        t.levelRed51[v] = static_cast<uint8_t>(nLevel + nOffset);
        t.levelGreen51[v] = static_cast<uint8_t>(nLevel * 6);
        t.levelBlue51[v] = static_cast<uint8_t>(nLevel * 36);
        t.rest51[v] = static_cast<uint8_t>(v < 256 ? v % 51 : 0);
    }
    for (int v = 0; v < 256; ++v) {
        int nLevel = v / 255;
        t.levelRed255[v] = static_cast<uint8_t>(nLevel);
        t.levelGreen255[v] = static_cast<uint8_t>(nLevel * 2);
        t.levelBlue255[v] = static_cast<uint8_t>(nLevel * 4);
        t.rest255[v] = static_cast<uint8_t>(v % 255);
    }
    t.nDisplayOffset = nOffset;

    uint16_t indices[256];
    for (int i = 0; i < 256; ++i) indices[i] = static_cast<uint16_t>(i);
    PutHeader(t.header8, 8, t.displayPalette, sizeof t.displayPalette);
    PutHeader(t.header8Indices, 8, indices, sizeof indices);
    PutHeader(t.header4Sixteen, 4, GetSixteenColorPalette(), 16 * sizeof(RGBQUAD));
    PutHeader(t.header4Eight, 4, GetEightColorPalette(), 16 * sizeof(RGBQUAD));
}

void FillDisplayPalette(RGBQUAD* p) {
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r)
                p[r + 6 * g + 36 * b] = RGBQUAD{static_cast<uint8_t>(b * 51), static_cast<uint8_t>(g * 51),
                                                static_cast<uint8_t>(r * 51), 0};
    static const uint8_t kGreys[11] = {17, 34, 68, 85, 102, 128, 136, 170, 192, 221, 238};
    for (int i = 0; i < 11; ++i) p[216 + i] = RGBQUAD{kGreys[i], kGreys[i], kGreys[i], 0};
    for (int i = 227; i < 256; ++i) p[i] = RGBQUAD{};
}

CDitherTables& Tables() {
    static CDitherTables t = [] {
        CDitherTables x;
        FillDisplayPalette(x.displayPalette);
        Build(x, 0);
        return x;
    }();
    return t;
}

} // namespace

const CDitherTables& GetDitherTables() {
    return Tables();
}

void AdjustDisplayPalette(int nReserved, const RGBQUAD* pFirstStatic, const RGBQUAD* pLastStatic) {
    CDitherTables& t = Tables();
    int nHalf = std::clamp(nReserved / 2, 0, 14);
    RGBQUAD base[256];
    FillDisplayPalette(base);
    std::fill(t.displayPalette, t.displayPalette + 256, RGBQUAD{});
    for (int i = 0; i < 227; ++i) t.displayPalette[i + nHalf] = base[i];
    for (int i = 0; i < nHalf; ++i) {
        if (pFirstStatic) t.displayPalette[i] = pFirstStatic[i];
        if (pLastStatic) t.displayPalette[256 - nHalf + i] = pLastStatic[i];
    }
    for (auto& q : t.displayPalette) q.rgbReserved = 0;
    Build(t, nHalf);
}

void ResetDisplayPalette() {
    CDitherTables& t = Tables();
    FillDisplayPalette(t.displayPalette);
    Build(t, 0);
}

void PrepareDisplayTables() {
    const CDisplayCaps& caps = GetDisplayCaps();
    int nHalf = caps.nReserved / 2;
    if (caps.nBitsPixel == 8 && nHalf > 0 && static_cast<int>(caps.firstStatic.size()) >= nHalf &&
        static_cast<int>(caps.lastStatic.size()) >= nHalf)
        AdjustDisplayPalette(caps.nReserved, caps.firstStatic.data(), caps.lastStatic.data());
    else
        ResetDisplayPalette();
}
