#pragma once
// False colour: a 256-level grey image gets one of the false-colour palettes.

#include "imaging/FixedPalettes.h"

class CDib;

// CNotSupportedException unless the image is 8-bit grey with 256 levels.
void ApplyFalseColor(CDib& image, EFalseColor which);
