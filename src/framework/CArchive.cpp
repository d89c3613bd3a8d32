#include "framework/CArchive.h"

#include <bit>
#include <cstring>
#include <memory>

namespace {
constexpr size_t kBufSize = 4096;
constexpr size_t kMaxClassName = 64; // the framework refuses longer class names
} // namespace

CArchive::CArchive(CFile* pFile, Mode nMode) : m_pFile(pFile), m_nMode(nMode), m_buf(kBufSize) {
    m_loadArray.push_back({nullptr, nullptr}); // index 0: the null object
}

CArchive::~CArchive() = default;

void CArchive::ThrowEnd() const {
    AfxThrowArchiveException(CArchiveException::endOfFile, m_pFile ? m_pFile->GetFilePath() : std::string());
}

void CArchive::Flush() {
    if (IsStoring() && m_nBufPos > 0) {
        m_pFile->Write(m_buf.data(), static_cast<uint32_t>(m_nBufPos));
        m_nBufPos = 0;
    }
}

void CArchive::Close() {
    Flush();
    m_pFile->Flush();
}

void CArchive::Abort() {
    m_nBufPos = m_nBufLen = 0;
}

void CArchive::FillBuffer(uint32_t nNeeded) {
    // Keep the unread bytes, then top the buffer up from the file.
    size_t nLeft = m_nBufLen - m_nBufPos;
    if (nLeft && m_nBufPos) std::memmove(m_buf.data(), m_buf.data() + m_nBufPos, nLeft);
    m_nBufPos = 0;
    m_nBufLen = nLeft;
    if (m_buf.size() < nNeeded) m_buf.resize(nNeeded);
    while (m_nBufLen < nNeeded) {
        uint32_t n = m_pFile->Read(m_buf.data() + m_nBufLen, static_cast<uint32_t>(m_buf.size() - m_nBufLen));
        if (n == 0) ThrowEnd();
        m_nBufLen += n;
    }
}

uint64_t CArchive::BytesRemaining() const {
    uint64_t nFile = 0;
    uint64_t len = m_pFile->GetLength(), pos = m_pFile->GetPosition();
    if (len > pos) nFile = len - pos;
    return (m_nBufLen - m_nBufPos) + nFile;
}

void CArchive::Read(void* p, uint32_t n) {
    if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly);
    auto* dst = static_cast<uint8_t*>(p);
    size_t nAvail = m_nBufLen - m_nBufPos;
    if (n <= nAvail) {
        std::memcpy(dst, m_buf.data() + m_nBufPos, n);
        m_nBufPos += n;
        return;
    }
    std::memcpy(dst, m_buf.data() + m_nBufPos, nAvail);
    m_nBufPos = m_nBufLen = 0;
    uint32_t nRest = n - static_cast<uint32_t>(nAvail);
    if (nRest >= kBufSize) {
        if (m_pFile->Read(dst + nAvail, nRest) != nRest) ThrowEnd();
        return;
    }
    FillBuffer(nRest);
    std::memcpy(dst + nAvail, m_buf.data(), nRest);
    m_nBufPos = nRest;
}

void CArchive::Write(const void* p, uint32_t n) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly);
    const auto* src = static_cast<const uint8_t*>(p);
    if (m_nBufPos + n > kBufSize) {
        Flush();
        if (n >= kBufSize) {
            m_pFile->Write(src, n);
            return;
        }
    }
    std::memcpy(m_buf.data() + m_nBufPos, src, n);
    m_nBufPos += n;
}

template <typename T> T CArchive::ReadLE() {
    uint8_t b[sizeof(T)];
    Read(b, sizeof(T));
    std::make_unsigned_t<T> v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<std::make_unsigned_t<T>>(b[i]) << (8 * i);
    return static_cast<T>(v);
}

template <typename T> void CArchive::WriteLE(T v) {
    uint8_t b[sizeof(T)];
    auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<uint8_t>(u >> (8 * i));
    Write(b, sizeof(T));
}

CArchive& CArchive::operator<<(uint8_t v) {
    Write(&v, 1);
    return *this;
}
CArchive& CArchive::operator<<(uint16_t v) {
    WriteLE(v);
    return *this;
}
CArchive& CArchive::operator<<(uint32_t v) {
    WriteLE(v);
    return *this;
}
CArchive& CArchive::operator<<(float v) {
    WriteLE(std::bit_cast<uint32_t>(v));
    return *this;
}
CArchive& CArchive::operator<<(double v) {
    WriteLE(std::bit_cast<uint64_t>(v));
    return *this;
}
CArchive& CArchive::operator>>(uint8_t& v) {
    Read(&v, 1);
    return *this;
}
CArchive& CArchive::operator>>(uint16_t& v) {
    v = ReadLE<uint16_t>();
    return *this;
}
CArchive& CArchive::operator>>(int16_t& v) {
    v = static_cast<int16_t>(ReadLE<uint16_t>());
    return *this;
}
CArchive& CArchive::operator>>(uint32_t& v) {
    v = ReadLE<uint32_t>();
    return *this;
}
CArchive& CArchive::operator>>(int32_t& v) {
    v = static_cast<int32_t>(ReadLE<uint32_t>());
    return *this;
}
CArchive& CArchive::operator>>(float& v) {
    v = std::bit_cast<float>(ReadLE<uint32_t>());
    return *this;
}
CArchive& CArchive::operator>>(double& v) {
    v = std::bit_cast<double>(ReadLE<uint64_t>());
    return *this;
}

