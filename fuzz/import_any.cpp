// Recognises arbitrary bytes and reads them with every format code, own
// readers and GraphicsMagick alike (GraphicsMagick under its resource limits).

#include "storage/formats/CImageCodecs.h"
#include "storage/formats/CRaster.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bLimited = (SetRasterMemoryLimitForTest(uint64_t{256} << 20), true);
    (void)s_bLimited;
    if (size < 2) return 0;
    // The first byte picks the format code to try, the rest is the file.
    static const int kFormats[] = {0,  1,  2,  3,  4,  6,  10, 11, 14, 15, 25, 27,
                                   28, 29, 50, 51, 52, 53, 54, 55, 56, 63, 65};
    const int nFormat = kFormats[data[0] % (sizeof(kFormats) / sizeof(kFormats[0]))];
    data += 1, size -= 1;
    CImageFileInfo info;
    CImageCodecs::GetInfo(data, size, "", info);
    CRaster raster;
    const int nRead = nFormat ? nFormat : info.nFormat;
    if (nRead == 16) return 0; // PostScript runs an interpreter: not fuzzed here
    CImageCodecs::Read(data, size, nRead, raster);
    return 0;
}
