// Fuzz target: reading .BMP files (headers, colour tables, run-length data).

#include "FuzzMemory.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "imaging/CDib.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CFuzzMemory memory;
    CMemFile file(data, size);
    try {
        CDib dib(file);
        std::vector<uint8_t> rgb(static_cast<size_t>(dib.GetWidth()) * 3);
        for (int y = 0; y < dib.GetHeight(); ++y) dib.GetRowRGB(y, rgb.data());
    } catch (const CException&) {
    }
    return 0;
}
