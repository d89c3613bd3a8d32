// Reads arbitrary bytes with the own bitmap codec (Windows and OS/2 headers): header information and
// the whole picture. Every size is bounded before anything is allocated.

#include "storage/formats/CBmpCodec.h"
#include "storage/formats/CRaster.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bLimited = (SetRasterMemoryLimitForTest(uint64_t{256} << 20), true);
    (void)s_bLimited;
    int w = 0, h = 0, bits = 0;
    CBmpCodec::Info(data, size, w, h, bits);
    CRaster raster;
    CBmpCodec::Read(data, size, raster);
    return 0;
}
