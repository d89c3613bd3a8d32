#pragma once
// PackBits run-length coding (Apple's, also used by TIFF and MacPaint).

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the PackBits coding of n bytes.
void PackBitsEncode(const uint8_t* p, size_t n, std::vector<uint8_t>& out);
