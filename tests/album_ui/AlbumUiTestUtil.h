#pragma once
// Helpers shared by the album window and slide-show tests.

#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

// A photo file with a flat picture of the given shade.
inline void MakePhoto(const std::string& path, int w, int h, uint8_t shade) {
    CDib dib(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) std::memset(dib.GetRow(y), shade, static_cast<size_t>(dib.GetStride()));
    ASSERT_EQ(ExportPicture(dib, 666, path), 1);
}
