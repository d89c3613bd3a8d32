// Reads arbitrary bytes with the PcxCodec reader: header information and
// the whole picture. Every size is bounded before anything is allocated.

#include "storage/formats/CPcxCodec.h"
#include "storage/formats/CRaster.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bLimited = (SetRasterMemoryLimitForTest(uint64_t{256} << 20), true);
    (void)s_bLimited;
    int w = 0, h = 0, bits = 0;
    CPcxCodec::Info(data, size, w, h, bits);
    CRaster raster;
    CPcxCodec::Read(data, size, raster);
    return 0;
}
