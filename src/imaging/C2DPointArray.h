#pragma once
// A warp mesh as stored in a mesh file (.wms): mesh width and height and the
// points row by row, after a fixed signature. The points are in the
// coordinates of the picture copy the mesh was edited on.

#include "framework/CObject.h"
#include "framework/CRect.h"

#include <cstdint>
#include <string>
#include <vector>

class CArchive;

class C2DPointArray : public CObject {
    DECLARE_SERIAL(C2DPointArray)
public:
    static constexpr char kSignature[] = "Tuvessandrimolk-12-07-94"; // stored with its zero byte
    static constexpr uint32_t kSignatureSize = sizeof(kSignature);

    C2DPointArray() = default;
    C2DPointArray(int nWidth, int nHeight, std::vector<CPoint> points)
        : m_nWidth(nWidth), m_nHeight(nHeight), m_points(std::move(points)) {}

    // The whole file. A wrong signature, a mesh smaller than 3 × 3 or a point
    // count that differs from width × height throws the archive exception
    // (bad index); a short file throws it with end of file.
    void Serialize(CArchive& ar) override;

    // False when the file cannot be opened; otherwise as Serialize.
    bool Load(const std::string& path);
    // Writes beside the file and renames over it. False when the file cannot
    // be created (nothing is reported then).
    bool Store(const std::string& path);

    std::string m_strName; // not stored
    int32_t m_nWidth = 0;  // inner columns + 2
    int32_t m_nHeight = 0; // inner rows + 2
    std::vector<CPoint> m_points;
};
