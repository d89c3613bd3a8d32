#pragma once
// A tone curve as stored in a curve file (.tac): a name, the parameter mode,
// the sample count and the control points, after a fixed signature.

#include "framework/CObject.h"
#include "framework/CRect.h"

#include <cstdint>
#include <string>
#include <vector>

class CArchive;
class CFile;

class CTonalAdjustCurve : public CObject {
    DECLARE_SERIAL(CTonalAdjustCurve)
public:
    static constexpr char kSignature[] = "Bervantolikus-09-07-94"; // stored with its zero byte
    static constexpr uint32_t kSignatureSize = sizeof(kSignature);

    CTonalAdjustCurve() = default;

    // The whole file: signature, name, mode, samples, point count, points.
    // A wrong signature or a record that cannot make a curve throws the
    // archive exception (bad index); a short file throws it with end of file.
    void Serialize(CArchive& ar) override;

    // False when the file cannot be opened; otherwise as Serialize.
    bool Load(const std::string& path);
    // Writes beside the file and renames over it. False when the file cannot
    // be created (nothing is reported then).
    bool Store(const std::string& path);

    // The record the curve dialog saves: the name is the file's name without
    // folder and extension, mode 0, 64 samples when smoothing, else 16.
    static CTonalAdjustCurve ForSave(const std::string& path, const std::vector<CPoint>& points,
                                     bool bSmooth);

    std::string m_strFileName; // not stored
    std::string m_strName;
    int32_t m_nParamMode = 0;
    int32_t m_nSamples = 64;
    std::vector<CPoint> m_points;
};