// A length below 255 is one byte; below 0xFFFE the byte 0xFF and a word;
// longer ones 0xFF, the word 0xFFFF and a double word.
void CArchive::WriteString(const std::string& s) {
    const uint64_t n = s.size();
    if (n > 0xFFFFFFFFull) AfxThrowArchiveException(CArchiveException::generic);
    if (n < 255) {
        *this << static_cast<uint8_t>(n);
    } else if (n < 0xFFFE) {
        *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(n);
    } else {
        *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFF) << static_cast<uint32_t>(n);
    }
    Write(s.data(), static_cast<uint32_t>(n));
}

std::string CArchive::ReadString() {
    uint8_t b;
    *this >> b;
    uint32_t n = b;
    if (b == 0xFF) {
        uint16_t w;
        *this >> w;
        n = w;
        if (w == 0xFFFF) *this >> n;
    }
    if (n > BytesRemaining()) ThrowEnd();
    std::string s(n, '\0');
    Read(s.data(), n);
    return s;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    if (!pClassRef->IsSerializable()) AfxThrowNotSupportedException();
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        uint32_t nClassIndex = it->second;
        if (nClassIndex < wBigObjectTag) {
            *this << static_cast<uint16_t>(wClassTag | nClassIndex);
        } else {
            *this << wBigObjectTag << (dwBigClassTag | nClassIndex);
        }
        return;
    }
    const std::string_view name = pClassRef->m_lpszClassName;
    *this << wNewClassTag << static_cast<uint16_t>(pClassRef->m_wSchema)
          << static_cast<uint16_t>(name.size());
    Write(name.data(), static_cast<uint32_t>(name.size()));
    if (m_nMapCount >= nMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    m_storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb) {
    if (!pOb) {
        *this << wNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        uint32_t nObIndex = it->second;
        if (nObIndex < wBigObjectTag) {
            *this << static_cast<uint16_t>(nObIndex);
        } else {
            *this << wBigObjectTag << nObIndex;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_nMapCount >= nMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClassTag(const CRuntimeClass* pClassRefRequested, unsigned* pSchema,
                                            uint32_t* pObTag) {
    if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly);
    uint16_t wTag;
    *this >> wTag;
    uint32_t obTag;
    if (wTag == wBigObjectTag) {
        *this >> obTag;
    } else {
        obTag = (static_cast<uint32_t>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
    }
    if (!(obTag & dwBigClassTag)) {
        if (!pObTag) AfxThrowArchiveException(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    const CRuntimeClass* pClassRef;
    unsigned nSchema;
    if (wTag == wNewClassTag) {
        uint16_t wSchema, nLen;
        *this >> wSchema >> nLen;
        if (nLen >= kMaxClassName) AfxThrowArchiveException(CArchiveException::badClass);
        char szName[kMaxClassName];
        Read(szName, nLen);
        pClassRef = CRuntimeClass::FromName(std::string_view(szName, nLen));
        if (!pClassRef) AfxThrowArchiveException(CArchiveException::badClass);
        if (pClassRef->m_wSchema != wSchema) AfxThrowArchiveException(CArchiveException::badSchema);
        nSchema = wSchema;
        if (m_nMapCount >= nMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
        m_loadArray.push_back({pClassRef, nullptr});
        ++m_nMapCount;
    } else {
        uint32_t nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || !m_loadArray[nClassIndex].pClass)
            AfxThrowArchiveException(CArchiveException::badIndex);
        pClassRef = m_loadArray[nClassIndex].pClass;
        nSchema = pClassRef->m_wSchema;
    }
    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass);
    if (pSchema) *pSchema = nSchema;
    return pClassRef;
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, unsigned* pSchema) {
    return ReadClassTag(pClassRefRequested, pSchema, nullptr);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested, bool* pbReference) {
    if (pbReference) *pbReference = false;
    unsigned nSchema = 0;
    uint32_t obTag = 0;
    const CRuntimeClass* pClassRef = ReadClassTag(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef) {
        // A reference to an object read before (0 is the null object).
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].pClass)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CObject* pOb = m_loadArray[obTag].pObject;
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass);
        if (pOb && pbReference) *pbReference = true;
        return pOb;
    }
    std::unique_ptr<CObject> pOb(pClassRef->CreateObject());
    if (!pOb) AfxThrowMemoryException();
    if (m_nMapCount >= nMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    size_t nIndex = m_loadArray.size();
    m_loadArray.push_back({nullptr, pOb.get()});
    ++m_nMapCount;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        m_loadArray[nIndex].pObject = nullptr;
        throw;
    }
    return pOb.release();
}

void ReadSignature(CArchive& ar, const char* pSignature, uint32_t nSize) {
    std::vector<char> sig(nSize);
    ar.Read(sig.data(), nSize);
    if (std::memcmp(sig.data(), pSignature, nSize) != 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
}

std::vector<CPoint> ReadPoints(CArchive& ar, uint32_t nCount) {
    if (uint64_t(nCount) * 8 > ar.BytesRemaining()) AfxThrowArchiveException(CArchiveException::endOfFile);
    std::vector<CPoint> points(nCount);
    for (CPoint& p : points) {
        int32_t x, y;
        ar >> x >> y;
        p = CPoint(x, y);
    }
    return points;
}

bool SerializeFromFile(const std::string& path, CObject& ob) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return false;
    CArchive ar(&file, CArchive::load);
    ob.Serialize(ar);
    return true;
}

bool SerializeToFile(const std::string& path, CObject& ob) {
    std::unique_ptr<CAtomicFile> pFile;
    try {
        pFile = std::make_unique<CAtomicFile>(path);
    } catch (const CFileException&) {
        return false;
    }
    CArchive ar(&pFile->File(), CArchive::store);
    ob.Serialize(ar);
    ar.Close();
    pFile->Commit();
    return true;
}
