#include "imaging/CInterpolateScale.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CInterpolateScale, CScale)

void CInterpolateScale::Scale() {
    CDib& src = *m_pSource;
    CDib& dst = *m_pDest;
    if (dst.GetBitCount() != 24) AfxThrowNotSupportedException();
    const int w = src.GetWidth(), h = src.GetHeight(), dw = dst.GetWidth(), dh = dst.GetHeight();
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return;
    const float rx = Ratio(dw, w), ry = Ratio(dh, h);

    // Per destination column: the left source byte offset, the right one (the
    // same column at the right edge) and the fraction.
    std::vector<int> left(dw), right(dw);
    std::vector<float> fx(dw);
    for (int x = 0; x < dw; ++x) {
        const float sx = static_cast<float>(x) / rx;
        const int c = std::min(static_cast<int>(sx), w - 1);
        left[x] = 3 * c;
        right[x] = 3 * std::min(c + 1, w - 1);
        fx[x] = sx - static_cast<float>(c);
    }

    // Horizontal interpolation of a source row, kept for the two source rows
    // in use: top = p(c) + fx × (p(c+1) − p(c)) per channel.
    std::vector<uint8_t> rgb(src.GetBitCount() == 24 ? 0 : size_t(w) * 3);
    std::vector<float> lines[2] = {std::vector<float>(size_t(dw) * 3), std::vector<float>(size_t(dw) * 3)};
    int lineRow[2] = {-1, -1};
    auto horizontal = [&](int r) -> const float* {
        for (int i = 0; i < 2; ++i)
            if (lineRow[i] == r) return lines[i].data();
        // Replace the line that is not the other row in use.
        const int i = lineRow[0] == -1 || lineRow[0] < lineRow[1] ? 0 : 1;
        const uint8_t* s = src.GetRowRGB(r, rgb.empty() ? nullptr : rgb.data());
        float* out = lines[i].data();
        for (int x = 0; x < dw; ++x) {
            const uint8_t* p0 = s + left[x];
            const uint8_t* p1 = s + right[x];
            const float f = fx[x];
            for (int c = 0; c < 3; ++c)
                out[3 * x + c] = static_cast<float>(p0[c]) + f * static_cast<float>(p1[c] - p0[c]);
        }
        lineRow[i] = r;
        return out;
    };

    for (int y = 0; y < dh; ++y) {
        const float sy = static_cast<float>(y) / ry;
        const int r = std::min(static_cast<int>(sy), h - 1);
        const float fy = sy - static_cast<float>(r);
        const int r2 = r + 1 < h ? r + 1 : r;
        const float* top = horizontal(r);
        const float* bottom = horizontal(r2);
        uint8_t* d = dst.GetRow(y);
        const int n = 3 * dw;
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<uint8_t>(static_cast<int>(top[i] + fy * (bottom[i] - top[i])));
    }
}
