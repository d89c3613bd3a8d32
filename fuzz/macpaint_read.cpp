// Reads arbitrary bytes as MacPaint through the import layer's codec table:
// recognition, header information and the whole picture.

#include "FormatFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzFormat(data, size, 51, "MAC");
}
