#include "storage/install/CxQLNArchive.h"

#include "framework/CFile.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/Trace.h"
#include "framework/UserPrompt.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

IMPLEMENT_DYNAMIC(CxQLNArchive, CObject)

namespace {

constexpr char kMagic[] = "QLN95B"; // compared with its terminating zero
constexpr uint32_t kMaxNameLength = CxQLNArchive::kNameSize - 1;
// Entries are read and copied in pieces of this size, never whole.
constexpr uint32_t kBufferSize = 1u << 20;
constexpr uint64_t kKernelCopyMin = 64 * 1024;
// The wizard's progress message travels in a buffer of 260 characters.
constexpr size_t kMaxProgressText = 259;

uint32_t GetLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// Copies up to nCount bytes from offset nFrom of one file to the current
// position of the other in the kernel. Returns the bytes copied; fewer when
// the file systems cannot do it, and the caller copies the rest itself.
uint64_t CopyFileRange(int nIn, uint64_t nFrom, int nOut, uint64_t nCount, const std::string& strTarget) {
    loff_t nOff = static_cast<loff_t>(nFrom);
    uint64_t nDone = 0;
    while (nDone < nCount) {
        ssize_t n =
            ::copy_file_range(nIn, &nOff, nOut, nullptr, std::min<uint64_t>(nCount - nDone, 1u << 30), 0);
        if (n > 0) {
            nDone += static_cast<uint64_t>(n);
            continue;
        }
        if (n == 0) AfxThrowFileException(CFileException::endOfFile, -1, strTarget);
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF)
            break;
        AfxThrowOsFileException(errno, strTarget);
    }
    return nDone;
}

} // namespace

CxQLNArchive::~CxQLNArchive() {
    m_file.Abort();
    m_bOpen = false;
}

std::string CxQLNArchive::GetFileErrorText(const CFileException& e) {
    switch (e.m_cause) {
    case CFileException::fileNotFound:
        return FormatMessageText("File %1 not found.", e.m_strFileName);
    case CFileException::badPath:
        return FormatMessageText("Path %1 not valid.", e.m_strFileName);
    case CFileException::tooManyOpenFiles:
        return "No file handles available.";
    case CFileException::accessDenied:
        return FormatMessageText("Access to file %1 denied.", e.m_strFileName);
    default:
        return GetExceptionMessage(e); // the general text for the cause
    }
}

void CxQLNArchive::ShowFileError(const CFileException& e) {
    GetUserPrompt().MessageBox(GetFileErrorText(e), MB_OK | MB_ICONSTOP);
}

bool CxQLNArchive::IsSafeEntryName(const std::string& strName) {
    if (strName.empty() || strName == "." || strName == "..") return false;
    // No directory part and no drive: the file lands in the destination itself.
    return strName.find_first_of("/\\:") == std::string::npos;
}

bool CxQLNArchive::Open(const std::string& strFileName, unsigned nMode) {
    if (m_bOpen || m_file.IsOpen()) {
        SetDeleteOnClose(false);
        Close();
    }
    m_entries.clear();
    m_nErrorState = errNone;
    m_bDeleteOnClose = (nMode & modeDeleteOnClose) != 0;
    m_nMode = nMode & ~modeDeleteOnClose;
    m_strFileName = strFileName;

    CFileException e;
    if (!m_file.Open(strFileName, m_nMode, &e)) {
        m_nErrorState = errOpenFailed;
        m_bDeleteOnClose = false;
        ShowFileError(e);
        return false;
    }
    std::memset(m_header, 0, sizeof m_header);
    uint32_t nRead = m_file.Read(m_header, kHeaderSize);
    if (nRead < kHeaderSize || std::memcmp(m_header, kMagic, sizeof kMagic) != 0) {
        ZTRACE("Open(): %s is not a package\n", strFileName.c_str());
        m_nErrorState = errNotPackage;
        m_bDeleteOnClose = false;
        m_file.Abort();
        return false;
    }
    m_bOpen = true;
    return ReadEntryList();
}

bool CxQLNArchive::ReadEntryList() {
    m_entries.clear();
    const uint64_t nLength = m_file.GetLength();
    uint64_t nPos = m_file.Seek(kHeaderSize, CFile::begin);
    std::vector<uint8_t> buf;
    for (;;) {
        uint8_t hdr[kEntryHeaderSize] = {};
        uint32_t nRead = m_file.Read(hdr, kEntryHeaderSize);
        if (hdr[0] == 0) break; // an empty name or the end of the file
        // A header cut off by the end of the file, or data reaching past it,
        // is a damaged package: no checksum can vouch for it.
        if (nRead < kEntryHeaderSize) {
            ZTRACE("ReadEntryList(): header cut short at %llu\n", static_cast<unsigned long long>(nPos));
            m_nErrorState = errChecksum;
            return false;
        }
        const uint32_t dwCrc = GetLE32(hdr + 256);
        const uint32_t dwSize = GetLE32(hdr + 260);
        const uint64_t nData = nPos + kEntryHeaderSize;
        if (nData + dwSize > nLength) {
            ZTRACE("ReadEntryList(): entry data past the end of the file\n");
            m_nErrorState = errChecksum;
            return false;
        }
        // The name is cut at 255 characters when its terminating zero is missing.
        const auto* pName = reinterpret_cast<const char*>(hdr);
        std::string strName(pName, strnlen(pName, kMaxNameLength));

        if (buf.size() < std::min(dwSize, kBufferSize)) buf.resize(std::min(dwSize, kBufferSize));
        uLong crc = crc32(0L, Z_NULL, 0);
        for (uint32_t nLeft = dwSize; nLeft > 0;) {
            uint32_t n = std::min<uint32_t>(nLeft, static_cast<uint32_t>(buf.size()));
            m_file.ReadExact(buf.data(), n);
            crc = crc32(crc, buf.data(), n);
            nLeft -= n;
        }
        if (static_cast<uint32_t>(crc) != dwCrc) {
            ZTRACE("ReadEntryList(): checksum mismatch in %s\n", strName.c_str());
            m_nErrorState = errChecksum;
            return false;
        }
        m_entries.push_back({std::move(strName), nPos, uint64_t(dwSize) + kEntryHeaderSize, dwCrc});
        nPos = nData + dwSize;
    }
    return true;
}

