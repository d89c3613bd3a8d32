#pragma once
// PostScript and EPS pictures, rendered by Ghostscript in a sandbox: its own
// process group in a private temporary folder (removed afterwards), -dSAFER
// so that it reaches no file but its input and output, a page no larger than
// the pixel limit allows, a cap on the bytes it may write, and a time limit;
// a limit reached kills the whole process group.

#include "storage/formats/CRaster.h"

#include <cstddef>
#include <cstdint>

class CPostScriptCodec {
public:
    // Size from the bounding box (72 dpi; US Letter without one), 24 bits.
    static int Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits);
    // Renders the first page at 72 dpi. A page over the pixel limit gives
    // IMPEXP_ERR_TOO_MANY_PIXELS before anything runs; an interpreter that is
    // missing, fails, or reaches a limit gives IMPEXP_ERR_NO_POSTSCRIPT.
    static int Read(const uint8_t* p, size_t n, CRaster& out);

    // Seconds the interpreter may run (default 30).
    static void SetTimeLimit(int nSeconds);
    static int GetTimeLimit();
};
