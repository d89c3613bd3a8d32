// Fuzz target: packed device-independent bitmaps (the clipboard's CF_DIB).

#include "FuzzMemory.h"
#include "framework/CException.h"
#include "imaging/CDib.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CFuzzMemory memory;
    try {
        CDib dib(data, size);
        std::vector<uint8_t> rgb(static_cast<size_t>(dib.GetWidth()) * 3);
        for (int y = 0; y < dib.GetHeight(); ++y) dib.GetRowRGB(y, rgb.data());
        std::vector<uint8_t> again = dib.CreatePackedDib();
        CDib copy(again.data(), again.size());
    } catch (const CException&) {
    }
    return 0;
}
