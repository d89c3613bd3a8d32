#pragma once
// Small pictures for the imaging tests.

#include "imaging/CDib.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <random>

// A 24-bit picture whose pixel (x, y) is fill(x, y, channel) (channel 0 blue, 1 green, 2 red).
inline std::unique_ptr<CDib> MakePicture(int w, int h, const std::function<int(int, int, int)>& fill) {
    auto p = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) row[3 * x + c] = static_cast<uint8_t>(fill(x, y, c));
    }
    return p;
}

inline std::unique_ptr<CDib> MakeUniform(int w, int h, int b, int g, int r) {
    return MakePicture(w, h, [=](int, int, int c) { return c == 0 ? b : (c == 1 ? g : r); });
}

inline std::unique_ptr<CDib> MakeRandom(int w, int h, uint32_t seed) {
    std::mt19937 rng(seed);
    return MakePicture(w, h, [&](int, int, int) { return int(rng() & 255); });
}

inline int Px(CDib& d, int x, int y, int c) {
    return d.GetRow(y)[3 * x + c];
}

inline bool SamePixels(CDib& a, CDib& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int i = 0; i < 3 * a.GetWidth(); ++i)
            if (a.GetRow(y)[i] != b.GetRow(y)[i]) return false;
    return true;
}
