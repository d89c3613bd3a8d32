#include "imaging/C2DPointArray.h"

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"

#include <memory>

IMPLEMENT_SERIAL(C2DPointArray, CObject, 0)

void C2DPointArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (m_points.size() > 0xFFFF || m_points.size() != size_t(m_nWidth) * size_t(m_nHeight))
            AfxThrowNotSupportedException();
        ar.Write(kSignature, kSignatureSize);
        ar << m_nWidth << m_nHeight << static_cast<uint16_t>(m_points.size());
        for (const CPoint& p : m_points) ar << static_cast<int32_t>(p.x) << static_cast<int32_t>(p.y);
        return;
    }
    ReadSignature(ar, kSignature, kSignatureSize);
    int32_t nWidth, nHeight;
    uint16_t nCount;
    ar >> nWidth >> nHeight >> nCount;
    if (nWidth < 3 || nHeight < 3 || int64_t(nWidth) * nHeight != nCount)
        AfxThrowArchiveException(CArchiveException::badIndex);
    std::vector<CPoint> points = ReadPoints(ar, nCount);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_points = std::move(points);
}

bool C2DPointArray::Load(const std::string& path) {
    if (!SerializeFromFile(path, *this)) return false;
    m_strName = path;
    return true;
}

bool C2DPointArray::Store(const std::string& path) {
    if (!SerializeToFile(path, *this)) return false;
    m_strName = path;
    return true;
}
