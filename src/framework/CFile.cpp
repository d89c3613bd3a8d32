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
        const uint32_t nAllowed = WriteAllowance(nCount - nDone);
        if (nAllowed == 0) ThrowOsError(ENOSPC);
        ssize_t n = ::write(m_hFile, p + nDone, nAllowed);
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

namespace {

long long g_nWriteBudget = -1;
long long g_nBytesWritten = 0;

// The file a path names once its symbolic links are followed; a dangling
// link names the file it would point to.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int nHops = 0; nHops < 40; ++nHops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0) AfxThrowOsFileException(errno, path);
        target.resize(static_cast<size_t>(n));
        if (!target.empty() && target[0] != '/') {
            const size_t nSlash = current.find_last_of('/');
            if (nSlash != std::string::npos) target = current.substr(0, nSlash + 1) + target;
        }
        current = target;
    }
    AfxThrowOsFileException(ELOOP, path);
}

// Whether the permission bits let this user write the file: the owner's bit
// for its owner, the group's for a member of its group, else the others'.
// The bits decide even for a privileged user, who could write anything.
bool ModeAllowsWrite(const struct stat& st) {
    if (st.st_uid == ::geteuid()) return (st.st_mode & S_IWUSR) != 0;
    bool bMember = st.st_gid == ::getegid();
    if (!bMember) {
        gid_t groups[256];
        const int n = ::getgroups(256, groups);
        bMember = n > 0 && std::find(groups, groups + n, st.st_gid) != groups + n;
    }
    return (st.st_mode & (bMember ? S_IWGRP : S_IWOTH)) != 0;
}

} // namespace

void CAtomicFile::SetWriteBudget(long long nBytes) {
    g_nWriteBudget = nBytes;
}

long long CAtomicFile::TakeBytesWritten() {
    const long long n = g_nBytesWritten;
    g_nBytesWritten = 0;
    return n;
}

// Counts a write against the test budget; the part that fits is written by the caller.
uint32_t CFile::WriteAllowance(uint32_t nCount) {
    if (g_nWriteBudget < 0) {
        g_nBytesWritten += nCount;
        return nCount;
    }
    const long long nLeft = g_nWriteBudget - g_nBytesWritten;
    const uint32_t n =
        nLeft < static_cast<long long>(nCount) ? static_cast<uint32_t>(std::max(0LL, nLeft)) : nCount;
    g_nBytesWritten += n;
    return n;
}

CAtomicFile::CAtomicFile(const std::string& path) : m_strPath(FollowLinks(path)) {
    // A read-only file is refused before anything is written: renaming over
    // it would ignore its mode.
    struct stat old {};
    if (::stat(m_strPath.c_str(), &old) == 0 && S_ISREG(old.st_mode) && !ModeAllowsWrite(old))
        AfxThrowFileException(CFileException::accessDenied, EACCES, path);
    // A unique name beside the destination (same directory, so rename is atomic).
    std::string pattern = m_strPath + ".zoziXXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) AfxThrowOsFileException(errno, path);
    ::close(fd);
    m_strTempPath = pattern;
    CFileException e;
    if (!m_file.Open(m_strTempPath, CFile::modeReadWrite | CFile::modeCreate | CFile::shareExclusive, &e)) {
        ::unlink(m_strTempPath.c_str());
        throw e;
    }
    struct stat st {};
    if (::stat(m_strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        m_nMode = st.st_mode & 07777;
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            m_nOwner = static_cast<int>(st.st_uid);
            m_nGroup = static_cast<int>(st.st_gid);
        }
        m_bInPlace = st.st_nlink > 1;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        m_nMode = 0666 & ~mask;
    }
    ApplyOwnerAndMode();
}

// Owner, group and permissions of the file being replaced. Changing the owner
// needs privileges; without them the group may still be kept.
void CAtomicFile::ApplyOwnerAndMode() {
    const int fd = m_file.IsOpen() ? m_file.GetHandle() : ::open(m_strTempPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    if (m_nOwner >= 0 && ::fchown(fd, static_cast<uid_t>(m_nOwner), static_cast<gid_t>(m_nGroup)) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(m_nGroup));
    ::fchmod(fd, static_cast<mode_t>(m_nMode));
    if (!m_file.IsOpen()) ::close(fd);
}

CAtomicFile::~CAtomicFile() {
    if (!m_bDone) {
        m_file.Abort();
        ::unlink(m_strTempPath.c_str());
    }
}

void CAtomicFile::Commit(bool bReplace) {
    if (m_file.IsOpen()) {
        m_file.Sync();
        m_file.Close();
    } else {
        // Written by name, perhaps recreated: its mode again, and what the
        // writer left in the cache to disk.
        ApplyOwnerAndMode();
        CFile f(m_strTempPath, CFile::modeRead);
        f.Sync();
    }
    int r = 0;
    if (!bReplace) {
        r = ::renameat2(AT_FDCWD, m_strTempPath.c_str(), AT_FDCWD, m_strPath.c_str(), RENAME_NOREPLACE);
        if (r != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the no-replace rename.
            struct stat st {};
            r = ::lstat(m_strPath.c_str(), &st) == 0 ? (errno = EEXIST, -1)
                                                     : ::rename(m_strTempPath.c_str(), m_strPath.c_str());
        }
    } else if (m_bInPlace) {
        CommitInPlace();
        return;
    } else {
        r = ::rename(m_strTempPath.c_str(), m_strPath.c_str());
    }
    if (r != 0) {
        int err = errno;
        ::unlink(m_strTempPath.c_str());
        m_bDone = true;
        AfxThrowOsFileException(err, m_strPath);
    }
    m_bDone = true;
}

// A file with several names: renaming would leave the other names on the old
// contents, so the complete new file beside is copied over the old one. When
// that copy fails half-way, the new contents stay beside as "<name>.zozi-new".
void CAtomicFile::CommitInPlace() {
    try {
        CFile in(m_strTempPath, CFile::modeRead);
        CFile out(m_strPath, CFile::modeWrite);
        std::vector<uint8_t> buf(1 << 20);
        for (;;) {
            const uint32_t n = in.Read(buf.data(), static_cast<uint32_t>(buf.size()));
            if (n == 0) break;
            out.Write(buf.data(), n);
        }
        out.SetLength(out.GetPosition());
        out.Sync();
        out.Close();
    } catch (...) {
        const std::string keep = m_strPath + ".zozi-new";
        if (::rename(m_strTempPath.c_str(), keep.c_str()) == 0) m_bDone = true;
        throw;
    }
    ::unlink(m_strTempPath.c_str());
    m_bDone = true;
}

void WriteBeside(const std::string& path, const std::function<void(const std::string& tempPath)>& write) {
    CAtomicFile file(path);
    file.CloseFile();
    write(file.TempPath());
    file.Commit();
}
