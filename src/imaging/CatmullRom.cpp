#include "imaging/CatmullRom.h"

#include "framework/CAppException.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t IDS_CATMULLROM_RANGE = 1389;

template <typename PosFn>
void Interpolate(const float* x, const float* y, int n, PosFn pos, float* yOut, int nOut) {
    if (nOut <= 0) return;
    if (n < 2) ThrowAppException(IDS_CATMULLROM_RANGE);
    const bool bInc = x[1] > x[0];
    for (int i = 1; i < n; ++i) {
        if (!std::isfinite(x[i - 1]) || !std::isfinite(x[i]) || (bInc ? x[i] <= x[i - 1] : x[i] >= x[i - 1]))
            ThrowAppException(IDS_CATMULLROM_RANGE);
    }
    const float lo = bInc ? x[0] : x[n - 1], hi = bInc ? x[n - 1] : x[0];
    const float first = pos(0), last = pos(nOut - 1);
    if (!(first >= lo && first <= hi && last >= lo && last <= hi)) ThrowAppException(IDS_CATMULLROM_RANGE);

    // Position p lies in the interval starting at knot j when it has reached
    // x[j] and not yet x[j + 1] (in the knots' direction).
    auto before = [bInc](float p, float knot) { return bInc ? p < knot : p > knot; };
    int j = -1;
    double a0 = 0, a1 = 0, a2 = 0, a3 = 0, x1 = 0;
    for (int k = 0; k < nOut; ++k) {
        const float p = pos(k);
        if (!(p >= lo && p <= hi)) ThrowAppException(IDS_CATMULLROM_RANGE);
        if (j < 0 || !before(p, x[j + 1]) || before(p, x[j])) {
            j = 0;
            while (j < n - 2 && !before(p, x[j + 1])) ++j;
            const int p0 = std::max(j - 1, 0), p1 = j, p2 = j + 1, p3 = std::min(j + 2, n - 1);
            const double dx = 1.0 / (double(x[p2]) - x[p1]);
            const double dy = (double(y[p2]) - y[p1]) * dx;
            const double d1 = (double(y[p2]) - y[p0]) / (double(x[p2]) - x[p0]);
            const double d2 = (double(y[p3]) - y[p1]) / (double(x[p3]) - x[p1]);
            a0 = y[p1];
            a1 = d1;
            a2 = dx * (3.0 * dy - 2.0 * d1 - d2);
            a3 = dx * dx * (d1 + d2 - 2.0 * dy);
            x1 = x[p1];
        }
        const double t = p - x1;
        yOut[k] = static_cast<float>(((a3 * t + a2) * t + a1) * t + a0);
    }
}

} // namespace

void CatmullRom(const float* xKnots, const float* yKnots, int nKnots, const float* xOut, float* yOut,
                int nOut) {
    Interpolate(
        xKnots, yKnots, nKnots, [xOut](int k) { return xOut[k]; }, yOut, nOut);
}

void CatmullRomSteps(const float* xKnots, const float* yKnots, int nKnots, float* yOut, int nOut) {
    Interpolate(
        xKnots, yKnots, nKnots, [](int k) { return static_cast<float>(k); }, yOut, nOut);
}
