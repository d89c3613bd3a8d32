#pragma once
// The display state the drawing code reads: the screen's depth, its reserved
// system colours and the drawing switches. Filled at start-up (and when the
// preferences change). Today's screens are true colour; ZOZI_DISPLAY_DEPTH=8
// (or 4) makes the program behave as on a palette display.

#include "framework/GdiTypes.h"

#include <vector>

struct CDisplayCaps {
    int nBitsPixel = 24;              // BITSPIXEL of the screen
    int nSizePalette = 0;             // SIZEPALETTE: 256 on an 8-bit display
    int nReserved = 0;                // NUMRESERVED: static system colours, s
    bool bIdentityPalette = false;    // the "Identity Palette" preference
    bool bWindowsStretch = false;     // the "Use Windows Stretch" preference
    bool bWin32s = false;             // never on today's hosts
    std::vector<RGBQUAD> firstStatic; // the first s/2 system colours
    std::vector<RGBQUAD> lastStatic;  // the last s/2 system colours
};

// The process-wide record; the first call fills it from ZOZI_DISPLAY_DEPTH.
CDisplayCaps& GetDisplayCaps();
// Sets the screen depth as a display of that many bits would report it: 8 bits
// give a 256-entry palette with the twenty system colours, 4 bits sixteen
// reserved colours, deeper displays no palette.
void SetDisplayDepth(int nBitsPixel);
