#include "imaging/CWarpMesh.h"

#include "imaging/C2DPointArray.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

void CWarpMesh::GridDims(EGridSize nSize, int& nCols, int& nRows) {
    switch (nSize) {
    case gridSmall:
        nCols = 7, nRows = 9;
        break;
    case gridLarge:
        nCols = 2, nRows = 3;
        break;
    default:
        nCols = 5, nRows = 6;
        break;
    }
}

CWarpMesh::EGridSize CWarpMesh::GridSizeOf(int nCols, int nRows) {
    if (nCols == 7 && nRows == 9) return gridSmall;
    if (nCols == 2 && nRows == 3) return gridLarge;
    return gridMedium;
}

std::vector<CPoint> CWarpMesh::RegularGrid(int nWidth, int nHeight, int nCols, int nRows) {
    const int nMeshW = nCols + 2, nMeshH = nRows + 2;
    const int dx = nWidth / (nCols + 1), dy = nHeight / (nRows + 1);
    std::vector<CPoint> points(size_t(nMeshW) * nMeshH);
    for (int j = 0; j < nMeshH; ++j)
        for (int i = 0; i < nMeshW; ++i)
            points[size_t(j) * nMeshW + i] =
                CPoint(i == nMeshW - 1 ? nWidth - 1 : i * dx, j == nMeshH - 1 ? nHeight - 1 : j * dy);
    return points;
}

std::vector<CPoint> CWarpMesh::ScaleMesh(const std::vector<CPoint>& points, int nMeshWidth, int nMeshHeight,
                                         int nCopyWidth, int nCopyHeight, int nImageWidth, int nImageHeight) {
    const double fx = double(nImageWidth) / nCopyWidth, fy = double(nImageHeight) / nCopyHeight;
    std::vector<CPoint> out(points.size());
    for (int j = 0; j < nMeshHeight; ++j) {
        for (int i = 0; i < nMeshWidth; ++i) {
            const size_t k = size_t(j) * nMeshWidth + i;
            double x = points[k].x * fx, y = points[k].y * fy;
            int nx = i == nMeshWidth - 1 ? nImageWidth - 1 : int(std::clamp(x, 0.0, double(nImageWidth - 1)));
            int ny =
                j == nMeshHeight - 1 ? nImageHeight - 1 : int(std::clamp(y, 0.0, double(nImageHeight - 1)));
            out[k] = CPoint(nx, ny);
        }
    }
    return out;
}

CWarpMesh::CWarpMesh(int nCopyWidth, int nCopyHeight) : m_nCopyWidth(nCopyWidth), m_nCopyHeight(nCopyHeight) {
    SetGridSize(gridMedium);
}

void CWarpMesh::SetGridSize(EGridSize nSize) {
    GridDims(nSize, m_nCols, m_nRows);
    Reset();
}

void CWarpMesh::Reset() {
    m_points = RegularGrid(m_nCopyWidth, m_nCopyHeight, m_nCols, m_nRows);
    m_nSelected = -1;
}

CRect CWarpMesh::MarkerRect(CPoint pt) {
    return CRect(pt.x - kMarkerSize / 2, pt.y - kMarkerSize / 2, pt.x + kMarkerSize / 2 + 1,
                 pt.y + kMarkerSize / 2 + 1);
}

bool CWarpMesh::Press(CPoint pt) {
    int nBest = -1, bestDx = INT_MAX, bestDy = INT_MAX;
    for (int j = 1; j <= m_nRows; ++j) {
        for (int i = 1; i <= m_nCols; ++i) {
            const CPoint& p = Point(i, j);
            int dx = std::abs(p.x - pt.x), dy = std::abs(p.y - pt.y);
            if (dx <= bestDx && dy <= bestDy) {
                nBest = j * (m_nCols + 2) + i;
                bestDx = dx;
                bestDy = dy;
            }
        }
    }
    if (nBest < 0 || bestDx > kPickRange || bestDy > kPickRange) {
        m_nSelected = -1;
        return false;
    }
    m_nSelected = nBest;
    m_points[nBest] = pt;
    m_last = pt;
    return true;
}

bool CWarpMesh::Drag(CPoint pt) {
    if (m_nSelected < 0) return false;
    const int i = m_nSelected % (m_nCols + 2), j = m_nSelected / (m_nCols + 2);
    int x = pt.x, y = pt.y;
    if (x < m_last.x)
        x = std::max(x,
                     std::max({Point(i - 1, j - 1).x, Point(i - 1, j).x, Point(i - 1, j + 1).x}) + kMinGap);
    else
        x = std::min(x,
                     std::min({Point(i + 1, j - 1).x, Point(i + 1, j).x, Point(i + 1, j + 1).x}) - kMinGap);
    if (y < m_last.y)
        y = std::max(y,
                     std::max({Point(i - 1, j - 1).y, Point(i, j - 1).y, Point(i + 1, j - 1).y}) + kMinGap);
    else
        y = std::min(y,
                     std::min({Point(i - 1, j + 1).y, Point(i, j + 1).y, Point(i + 1, j + 1).y}) - kMinGap);
    const CPoint p(x, y);
    if (p == m_last) return false;
    m_last = p;
    m_points[m_nSelected] = p;
    return true;
}

bool CWarpMesh::TakeLoaded(const C2DPointArray& mesh) {
    if (mesh.m_nWidth < 3 || mesh.m_nHeight < 3 ||
        mesh.m_points.size() != size_t(mesh.m_nWidth) * size_t(mesh.m_nHeight))
        return false;
    if (mesh.m_points.back() != m_points.back()) return false;
    m_nCols = mesh.m_nWidth - 2;
    m_nRows = mesh.m_nHeight - 2;
    m_points = mesh.m_points;
    m_nSelected = -1;
    return true;
}

C2DPointArray CWarpMesh::ToArray() const {
    return C2DPointArray(m_nCols + 2, m_nRows + 2, m_points);
}
