#include "imaging/CTonalAdjustCurve.h"

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "imaging/CToneCurve.h"

#include <filesystem>
#include <memory>

IMPLEMENT_SERIAL(CTonalAdjustCurve, CObject, 0)

void CTonalAdjustCurve::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.Write(kSignature, kSignatureSize);
        ar << m_strName << m_nParamMode << m_nSamples << static_cast<uint32_t>(m_points.size());
        for (const CPoint& p : m_points) ar << static_cast<int32_t>(p.x) << static_cast<int32_t>(p.y);
        return;
    }
    ReadSignature(ar, kSignature, kSignatureSize);
    std::string strName;
    int32_t nMode, nSamples;
    uint32_t nCount;
    ar >> strName >> nMode >> nSamples >> nCount;
    // The count is bounded by the bytes present and by what a curve can hold.
    if (nCount > static_cast<uint32_t>(CToneCurve::kMaxPoints))
        AfxThrowArchiveException(CArchiveException::badIndex);
    std::vector<CPoint> points = ReadPoints(ar, nCount);
    if (!CToneCurve::IsValidPoints(points) || !CToneCurve::IsValidSamples(nSamples) ||
        !CToneCurve::IsValidParamMode(nMode))
        AfxThrowArchiveException(CArchiveException::badIndex);
    m_strName = std::move(strName);
    m_nParamMode = nMode;
    m_nSamples = nSamples;
    m_points = std::move(points);
}

bool CTonalAdjustCurve::Load(const std::string& path) {
    if (!SerializeFromFile(path, *this)) return false;
    m_strFileName = path;
    return true;
}

bool CTonalAdjustCurve::Store(const std::string& path) {
    if (!SerializeToFile(path, *this)) return false;
    m_strFileName = path;
    return true;
}

CTonalAdjustCurve CTonalAdjustCurve::ForSave(const std::string& path, const std::vector<CPoint>& points,
                                             bool bSmooth) {
    CTonalAdjustCurve curve;
    curve.m_strFileName = path;
    curve.m_strName = std::filesystem::path(path).stem().string();
    curve.m_nParamMode = 0;
    curve.m_nSamples = bSmooth ? CToneCurve::kSmoothSamples : CToneCurve::kAngularSamples;
    curve.m_points = points;
    return curve;
}
