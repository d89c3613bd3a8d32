#pragma once
// The fixed colour tables of the system. The 256-entry display palette lives
// with the dither tables (it moves on a display with reserved colours).

#include "framework/GdiTypes.h"

// 16 entries: entry i (0..7) has red, green, blue 255 for bits 0, 1, 2 of i; 8..15 black.
const RGBQUAD* GetEightColorPalette();
// 16 entries of the sixteen-colour diffusion.
const RGBQUAD* GetSixteenColorPalette();
// 2 entries: black, white.
const RGBQUAD* GetBWPalette();
// 256 entries (i, i, i).
const RGBQUAD* GetGrayPalette();
// The 256-entry display palette (as adjusted for the display).
const RGBQUAD* GetDisplayPalette();

enum class EFalseColor { PseudoColor, Spectrum, FireSky };
// 256 entries, piecewise linear ramps.
const RGBQUAD* GetFalseColorPalette(EFalseColor which);
