#pragma once
// Two-pass mesh warp of a 24-bit image: rows first, then columns. Mesh lines
// are interpolated with Catmull-Rom splines and each image line is resampled
// in one dimension (point sampling, or Fant's method for high quality).

#include "framework/CObject.h"
#include "framework/CRect.h"

#include <vector>

class CDib;

class CWarp : public CObject {
    DECLARE_DYNAMIC(CWarp)
public:
    // Source and destination meshes of nMeshWidth × nMeshHeight points, row
    // by row, in the picture's coordinates. pTarget (optional) is a 24-bit
    // image of the source's size.
    CWarp(CDib* pSource, const std::vector<CPoint>& srcMesh, const std::vector<CPoint>& dstMesh,
          int nMeshWidth, int nMeshHeight, CDib* pTarget = nullptr, bool bHighQuality = false);

    // Warps the source into the target, or into a new 24-bit image when no
    // target was given; returns it (the caller owns a new one). The source
    // must be 24-bit (else the not-supported exception); knots that do not
    // cover the picture raise message 1389. On any exception the target is
    // left as it was.
    CDib* Run();

private:
    CDib* m_pSource;
    CDib* m_pTarget;
    bool m_bHighQuality;
    int m_nMeshWidth, m_nMeshHeight;
    std::vector<float> m_srcX, m_srcY, m_dstX, m_dstY;
};
