#include "imaging/CToneCurve.h"

#include "framework/CException.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr float kNormalise = 0.003921569f; // 1 / 255

int Clamp255(int v) {
    return std::clamp(v, 0, 255);
}
} // namespace

const CPoint CToneCurve::kIdentityGrid[9] = {{0, 0},     {31, 31},   {63, 63},   {95, 95},  {127, 127},
                                             {159, 159}, {191, 191}, {223, 223}, {255, 255}};

CToneCurve::CToneCurve() {
    m_points = {{0, 0}, {255, 255}};
    Recompute();
}

bool CToneCurve::IsValidPoints(const std::vector<CPoint>& points) {
    if (points.size() < 2 || points.size() > static_cast<size_t>(kMaxPoints)) return false;
    for (size_t i = 0; i < points.size(); ++i) {
        const CPoint& p = points[i];
        if (p.x < 0 || p.x > 255 || p.y < 0 || p.y > 255) return false;
        if (i > 0 && p.x <= points[i - 1].x) return false;
    }
    return true;
}

void CToneCurve::SetCurve(const std::vector<CPoint>& points, int nSamples, int nParamMode) {
    if (!IsValidPoints(points) || !IsValidSamples(nSamples) || !IsValidParamMode(nParamMode))
        AfxThrowNotSupportedException();
    m_points = points;
    m_nSamples = nSamples;
    m_nParamMode = nParamMode;
    m_nSelected = -1;
    m_bCaptured = m_bDeleted = false;
    Recompute();
}

void CToneCurve::SetSmoothing(bool bSmooth) {
    m_nSamples = bSmooth ? kSmoothSamples : kAngularSamples;
    Recompute();
}

// Second derivatives of the natural cubic spline through (t[i], v[i]).
void CToneCurve::FitSpline(const float* t, const float* v, float* v2, int n) const {
    float u[kMaxPoints];
    v2[0] = u[0] = 0.0f;
    for (int i = 1; i < n - 1; ++i) {
        float sig = (t[i] - t[i - 1]) / (t[i + 1] - t[i - 1]);
        float p = sig * v2[i - 1] + 2.0f;
        v2[i] = (sig - 1.0f) / p;
        u[i] = (v[i + 1] - v[i]) / (t[i + 1] - t[i]) - (v[i] - v[i - 1]) / (t[i] - t[i - 1]);
        u[i] = (6.0f * u[i] / (t[i + 1] - t[i - 1]) - sig * u[i - 1]) / p;
    }
    v2[n - 1] = 0.0f;
    for (int k = n - 2; k >= 0; --k) v2[k] = v2[k] * v2[k + 1] + u[k];
}

float CToneCurve::EvalSpline(const float* t, const float* v, const float* v2, int n, float x) const {
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        int k = (hi + lo) >> 1;
        if (t[k] > x)
            hi = k;
        else
            lo = k;
    }
    float h = t[hi] - t[lo];
    float a = (t[hi] - x) / h;
    float b = (x - t[lo]) / h;
    return a * v[lo] + b * v[hi] + ((a * a * a - a) * v2[lo] + (b * b * b - b) * v2[hi]) * (h * h) / 6.0f;
}

void CToneCurve::StoreLut(int x, int y) {
    // Spline overshoot can leave the square: such positions have no table entry.
    if (x >= 0 && x <= 255) m_lut[x] = static_cast<uint8_t>(Clamp255(y));
}

