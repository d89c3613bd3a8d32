#pragma once
// The tone curve behind the curve editing window, without the window: the
// control points, the parametric natural-spline curve through them, its
// sampled polyline, the 256-entry output table, and the editing rules of the
// mouse (press, drag, release) in the window's logical coordinates
// (0..255 on both axes, y upwards).

#include "framework/CRect.h"

#include <cstdint>
#include <vector>

class CToneCurve {
public:
    static constexpr int kMaxPoints = 256;     // the work tables hold 256 entries
    static constexpr int kSmoothSamples = 64;  // smoothing on
    static constexpr int kAngularSamples = 16; // smoothing off
    static constexpr int kMaxSamples = 255;    // samples + 1 values fit the sample table
    static constexpr int kPickDistance = 8;    // a press within 8 units of a point picks it
    static constexpr int kMinGap = 12;         // a dragged point keeps 12 units from its neighbour
    static constexpr int kMaxParamMode = 2;

    // Starts with (0, 0) and (255, 255), smoothing on, parameter mode 0.
    CToneCurve();

    // Whether a list of points can make a curve: 2..256 points, coordinates in
    // 0..255, x strictly increasing.
    static bool IsValidPoints(const std::vector<CPoint>& points);
    static bool IsValidSamples(int nSamples) { return nSamples >= 1 && nSamples <= kMaxSamples; }
    static bool IsValidParamMode(int nMode) { return nMode >= 0 && nMode <= kMaxParamMode; }

    // Takes a curve and recomputes; an invalid curve throws the not-supported exception.
    void SetCurve(const std::vector<CPoint>& points, int nSamples, int nParamMode);
    void SetSmoothing(bool bSmooth);
    bool IsSmooth() const { return m_nSamples > kAngularSamples; }

    const std::vector<CPoint>& GetPoints() const { return m_points; }
    int GetSamples() const { return m_nSamples; }
    int GetParamMode() const { return m_nParamMode; }
    int GetSelected() const { return m_nSelected; }
    bool IsCaptured() const { return m_bCaptured; }
    // The sampled curve in logical units, m_nSamples + 1 points.
    const std::vector<CPoint>& GetPolyline() const { return m_polyline; }
    const uint8_t* GetLut() const { return m_lut; }

    // What a mouse event asks of the window.
    enum : unsigned {
        evRepaint = 1,     // draw the curve again
        evChanged = 2,     // tell the dialog the curve changed (notification codes 1 and 2)
        evCapture = 4,     // the mouse is captured from now on
        evReleaseCapt = 8, // the capture ends
    };
    // Left button pressed at (x, y); bCtrl: the Ctrl key is held.
    unsigned Press(int x, int y, bool bCtrl);
    // Pointer moved while captured.
    unsigned Drag(int x, int y);
    // Left button released.
    unsigned Release(int x, int y);

    // Evaluates the curve (parameters, splines, samples, table).
    void Recompute();

    // The grid the window draws behind the curve: (0,0), (31,31) ... (255,255).
    static const CPoint kIdentityGrid[9];

    // The line walk that fills the table: calls visit(x, y) for every point of
    // the segment from (x1, y1) to (x2, y2) except its end point (Bresenham).
    template <typename F> static void LineWalk(int x1, int y1, int x2, int y2, F visit);

private:
    void FitSpline(const float* t, const float* v, float* v2, int n) const;
    float EvalSpline(const float* t, const float* v, const float* v2, int n, float x) const;
    void StoreLut(int x, int y);
    CPoint Constrain(int x, int y) const;

    std::vector<CPoint> m_points;
    int m_nSelected = -1;
    int m_nSamples = kSmoothSamples;
    int m_nParamMode = 0;
    bool m_bCaptured = false;
    bool m_bDeleted = false; // the press deleted a point: the release only repaints
    bool m_bChanged = false;
    CPoint m_last; // last pointer position reported while dragging

    // Work tables: parameter values, normalised x and y, their second
    // derivatives, and the samples.
    float m_param[kMaxPoints];
    float m_x[kMaxPoints];
    float m_y[kMaxPoints];
    float m_x2[kMaxPoints];
    float m_y2[kMaxPoints];
    float m_samples[kMaxPoints];
    std::vector<CPoint> m_polyline;
    uint8_t m_lut[256];
};

template <typename F> void CToneCurve::LineWalk(int x1, int y1, int x2, int y2, F visit) {
    int dx = x2 - x1, dy = y2 - y1;
    int sx = 1, sy = 1;
    if (dx < 0) dx = -dx, sx = -1;
    if (dy < 0) dy = -dy, sy = -1;
    int x = x1, y = y1;
    if (dx > dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            visit(x, y);
            if (err > 0) {
                y += sy;
                err += 2 * dy - 2 * dx;
            } else {
                err += 2 * dy;
            }
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            visit(x, y);
            if (err > 0) {
                x += sx;
                err += 2 * dx - 2 * dy;
            } else {
                err += 2 * dx;
            }
            y += sy;
        }
    }
}
