#include "imaging/CWarp.h"

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/CResample.h"
#include "imaging/CatmullRom.h"
#include "imaging/DibHelpers.h"

#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CWarp, CObject)

CWarp::CWarp(CDib* pSource, const std::vector<CPoint>& srcMesh, const std::vector<CPoint>& dstMesh,
             int nMeshWidth, int nMeshHeight, CDib* pTarget, bool bHighQuality)
    : m_pSource(pSource), m_pTarget(pTarget), m_bHighQuality(bHighQuality), m_nMeshWidth(nMeshWidth),
      m_nMeshHeight(nMeshHeight) {
    const size_t n = size_t(std::max(nMeshWidth, 0)) * size_t(std::max(nMeshHeight, 0));
    if (srcMesh.size() != n || dstMesh.size() != n) AfxThrowNotSupportedException();
    for (size_t i = 0; i < n; ++i) {
        m_srcX.push_back(static_cast<float>(srcMesh[i].x));
        m_srcY.push_back(static_cast<float>(srcMesh[i].y));
        m_dstX.push_back(static_cast<float>(dstMesh[i].x));
        m_dstY.push_back(static_cast<float>(dstMesh[i].y));
    }
}

CDib* CWarp::Run() {
    if (!m_pSource || m_pSource->GetBitCount() != 24) AfxThrowNotSupportedException();
    CDib& src = *m_pSource;
    const int w = src.GetWidth(), h = src.GetHeight();
    if (w <= 0 || h <= 0) AfxThrowNotSupportedException();
    if (m_pTarget &&
        (m_pTarget->GetBitCount() != 24 || m_pTarget->GetWidth() != w || m_pTarget->GetHeight() != h))
        AfxThrowNotSupportedException();
    const int nU = m_nMeshWidth, nV = m_nMeshHeight;
    auto at = [nU](int u, int v) { return size_t(v) * nU + u; };
    CResample resample;
    std::vector<float> knots(std::max(nU, nV)), values(std::max(nU, nV));

    // Pass 1, rows. For every mesh column, where it crosses each image row
    // in the source (ts) and in the destination (ti).
    std::vector<float> ts(size_t(nU) * h), ti(size_t(nU) * h);
    for (int u = 0; u < nU; ++u) {
        std::vector<float> xs(nV), xd(nV);
        for (int v = 0; v < nV; ++v) {
            knots[v] = m_srcY[at(u, v)];
            xs[v] = m_srcX[at(u, v)];
            xd[v] = m_dstX[at(u, v)];
        }
        CatmullRomSteps(knots.data(), xs.data(), nV, &ts[size_t(u) * h], h);
        CatmullRomSteps(knots.data(), xd.data(), nV, &ti[size_t(u) * h], h);
    }
    auto inter = NewDib24(w, h, &src);
    std::vector<float> map(size_t(std::max(w, h)) + 1);
    for (int y = 0; y < h; ++y) {
        for (int u = 0; u < nU; ++u) {
            knots[u] = ts[size_t(u) * h + y];
            values[u] = ti[size_t(u) * h + y];
        }
        CatmullRomSteps(knots.data(), values.data(), nU, map.data(), w);
        map[w] = map[w - 1] + 1.0f; // where the pixel after the last would start
        resample.Resample(m_bHighQuality, map.data(), src.GetRow(y), inter->GetRow(y), w, 3);
    }
    ts.clear();
    ti.clear();

    // Pass 2, columns. For every mesh row, its y at each image column in the
    // intermediate mesh (x of the destination, y of the source) and in the
    // destination.
    std::vector<float> ts2(size_t(nV) * w), ti2(size_t(nV) * w);
    for (int v = 0; v < nV; ++v) {
        std::vector<float> ys(nU), yd(nU);
        for (int u = 0; u < nU; ++u) {
            knots[u] = m_dstX[at(u, v)];
            ys[u] = m_srcY[at(u, v)];
            yd[u] = m_dstY[at(u, v)];
        }
        CatmullRomSteps(knots.data(), ys.data(), nU, &ts2[size_t(v) * w], w);
        CatmullRomSteps(knots.data(), yd.data(), nU, &ti2[size_t(v) * w], w);
    }
    auto out = NewDib24(w, h, &src);
    uint8_t* const iTop = DibTopRow(*inter);
    uint8_t* const oTop = DibTopRow(*out);
    const ptrdiff_t iStep = DibRowStep(*inter); // the same for both: equal sizes
    for (int x = 0; x < w; ++x) {
        for (int v = 0; v < nV; ++v) {
            knots[v] = ts2[size_t(v) * w + x];
            values[v] = ti2[size_t(v) * w + x];
        }
        CatmullRomSteps(knots.data(), values.data(), nV, map.data(), h);
        map[h] = map[h - 1] + 1.0f;
        resample.Resample(m_bHighQuality, map.data(), iTop + 3 * x, oTop + 3 * x, h, iStep);
    }

    if (!m_pTarget) return out.release();
    for (int y = 0; y < h; ++y) std::memcpy(m_pTarget->GetRow(y), out->GetRow(y), size_t(w) * 3);
    return m_pTarget;
}
