#pragma once
// The fixed tables of the ordered and diffusion dithers and the display
// palette they index: the 16 × 16 magic-square matrices for 51 and 255 steps,
// the Bayer matrix, the level and rest tables, and the display headers.
// Built once; on an 8-bit display with reserved colours AdjustDisplayPalette
// moves the colour cube and its red level table up by s/2.

#include "framework/GdiTypes.h"

#include <cstdint>
#include <vector>

struct CDitherTables {
    uint8_t magic51[16][16];  // values 0..50
    uint8_t magic255[16][16]; // values 0..253
    uint8_t bayer[16][16];    // values 0..255, each once

    // 256-colour tables, N = 51, extended to 306 with the top level. The
    // levels are already multiplied by the channel's step (1, 6, 36).
    uint8_t levelRed51[307], levelGreen51[307], levelBlue51[307];
    uint8_t rest51[307];
    // Eight-colour tables, N = 255, steps 1, 2, 4.
    uint8_t levelRed255[256], levelGreen255[256], levelBlue255[256];
    uint8_t rest255[256];

    RGBQUAD displayPalette[256]; // the 256-entry display palette, moved when adjusted
    int nDisplayOffset = 0;      // s/2 after the adjustment, else 0

    // Display headers (width and height 0, set per band by the drawing code):
    // 8-bit with the display palette, 8-bit with palette indexes 0..255,
    // 4-bit with the sixteen-colour palette, 4-bit with the eight-colour palette.
    std::vector<uint8_t> header8, header8Indices, header4Sixteen, header4Eight;
};

const CDitherTables& GetDitherTables();
// Moves the display palette for s reserved colours: entries 0..226 up by s/2,
// the first static colours before, the last ones at the end, s/2 added to the
// red level table. Starting from the unmoved tables each time.
void AdjustDisplayPalette(int nReserved, const RGBQUAD* pFirstStatic, const RGBQUAD* pLastStatic);
// Back to the unmoved tables.
void ResetDisplayPalette();
// Start-up: on an 8-bit display with reserved colours, the adjustment above
// with the display's static colours; otherwise the unmoved tables.
void PrepareDisplayTables();
