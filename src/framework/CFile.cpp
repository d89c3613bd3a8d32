#include "framework/CFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

CFile::CFile(const std::string& path, unsigned nOpenFlags) {
    CFileException e;
    if (!Open(path, nOpenFlags, &e)) throw e;
}

CFile::~CFile() {
    if (m_hFile >= 0) ::close(m_hFile);
}

bool CFile::Open(const std::string& path, unsigned nOpenFlags, CFileException* pError) {
    auto fail = [&](int cause, int osError) {
        if (pError) *pError = CFileException(cause, osError, path);
        return false;
    };
    if (m_hFile >= 0) return fail(CFileException::invalidFile, EBADF);
    if (path.empty()) return fail(CFileException::badPath, ENOENT);
    m_strFileName = path;

    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    if (nOpenFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate)) flags |= O_TRUNC;
    }
    // Truncation must wait for the lock, or a refused second writer would
    // already have destroyed the file; so open first, lock, then truncate.
    const bool bTruncate = flags & O_TRUNC;
    flags &= ~O_TRUNC;

    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return fail(CFileException::OsErrorToCause(errno), errno);

    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }
    const unsigned share = nOpenFlags & 0x70;
    const bool bWriting = (nOpenFlags & 3) != modeRead;
    if (bWriting && (share == shareDenyWrite || share == shareExclusive)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            int err = errno;
            ::close(fd);
            return fail(CFileException::accessDenied, err);
        }
    }
    if (bTruncate && ::ftruncate(fd, 0) != 0) {
        int err = errno;
        ::close(fd);
        return fail(CFileException::OsErrorToCause(err), err);
    }
    m_hFile = fd;
    return true;
}

void CFile::ThrowOsError(int osError) const {
    AfxThrowOsFileException(osError, m_strFileName);
}

uint32_t CFile::Read(void* pBuf, uint32_t nCount) {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    auto* p = static_cast<uint8_t*>(pBuf);
    uint32_t nDone = 0;
    while (nDone < nCount) {
        ssize_t n = ::read(m_hFile, p + nDone, nCount - nDone);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowOsError(errno);
        }
        if (n == 0) break;
        nDone += static_cast<uint32_t>(n);
    }
    return nDone;
}

void CFile::ReadExact(void* pBuf, uint32_t nCount) {
    if (Read(pBuf, nCount) != nCount) AfxThrowFileException(CFileException::endOfFile, -1, m_strFileName);
}

void CFile::Write(const void* pBuf, uint32_t nCount) {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    auto* p = static_cast<const uint8_t*>(pBuf);
    uint32_t nDone = 0;
    while (nDone < nCount) {
        ssize_t n = ::write(m_hFile, p + nDone, nCount - nDone);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowOsError(errno);
        }
        if (n == 0) ThrowOsError(ENOSPC);
        nDone += static_cast<uint32_t>(n);
    }
}

uint64_t CFile::Seek(int64_t lOff, SeekPosition nFrom) {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    off_t pos = ::lseek(m_hFile, lOff, whence[nFrom]);
    if (pos < 0) AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<uint64_t>(pos);
}

uint64_t CFile::GetPosition() const {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
    if (pos < 0) AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<uint64_t>(pos);
}

uint64_t CFile::GetLength() const {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    struct stat st {};
    if (::fstat(m_hFile, &st) != 0) ThrowOsError(errno);
    return static_cast<uint64_t>(st.st_size);
}

void CFile::SetLength(uint64_t nNewLen) {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    if (::ftruncate(m_hFile, static_cast<off_t>(nNewLen)) != 0) ThrowOsError(errno);
}

void CFile::Flush() {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

void CFile::Sync() {
    if (m_hFile < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    if (::fsync(m_hFile) != 0 && errno != EINVAL) ThrowOsError(errno);
}

void CFile::Close() {
    if (m_hFile < 0) return;
    int fd = m_hFile;
    m_hFile = -1;
    if (::close(fd) != 0 && errno != EINTR) ThrowOsError(errno);
}

void CFile::Abort() {
    if (m_hFile >= 0) ::close(m_hFile);
    m_hFile = -1;
}

void CFile::Remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0) AfxThrowOsFileException(errno, path);
}

void CFile::Rename(const std::string& oldPath, const std::string& newPath) {
    if (::rename(oldPath.c_str(), newPath.c_str()) != 0) AfxThrowOsFileException(errno, oldPath);
}

bool CFile::Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// --- CMemFile ---------------------------------------------------------------

bool CMemFile::Open(const std::string&, unsigned, CFileException*) {
    return true;
}

uint32_t CMemFile::Read(void* pBuf, uint32_t nCount) {
    if (m_nPos >= m_data.size()) return 0;
    uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(nCount, m_data.size() - m_nPos));
    std::memcpy(pBuf, m_data.data() + m_nPos, n);
    m_nPos += n;
    return n;
}

void CMemFile::Write(const void* pBuf, uint32_t nCount) {
    if (m_nPos + nCount > m_data.size()) m_data.resize(m_nPos + nCount);
    std::memcpy(m_data.data() + m_nPos, pBuf, nCount);
    m_nPos += nCount;
}

uint64_t CMemFile::Seek(int64_t lOff, SeekPosition nFrom) {
    int64_t base = nFrom == begin     ? 0
                   : nFrom == current ? static_cast<int64_t>(m_nPos)
                                      : static_cast<int64_t>(m_data.size());
    if (base + lOff < 0) AfxThrowFileException(CFileException::badSeek, EINVAL);
    m_nPos = static_cast<uint64_t>(base + lOff);
    return m_nPos;
}

void CMemFile::SetLength(uint64_t nNewLen) {
    m_data.resize(nNewLen);
    if (m_nPos > nNewLen) m_nPos = nNewLen;
}

// --- CAtomicFile --------------------------------------------------------------

CAtomicFile::CAtomicFile(const std::string& path) : m_strPath(path) {
    // A unique name beside the destination (same directory, so rename is atomic).
    std::string pattern = path + ".zoziXXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) AfxThrowOsFileException(errno, path);
    ::close(fd);
    m_strTempPath = pattern;
    CFileException e;
    if (!m_file.Open(m_strTempPath, CFile::modeReadWrite | CFile::modeCreate | CFile::shareExclusive, &e)) {
        ::unlink(m_strTempPath.c_str());
        throw e;
    }
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        ::fchmod(m_file.GetHandle(), st.st_mode & 07777);
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_file.GetHandle(), 0666 & ~mask);
    }
}

CAtomicFile::~CAtomicFile() {
    if (!m_bDone) {
        m_file.Abort();
        ::unlink(m_strTempPath.c_str());
    }
}

void CAtomicFile::Commit() {
    m_file.Sync();
    m_file.Close();
    if (::rename(m_strTempPath.c_str(), m_strPath.c_str()) != 0) {
        int err = errno;
        ::unlink(m_strTempPath.c_str());
        m_bDone = true;
        AfxThrowOsFileException(err, m_strPath);
    }
    m_bDone = true;
}
