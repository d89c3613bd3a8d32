#include "imaging/CTonalAdjustCurve.h"

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "imaging/CToneCurve.h"

#include <cstring>
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
    char sig[kSignatureSize];
    ar.Read(sig, kSignatureSize);
    if (std::memcmp(sig, kSignature, kSignatureSize) != 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
    std::string strName;
    int32_t nMode, nSamples;
    uint32_t nCount;
    ar >> strName >> nMode >> nSamples >> nCount;
    // The count is bounded by the bytes present and by what a curve can hold.
    if (nCount > static_cast<uint32_t>(CToneCurve::kMaxPoints))
        AfxThrowArchiveException(CArchiveException::badIndex);
    if (uint64_t(nCount) * 8 > ar.BytesRemaining()) AfxThrowArchiveException(CArchiveException::endOfFile);
    std::vector<CPoint> points(nCount);
    for (CPoint& p : points) {
        int32_t x, y;
        ar >> x >> y;
        p = CPoint(x, y);
    }
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
