#pragma once
// The warp mesh behind the warping dialog, without the dialog: (c + 2) ×
// (r + 2) points row by row over a picture copy (the outer ring on its
// border), the regular grid of the three grid sizes, picking and dragging of
// inner points, taking over a loaded mesh, and scaling a mesh from the copy
// to the picture.

#include "framework/CRect.h"

#include <vector>

class C2DPointArray;

class CWarpMesh {
public:
    enum EGridSize { gridSmall, gridMedium, gridLarge };
    static constexpr int kMarkerSize = 4;              // control point marker, 4 × 4
    static constexpr int kPickRange = kMarkerSize + 2; // a press picks within 6 pixels
    static constexpr int kMinGap = 6;                  // dragged points keep 6 pixels from neighbours
    static constexpr const char* kMsgDifferentSize = "Mesh was created for different image size!";

    // Inner columns and rows of a grid size: Small 7 × 9, Medium 5 × 6, Large 2 × 3.
    static void GridDims(EGridSize nSize, int& nCols, int& nRows);
    // The grid size button that shows a mesh of c × r inner points (Medium for any other).
    static EGridSize GridSizeOf(int nCols, int nRows);

    // The regular grid over a W × H picture with c × r inner points.
    static std::vector<CPoint> RegularGrid(int nWidth, int nHeight, int nCols, int nRows);

    // Scales mesh points made on a copy of copyW × copyH to a picture of
    // imageW × imageH: factors in floating point, truncated; the last row and
    // column lie on the picture's last row and column; nothing outside it.
    static std::vector<CPoint> ScaleMesh(const std::vector<CPoint>& points, int nMeshWidth, int nMeshHeight,
                                         int nCopyWidth, int nCopyHeight, int nImageWidth, int nImageHeight);

    // A Medium regular grid over the copy.
    CWarpMesh(int nCopyWidth, int nCopyHeight);

    int GetCopyWidth() const { return m_nCopyWidth; }
    int GetCopyHeight() const { return m_nCopyHeight; }
    int GetCols() const { return m_nCols; }
    int GetRows() const { return m_nRows; }
    int GetMeshWidth() const { return m_nCols + 2; }
    int GetMeshHeight() const { return m_nRows + 2; }
    const std::vector<CPoint>& GetPoints() const { return m_points; }
    const CPoint& Point(int i, int j) const { return m_points[size_t(j) * (m_nCols + 2) + i]; }
    EGridSize GetGridSize() const { return GridSizeOf(m_nCols, m_nRows); }

    // Small, Medium, Large: the regular grid of that size. Reset: the regular
    // grid of the current size.
    void SetGridSize(EGridSize nSize);
    void Reset();

    // Left button pressed: picks the nearest inner point within range and
    // moves it to the pointer (true), or clears the selection (false).
    bool Press(CPoint pt);
    // Pointer moved while a point is picked: the position constrained against
    // the picked point's neighbours; true when the point moved.
    bool Drag(CPoint pt);
    void Release() { m_nSelected = -1; }
    // Index of the picked point, or -1.
    int GetSelected() const { return m_nSelected; }
    // The marker drawn by inverting the screen: (x − 2, y − 2) to (x + 3, y + 3).
    static CRect MarkerRect(CPoint pt);

    // Takes over a loaded mesh: false (nothing changes) when its last point
    // differs from this mesh's, i.e. it was made on a copy of another size.
    bool TakeLoaded(const C2DPointArray& mesh);
    // The mesh for a mesh file.
    C2DPointArray ToArray() const;

private:
    CPoint& At(int i, int j) { return m_points[size_t(j) * (m_nCols + 2) + i]; }

    int m_nCopyWidth, m_nCopyHeight;
    int m_nCols = 5, m_nRows = 6;
    std::vector<CPoint> m_points;
    int m_nSelected = -1;
    CPoint m_last;
};