void CToneCurve::Recompute() {
    const int n = static_cast<int>(m_points.size());
    for (int i = 0; i < n; ++i) {
        m_x[i] = static_cast<float>(m_points[i].x) * kNormalise;
        m_y[i] = static_cast<float>(m_points[i].y) * kNormalise;
    }
    m_param[0] = 0.0f;
    for (int i = 1; i < n; ++i) {
        if (m_nParamMode == 0) {
            m_param[i] = static_cast<float>(i);
        } else {
            float dx = m_x[i] - m_x[i - 1], dy = m_y[i] - m_y[i - 1];
            float d = std::sqrt(dx * dx + dy * dy);
            if (m_nParamMode == 2) d = std::sqrt(d);
            m_param[i] = m_param[i - 1] + d;
        }
    }
    const float tEnd = m_param[n - 1];
    for (int i = 0; i < n; ++i) m_param[i] /= tEnd;

    FitSpline(m_param, m_x, m_x2, n);
    FitSpline(m_param, m_y, m_y2, n);

    m_polyline.resize(m_nSamples + 1);
    for (int k = 0; k <= m_nSamples; ++k) {
        float t = static_cast<float>(k) / static_cast<float>(m_nSamples);
        float sx = EvalSpline(m_param, m_x, m_x2, n, t);
        float sy = EvalSpline(m_param, m_y, m_y2, n, t);
        m_samples[k] = sy;
        m_polyline[k] = CPoint(static_cast<int>(sx * 255.0f), static_cast<int>(sy * 255.0f));
    }

    for (int i = 0; i < 256; ++i) m_lut[i] = static_cast<uint8_t>(i);
    auto store = [this](int x, int y) { StoreLut(x, y); };
    const CPoint first = m_polyline.front(), last = m_polyline.back();
    LineWalk(0, first.y, first.x, first.y, store);
    for (int k = 0; k < m_nSamples; ++k)
        LineWalk(m_polyline[k].x, m_polyline[k].y, m_polyline[k + 1].x, m_polyline[k + 1].y, store);
    LineWalk(last.x, last.y, 256, last.y, store);
    m_bChanged = true;
}

CPoint CToneCurve::Constrain(int x, int y) const {
    const int n = static_cast<int>(m_points.size());
    const CPoint& cur = m_points[m_nSelected];
    if (x < cur.x && m_nSelected > 0)
        x = std::max(x, m_points[m_nSelected - 1].x + kMinGap);
    else if (x > cur.x && m_nSelected < n - 1)
        x = std::min(x, m_points[m_nSelected + 1].x - kMinGap);
    x = Clamp255(x);
    y = Clamp255(y);
    // Never pass a neighbour, whatever the gaps were before.
    if (m_nSelected > 0) x = std::max(x, m_points[m_nSelected - 1].x + 1);
    if (m_nSelected < n - 1) x = std::min(x, m_points[m_nSelected + 1].x - 1);
    return {x, y};
}

unsigned CToneCurve::Press(int x, int y, bool bCtrl) {
    x = Clamp255(x);
    y = Clamp255(y);
    const int n = static_cast<int>(m_points.size());
    int nFound = -1;
    for (int i = 0; i < n; ++i) {
        if (std::abs(m_points[i].x - x) <= kPickDistance) {
            nFound = i;
            break;
        }
    }
    m_bDeleted = false;
    if (nFound >= 0 && bCtrl && nFound != 0 && nFound != n - 1) {
        m_points.erase(m_points.begin() + nFound);
        m_nSelected = -1;
        m_bDeleted = true;
    } else if (nFound >= 0) {
        m_nSelected = nFound;
        m_points[nFound] = CPoint(x, y);
        // Keep the order even when the neighbour is nearer than the pick distance.
        if (nFound > 0 && m_points[nFound].x <= m_points[nFound - 1].x)
            m_points[nFound].x = m_points[nFound - 1].x + 1;
        if (nFound < n - 1 && m_points[nFound].x >= m_points[nFound + 1].x)
            m_points[nFound].x = m_points[nFound + 1].x - 1;
    } else {
        if (n >= kMaxPoints) return 0;
        int nAt = 0;
        while (nAt < n && m_points[nAt].x < x) ++nAt;
        m_points.insert(m_points.begin() + nAt, CPoint(x, y));
        m_nSelected = nAt;
    }
    m_last = CPoint(x, y);
    m_bCaptured = true;
    Recompute();
    return evRepaint | evCapture;
}

unsigned CToneCurve::Drag(int x, int y) {
    if (!m_bCaptured || m_nSelected < 0) return 0;
    CPoint p = Constrain(x, y);
    m_last = CPoint(x, y);
    if (p == m_points[m_nSelected]) return 0;
    m_points[m_nSelected] = p;
    Recompute();
    return evRepaint;
}

unsigned CToneCurve::Release(int x, int y) {
    if (!m_bCaptured) return 0;
    m_bCaptured = false;
    if (m_bDeleted || m_nSelected < 0) {
        m_bDeleted = false;
        return evRepaint | evReleaseCapt;
    }
    m_points[m_nSelected] = Constrain(x, y);
    Recompute();
    return evRepaint | evChanged | evReleaseCapt;
}
