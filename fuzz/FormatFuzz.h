#pragma once
// One format through the import layer's codec table, as a file of that
// format is read: recognition with its extension, header information, then
// the whole picture with the format's code. Memory and pixels are bounded as
// in the program, only lower, so that a hostile header is refused quickly.

#include "storage/formats/CImageCodecs.h"
#include "storage/formats/CRaster.h"
#include "storage/formats/PixelLimit.h"

#include <cstddef>
#include <cstdint>
#include <string>

inline int FuzzFormat(const uint8_t* data, size_t size, int nFormat, const char* ext) {
    static const bool s_bLimited =
        (SetRasterMemoryLimitForTest(uint64_t{256} << 20), SetMaxMegapixels(16), true);
    (void)s_bLimited;
    CImageCodecs::Sniff(data, size, ext);
    CImageFileInfo info;
    CImageCodecs::GetInfo(data, size, ext, info);
    CRaster raster;
    CImageCodecs::Read(data, size, nFormat, raster);
    return 0;
}
