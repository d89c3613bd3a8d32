// Reads arbitrary bytes with the WmfCodec reader: header information and
// the whole picture. Every size is bounded before anything is allocated.

#include "storage/formats/CRaster.h"
#include "storage/formats/CWmfCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bLimited = (SetRasterMemoryLimitForTest(uint64_t{256} << 20), true);
    (void)s_bLimited;
    int w = 0, h = 0, bits = 0;
    CWmfCodec::Info(data, size, w, h, bits);
    CRaster raster;
    CWmfCodec::Read(data, size, raster);
    return 0;
}
