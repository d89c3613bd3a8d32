#include "storage/formats/PictureFiles.h"

#include "framework/CFile.h"
#include "framework/Trace.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PixelLimit.h"

#include <new>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr int kMaxResolution = 5906;

// The file's bytes, mapped read-only (read into memory where mapping fails).
class CFileBytes {
public:
    CFileBytes() = default;
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;
    ~CFileBytes() {
        if (m_pMap) ::munmap(m_pMap, m_nSize);
    }
    const uint8_t* Data() const { return m_pMap ? static_cast<const uint8_t*>(m_pMap) : m_copy.data(); }
    size_t Size() const { return m_nSize; }

    int Load(const std::string& path) {
        CFile file;
        CFileException error;
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, &error))
            return error.m_cause == CFileException::fileNotFound ? IMPEXP_ERR_FILE_NOT_FOUND
                                                                 : IMPEXP_ERR_FILE_OPEN;
        try {
            const uint64_t size = file.GetLength();
            if (size > 0xFFFFFFFFull) return IMPEXP_ERR_NO_MEMORY;
            m_nSize = static_cast<size_t>(size);
            if (m_nSize == 0) return IMPEXP_SUCCESS;
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                void* p = ::mmap(nullptr, m_nSize, PROT_READ, MAP_PRIVATE, fd, 0);
                ::close(fd);
                if (p != MAP_FAILED) {
                    m_pMap = p;
                    return IMPEXP_SUCCESS;
                }
            }
            if (size >= GetRasterMemoryLimit()) return IMPEXP_ERR_NO_MEMORY;
            m_copy.resize(m_nSize);
            size_t done = 0;
            while (done < m_nSize) {
                uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(m_nSize - done, 1u << 30));
                uint32_t got = file.Read(m_copy.data() + done, chunk);
                if (got == 0) return IMPEXP_ERR_FILE_READ;
                done += got;
            }
        } catch (const CFileException&) {
            return IMPEXP_ERR_FILE_READ;
        } catch (const std::bad_alloc&) {
            return IMPEXP_ERR_NO_MEMORY;
        }
        return IMPEXP_SUCCESS;
    }

private:
    void* m_pMap = nullptr;
    size_t m_nSize = 0;
    std::vector<uint8_t> m_copy;
};

} // namespace

std::string PathExtension(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

int GetPictureFileInfo(const std::string& path, CImageFileInfo& info) {
    CFileBytes data;
    int rc = data.Load(path);
    if (rc != IMPEXP_SUCCESS) return rc;
    return CImageCodecs::GetInfo(data.Data(), data.Size(), PathExtension(path), info);
}

int ReadPictureFile(const std::string& path, CRaster& out, CImageFileInfo* pInfo) {
    CFileBytes data;
    int rc = data.Load(path);
    if (rc != IMPEXP_SUCCESS) return rc;
    CImageFileInfo info;
    rc = CImageCodecs::GetInfo(data.Data(), data.Size(), PathExtension(path), info);
    if (pInfo) *pInfo = info;
    if (rc != IMPEXP_SUCCESS) return rc;
    if (info.nWidth <= 0 || info.nHeight <= 0) return IMPEXP_ERR_INV_RANGE;
    if (!CheckPixelLimit(info.nWidth, info.nHeight)) return IMPEXP_ERR_TOO_MANY_PIXELS;
    // The memory need before decoding anything.
    const int nBits = info.nBits > 8 ? 24 : info.nBits;
    const uint64_t need = static_cast<uint64_t>(CRaster::StrideFor(info.nWidth, nBits)) *
                              (static_cast<uint64_t>(info.nHeight) + 16) +
                          8192;
    if (need >= GetRasterMemoryLimit()) {
        ZTRACE("ReadPictureFile(): %s needs %llu bytes\n", path.c_str(),
               static_cast<unsigned long long>(need));
        return IMPEXP_ERR_MEMORY_LOW;
    }
    rc = CImageCodecs::Read(data.Data(), data.Size(), info.nFormat, out);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (out.GetBitCount() == 16 || out.GetBitCount() == 32) {
        CRaster converted;
        rc = out.ConvertTo(24, converted);
        if (rc != IMPEXP_SUCCESS) return rc;
        out = std::move(converted);
    }
    if (out.m_nXRes < 0 || out.m_nXRes > kMaxResolution) out.m_nXRes = 0;
    if (out.m_nYRes < 0 || out.m_nYRes > kMaxResolution) out.m_nYRes = 0;
    return IMPEXP_SUCCESS;
}

int WritePictureFile(const CRaster& in, int nSaveType, const std::string& path) {
    if (!IsValidSaveType(nSaveType) || nSaveType == kSaveTypePhoto) return kBadSaveTypeResult;
    std::vector<uint8_t> bytes;
    int rc = CImageCodecs::Write(in, nSaveType, bytes);
    if (rc != IMPEXP_SUCCESS) return rc;
    try {
        CAtomicFile file(path);
        size_t done = 0;
        while (done < bytes.size()) {
            uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(bytes.size() - done, 1u << 30));
            file.File().Write(bytes.data() + done, chunk);
            done += chunk;
        }
        file.Commit();
    } catch (const CFileException& e) {
        if (e.m_cause == CFileException::accessDenied) throw; // a read-only target: the file error
        if (e.m_cause == CFileException::diskFull) return IMPEXP_ERR_DISK_FULL;
        if (e.m_cause == CFileException::badPath || e.m_cause == CFileException::fileNotFound)
            return IMPEXP_ERR_INV_FILENAME;
        return IMPEXP_ERR_FILE_WRITE;
    }
    return IMPEXP_SUCCESS;
}
