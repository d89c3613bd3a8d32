// Reads a warp mesh file from arbitrary bytes and, when it loads, warps a
// small picture with it as zozi-tool does (regular grid to the mesh, both
// scaled to the picture). Any input ends in a warped picture, an archive
// exception or message 1389.

#include "framework/CAppException.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CDib.h"
#include "imaging/CWarp.h"
#include "imaging/CWarpMesh.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile f(data, size);
    CArchive ar(&f, CArchive::load);
    C2DPointArray mesh;
    try {
        mesh.Serialize(ar);
        CWarpMesh model(64, 48);
        model.TakeLoaded(mesh);
        const CPoint last = mesh.m_points.back();
        if (last.x < 1 || last.y < 1) return 0;
        std::vector<CPoint> scaled = CWarpMesh::ScaleMesh(mesh.m_points, mesh.m_nWidth, mesh.m_nHeight,
                                                          last.x + 1, last.y + 1, 37, 29);
        std::vector<CPoint> regular = CWarpMesh::ScaleMesh(
            CWarpMesh::RegularGrid(last.x + 1, last.y + 1, mesh.m_nWidth - 2, mesh.m_nHeight - 2),
            mesh.m_nWidth, mesh.m_nHeight, last.x + 1, last.y + 1, 37, 29);
        CDib picture(24, 37, 29, nullptr);
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 3 * 37; ++x) picture.GetRow(y)[x] = uint8_t(x * 5 + y * 3);
        const bool bHighQuality = size > 0 && (data[size - 1] & 1);
        delete CWarp(&picture, regular, scaled, mesh.m_nWidth, mesh.m_nHeight, nullptr, bHighQuality).Run();
    } catch (const CException&) {
    }
    return 0;
}
