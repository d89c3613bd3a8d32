// Reads a warp mesh file from arbitrary bytes and, when it loads, scales it
// to a picture and builds the warp's first interpolation as the tool does.
// Any input ends in a mesh, an archive exception or message 1389.

#include "framework/CAppException.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CWarpMesh.h"
#include "imaging/CatmullRom.h"

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
        // The column knots of the first mesh column, as the warp's first pass uses them.
        std::vector<float> knots, values, out(29);
        for (int v = 0; v < mesh.m_nHeight; ++v) {
            knots.push_back(float(scaled[size_t(v) * mesh.m_nWidth].y));
            values.push_back(float(scaled[size_t(v) * mesh.m_nWidth].x));
        }
        CatmullRomSteps(knots.data(), values.data(), int(knots.size()), out.data(), 29);
    } catch (const CException&) {
    }
    return 0;
}
