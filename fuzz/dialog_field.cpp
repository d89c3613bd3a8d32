// Reads arbitrary text as a dialog's integer field within several ranges: an
// accepted value lies in its range, a refused one gives the range message.

#include "view/core/DialogRules.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    static const int s_ranges[][2] = {{1, 9999}, {0, 360}, {8, 256}, {INT_MIN, INT_MAX}, {-255, 255}};
    for (const auto& r : s_ranges) {
        int n = 0;
        std::string strError;
        if (ValidateIntegerField(text, r[0], r[1], n, strError)) {
            if (n < r[0] || n > r[1] || !strError.empty()) __builtin_trap();
        } else if (strError.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
