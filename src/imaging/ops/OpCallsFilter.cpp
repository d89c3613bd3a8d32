// The neighbourhood filters of the "Effects" menu (each into a new 24-bit
// image of the same size) and the mesh warp.

#include "framework/CException.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CDib.h"
#include "imaging/CFilter.h"
#include "imaging/CWarp.h"
#include "imaging/CWarpMesh.h"
#include "imaging/FilterCore.h"
#include "imaging/FilterKernels.h"
#include "imaging/ops/OpCalls.h"

namespace {

void Kernel(COpContext& ctx, const KernelType* pKernel) {
    auto dest = MakeDestination(*ctx.m_image, 24, nullptr);
    CFilter(ctx.m_image.get(), dest.get(), pKernel).Convolve();
    ctx.m_image = std::move(dest);
}

void Rank(COpContext& ctx, int nMode) {
    auto dest = MakeDestination(*ctx.m_image, 24, nullptr);
    CFilter(ctx.m_image.get(), dest.get(), nullptr).RankFilter(nMode);
    ctx.m_image = std::move(dest);
}

} // namespace

namespace OpCalls {

void Emboss(COpContext& ctx) {
    Kernel(ctx, &g_kernelEmboss);
}
void EdgeThin(COpContext& ctx) {
    Kernel(ctx, &g_kernelEdgeThin);
}
void EdgeThick(COpContext& ctx) {
    Kernel(ctx, &g_kernelEdgeThick);
}
void EdgeHorizontal(COpContext& ctx) {
    Kernel(ctx, &g_kernelEdgeHorizontal);
}
void EdgeVertical(COpContext& ctx) {
    Kernel(ctx, &g_kernelEdgeVertical);
}
void EdgeHighlight(COpContext& ctx) {
    Kernel(ctx, &g_kernelEdgeHighlight);
}
void BlurSlight(COpContext& ctx) {
    Kernel(ctx, &g_kernelBlurSlight);
}
void BlurMore(COpContext& ctx) {
    Kernel(ctx, &g_kernelBlurMore);
}
void BlurHeavy(COpContext& ctx) {
    Kernel(ctx, &g_kernelBlurHeavy);
}
void SharpenSlight(COpContext& ctx) {
    Kernel(ctx, &g_kernelSharpenSlight);
}
void SharpenMore(COpContext& ctx) {
    Kernel(ctx, &g_kernelSharpenMore);
}
void SharpenHeavy(COpContext& ctx) {
    Kernel(ctx, &g_kernelSharpenHeavy);
}
void Minimum(COpContext& ctx) {
    Rank(ctx, kRankMinimum);
}
void Maximum(COpContext& ctx) {
    Rank(ctx, kRankMaximum);
}
void Median(COpContext& ctx) {
    Rank(ctx, kRankMedian);
}

void Gaussian(COpContext& ctx) {
    auto dest = MakeDestination(*ctx.m_image, 24, nullptr);
    CFilter(ctx.m_image.get(), dest.get(), nullptr).GaussianBlur(int(ctx.m_values.Int("RADIUS")));
    ctx.m_image = std::move(dest);
}

void Warp(COpContext& ctx) {
    const std::string& path = ctx.m_values.Text("MESH.wms");
    C2DPointArray mesh;
    if (!mesh.Load(path)) AfxThrowFileException(CFileException::fileNotFound, -1, path);
    // The mesh was edited on a copy whose last pixel is its last point.
    const CPoint last = mesh.m_points.back();
    if (last.x < 1 || last.y < 1) AfxThrowArchiveException(CArchiveException::badIndex, path);
    const int nCopyW = last.x + 1, nCopyH = last.y + 1;
    const int w = ctx.m_image->GetWidth(), h = ctx.m_image->GetHeight();
    const std::vector<CPoint> regular =
        CWarpMesh::RegularGrid(nCopyW, nCopyH, mesh.m_nWidth - 2, mesh.m_nHeight - 2);
    const std::vector<CPoint> src =
        CWarpMesh::ScaleMesh(regular, mesh.m_nWidth, mesh.m_nHeight, nCopyW, nCopyH, w, h);
    const std::vector<CPoint> dst =
        CWarpMesh::ScaleMesh(mesh.m_points, mesh.m_nWidth, mesh.m_nHeight, nCopyW, nCopyH, w, h);
    CWarp warp(ctx.m_image.get(), src, dst, mesh.m_nWidth, mesh.m_nHeight, nullptr,
               ctx.m_values.Has("--high-quality"));
    ctx.m_image.reset(warp.Run());
}

} // namespace OpCalls
