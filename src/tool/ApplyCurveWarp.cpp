// apply: the tone curve (a curve file's table on the chosen channels) and the
// mesh warp (a mesh file against the regular grid of its size).

#include "framework/CException.h"
#include "imaging/ApplyToneCurve.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CTonalAdjustCurve.h"
#include "imaging/CToneCurve.h"
#include "imaging/CWarp.h"
#include "imaging/CWarpMesh.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"

namespace {

void Curve(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--channel"});
    a.Expect(1, 1);
    const int nMask = ChannelMaskOption(a);
    if (image->GetBitCount() != 24) AfxThrowNotSupportedException();
    CTonalAdjustCurve curve;
    if (!curve.Load(a[0])) AfxThrowFileException(CFileException::fileNotFound, -1, a[0]);
    // As the dialog gives a loaded curve to the window: its mode and points,
    // smoothing when it has more than 16 samples.
    CToneCurve model;
    model.SetCurve(curve.m_points, CToneCurve::kAngularSamples, curve.m_nParamMode);
    model.SetSmoothing(curve.m_nSamples > CToneCurve::kAngularSamples);
    ApplyToneCurve(*image, model.GetLut(), nMask);
}

void Warp(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {}, {"--high-quality"});
    a.Expect(1, 1);
    if (image->GetBitCount() != 24) AfxThrowNotSupportedException();
    C2DPointArray mesh;
    if (!mesh.Load(a[0])) AfxThrowFileException(CFileException::fileNotFound, -1, a[0]);
    // The mesh was edited on a copy whose last pixel is its last point.
    const CPoint last = mesh.m_points.back();
    if (last.x < 1 || last.y < 1) AfxThrowArchiveException(CArchiveException::badIndex, a[0]);
    const int nCopyW = last.x + 1, nCopyH = last.y + 1;
    const int w = image->GetWidth(), h = image->GetHeight();
    const std::vector<CPoint> regular =
        CWarpMesh::RegularGrid(nCopyW, nCopyH, mesh.m_nWidth - 2, mesh.m_nHeight - 2);
    const std::vector<CPoint> src =
        CWarpMesh::ScaleMesh(regular, mesh.m_nWidth, mesh.m_nHeight, nCopyW, nCopyH, w, h);
    const std::vector<CPoint> dst =
        CWarpMesh::ScaleMesh(mesh.m_points, mesh.m_nWidth, mesh.m_nHeight, nCopyW, nCopyH, w, h);
    CWarp warp(image.get(), src, dst, mesh.m_nWidth, mesh.m_nHeight, nullptr, a.Has("--high-quality"));
    image.reset(warp.Run());
}

} // namespace

ZOZI_APPLY_OPERATION("curve", 2197, "FILE.tac [--channel red|green|blue|all]", Curve)
ZOZI_APPLY_OPERATION("warp", 2201, "MESH.wms [--high-quality]", Warp)
