#include "imaging/CResample.h"

#include <algorithm>
#include <cmath>

void CResample::InverseTable(const float* pMap, int n, float* pPos) {
    const float fMax = static_cast<float>(n);
    int i = 0;
    for (int u = 0; u < n; ++u) {
        const float fu = static_cast<float>(u);
        while (i < n - 1 && fu > pMap[i + 1]) ++i;
        const float d = pMap[i + 1] - pMap[i];
        float p = static_cast<float>(i);
        if (d > 0.0f && std::isfinite(d)) p += (fu - pMap[i]) / d;
        if (!(p >= 0.0f)) p = 0.0f; // also catches NaN
        pPos[u] = std::min(p, fMax);
    }
    pPos[n] = 0.0f;
}

void CResample::Resample(bool bInterpolate, const float* pMap, const uint8_t* pIn, uint8_t* pOut, int n,
                         ptrdiff_t nStride) {
    if (n <= 0) return;
    if (m_pos.size() < static_cast<size_t>(n) + 1) m_pos.resize(static_cast<size_t>(n) + 1);
    float* pos = m_pos.data();
    InverseTable(pMap, n, pos);
    const ptrdiff_t step = nStride;

    if (!bInterpolate) {
        uint8_t* out = pOut;
        for (int u = 0; u < n; ++u, out += step) {
            int i = std::min(static_cast<int>(pos[u]), n - 1);
            const uint8_t* in = pIn + static_cast<ptrdiff_t>(i) * step;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
        return;
    }

    // Fant's method. The pixel after the last one repeats the last one, so
    // nothing outside the line is read.
    const uint8_t* pLast = pIn + static_cast<ptrdiff_t>(n - 1) * step;
    const uint8_t* cur = pIn;
    const uint8_t* next = n > 1 ? pIn + step : pLast;
    float fRemain = 1.0f;
    float fOutSeg = pos[1];
    float fSizeFac = pos[1];
    float acc[3] = {0.0f, 0.0f, 0.0f};
    uint8_t* out = pOut;
    for (int j = 1; j < n;) {
        float c[3];
        for (int k = 0; k < 3; ++k) c[k] = fRemain * cur[k] + (1.0f - fRemain) * next[k];
        if (fRemain < fOutSeg) {
            for (int k = 0; k < 3; ++k) acc[k] += c[k] * fRemain;
            fOutSeg -= fRemain;
            fRemain = 1.0f;
            cur = next;
            if (next != pLast) next += step;
        } else {
            for (int k = 0; k < 3; ++k) {
                acc[k] += c[k] * fOutSeg;
                float v = fSizeFac > 0.0f ? acc[k] / fSizeFac : c[k];
                out[k] = static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f));
                acc[k] = 0.0f;
            }
            out += step;
            fRemain -= fOutSeg;
            fOutSeg = fSizeFac = pos[j + 1] - pos[j];
            ++j;
        }
    }
    // The accumulation stops one pixel short: the last output takes the last input pixel.
    out[0] = pLast[0];
    out[1] = pLast[1];
    out[2] = pLast[2];
}