bool CxQLNArchive::Close() {
    if (!m_bOpen && !m_file.IsOpen()) return false;
    m_file.Abort();
    m_bOpen = false;
    if (m_bDeleteOnClose) {
        m_bDeleteOnClose = false;
        if (::unlink(m_strFileName.c_str()) != 0)
            ZTRACE("Close(): could not delete %s: %s\n", m_strFileName.c_str(), std::strerror(errno));
    }
    return true;
}

uint64_t CxQLNArchive::GetTotalDataSize() const {
    uint64_t nTotal = 0;
    for (const auto& e : m_entries) nTotal += e.m_dwSize - kEntryHeaderSize;
    return nTotal;
}

void CxQLNArchive::GetEntryNames(std::vector<std::string>& names) const {
    for (const auto& e : m_entries) names.push_back(e.m_strName);
}

bool CxQLNArchive::Extract(const std::string& strDestDir) {
    m_bOverwriteAll = false;
    if (!m_bOpen) return false;
    // A name with a directory part could write outside the destination:
    // refuse the package before anything is written.
    for (const auto& e : m_entries) {
        if (!IsSafeEntryName(e.m_strName)) {
            GetUserPrompt().MessageBox(FormatMessageText(kPackageBadNameText, e.m_strName),
                                       MB_OK | MB_ICONSTOP);
            return false;
        }
    }
    std::vector<uint8_t> buf;
    for (const auto& e : m_entries) {
        if (!ExtractEntry(e, strDestDir, buf)) {
            m_bOverwriteAll = false;
            return false;
        }
    }
    m_bOverwriteAll = false;
    return true;
}

bool CxQLNArchive::ExtractEntry(const CxQLNArchiveEntry& entry, const std::string& strDestDir,
                                std::vector<uint8_t>& buf) {
    const std::string strTarget = JoinPath(strDestDir, entry.m_strName);
    GetUserPrompt().SetStatusText(entry.m_strName.substr(0, kMaxProgressText));

    // Does the target exist? Opening it for writing tells, as it did on the
    // original system; a dangling link counts as existing, so that it is
    // removed rather than followed.
    bool bExists = false;
    {
        CFile test;
        CFileException e;
        struct stat st {};
        if (test.Open(strTarget, CFile::modeWrite | CFile::shareDenyNone, &e)) {
            bExists = true;
            test.Abort();
        } else if (e.m_cause == CFileException::fileNotFound) {
            bExists = ::lstat(strTarget.c_str(), &st) == 0;
        } else {
            ShowFileError(e);
            return false;
        }
    }
    if (bExists) {
        if (!m_bOverwriteAll) {
            int n = GetUserPrompt().AskButtons(FormatMessageText(kPackageOverwriteText, strTarget),
                                               {"Yes", "Yes To All...", "No"}, MB_ICONQUESTION, 2);
            if (n == 1)
                m_bOverwriteAll = true;
            else if (n != 0)
                return true; // No: keep the file, go on with the next entry
        }
    }
    // A link in the destination is replaced, never written through.
    struct stat stLink {};
    if (bExists && ::lstat(strTarget.c_str(), &stLink) == 0 && S_ISLNK(stLink.st_mode) &&
        ::unlink(strTarget.c_str()) != 0) {
        ZTRACE("Extract(): cannot delete %s, entry skipped\n", strTarget.c_str());
        return true;
    }

    // Written beside the target and renamed over it: an existing file stays
    // whole until the new one is complete.
    std::unique_ptr<CAtomicFile> pOut;
    try {
        pOut = std::make_unique<CAtomicFile>(strTarget);
    } catch (const CFileException& e) {
        if (bExists) {
            ZTRACE("Extract(): cannot replace %s, entry skipped\n", strTarget.c_str());
            return true;
        }
        ShowFileError(e);
        return false;
    }
    CFile& out = pOut->File();
    try {
        const uint64_t nData = entry.m_dwOffset + kEntryHeaderSize;
        uint64_t nLeft = entry.m_dwSize - kEntryHeaderSize;
        // The kernel copies large entries file to file without passing the
        // data through here; small ones are not worth the extra calls.
        const uint64_t nCopied = nLeft >= kKernelCopyMin ? CopyFileRange(m_file.GetHandle(), nData,
                                                                         out.GetHandle(), nLeft, strTarget)
                                                         : 0;
        nLeft -= nCopied;
        m_file.Seek(static_cast<int64_t>(nData + nCopied), CFile::begin);
        if (buf.size() < std::min<uint64_t>(nLeft, kBufferSize))
            buf.resize(std::min<uint64_t>(nLeft, kBufferSize));
        while (nLeft > 0) {
            uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(nLeft, buf.size()));
            m_file.ReadExact(buf.data(), n);
            out.Write(buf.data(), n);
            nLeft -= n;
        }
        pOut->Commit();
    } catch (const CFileException& ex) {
        // No half-written file stays behind; an old file stays as it was.
        pOut.reset();
        ShowFileError(ex);
        return false;
    }
    return true;
}
