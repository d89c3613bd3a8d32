#include "storage/photo/CChunkJournal.h"

#include "framework/CException.h"
#include "framework/Trace.h"
#include "storage/ByteOrder.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kJournalMagic[8] = {'Q', 'L', 'N', 'J', 'R', 'N', 'L', '1'};

uint32_t Crc(const uint8_t* p, size_t n, uint32_t crc = 0) {
    return static_cast<uint32_t>(::crc32(crc, p, static_cast<uInt>(n)));
}

void PutU64(uint8_t* p, uint64_t v) {
    PutU32(p, static_cast<uint32_t>(v));
    PutU32(p + 4, static_cast<uint32_t>(v >> 32));
}

uint64_t GetU64(const uint8_t* p) {
    return GetU32(p) | (uint64_t{GetU32(p + 4)} << 32);
}

struct CFileId {
    uint64_t dev = 0;
    uint64_t ino = 0;
};

CFileId IdOf(const CFile& file) {
    struct stat st {};
    if (::fstat(file.GetHandle(), &st) != 0) AfxThrowOsFileException(errno, file.GetFilePath());
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

// Makes a creation or removal in the file's folder durable.
void SyncFolder(const std::string& fileName) {
    std::string dir = fileName;
    size_t slash = dir.find_last_of('/');
    dir = slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash);
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void ReadAt(CFile& file, uint64_t nOffset, void* p, uint32_t n) {
    file.Seek(static_cast<int64_t>(nOffset), CFile::begin);
    file.ReadExact(p, n);
}

} // namespace

CChunkJournal::CChunkJournal(WriteFn write, SyncFn sync)
    : m_write(std::move(write)), m_sync(std::move(sync)) {}

CChunkJournal::~CChunkJournal() {
    if (m_pJournal) m_pJournal->Abort();
}

void CChunkJournal::Append(const void* pData, uint32_t nCount) {
    m_pJournal->Seek(static_cast<int64_t>(m_nLength), CFile::begin);
    m_write(*m_pJournal, pData, nCount);
    m_nLength += nCount;
}

void CChunkJournal::Sync(CFile& file) {
    m_sync(file);
}

void CChunkJournal::Begin(CFile& target, const std::string& fileName) {
    if (m_pJournal) return;
    m_strPath = PathFor(fileName);
    auto pJournal = std::make_unique<CFile>();
    CFileException error;
    if (!pJournal->Open(m_strPath, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary, &error))
        throw error;
    m_pJournal = std::move(pJournal);
    m_nLength = 0;
    m_nOriginalLength = target.GetLength();
    try {
        const CFileId id = IdOf(target);
        uint8_t head[kHeaderSize];
        std::memcpy(head, kJournalMagic, 8);
        PutU64(head + 8, m_nOriginalLength);
        PutU64(head + 16, id.dev);
        PutU64(head + 24, id.ino);
        PutU32(head + 32, Crc(head, 32));
        Append(head, sizeof head);
        Sync(*m_pJournal);
        SyncFolder(m_strPath);
    } catch (...) {
        Remove();
        throw;
    }
}

void CChunkJournal::SaveRegion(CFile& target, uint64_t nOffset, uint64_t nLength) {
    if (!m_pJournal) AfxThrowFileException(CFileException::generic, -1, m_strPath);
    const uint64_t end = std::min(nOffset + nLength, std::min(m_nOriginalLength, target.GetLength()));
    if (nOffset >= end) return;
    const uint64_t mark = m_nLength;
    try {
        std::vector<uint8_t> buf(kEntryHeaderSize + std::min<uint64_t>(end - nOffset, kMaxEntryData));
        for (uint64_t at = nOffset; at < end;) {
            const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(end - at, kMaxEntryData));
            ReadAt(target, at, buf.data() + kEntryHeaderSize, n);
            PutU64(buf.data(), at);
            PutU32(buf.data() + 8, n);
            uint32_t crc = Crc(buf.data(), 12);
            PutU32(buf.data() + 12, Crc(buf.data() + kEntryHeaderSize, n, crc));
            Append(buf.data(), kEntryHeaderSize + n);
            at += n;
        }
        Sync(*m_pJournal);
    } catch (...) {
        // A torn entry at the end would hide the entries written after it.
        try {
            m_pJournal->SetLength(mark);
        } catch (const CException&) {
        }
        m_nLength = mark;
        throw;
    }
}

std::vector<CChunkJournal::CEntry> CChunkJournal::ReadEntries(CFile& journal, uint64_t nFrom,
                                                              uint64_t& nEnd) const {
    std::vector<CEntry> entries;
    const uint64_t length = journal.GetLength();
    std::vector<uint8_t> data;
    uint64_t at = nFrom;
    while (at + kEntryHeaderSize <= length) {
        uint8_t head[kEntryHeaderSize];
        ReadAt(journal, at, head, sizeof head);
        const uint64_t offset = GetU64(head);
        const uint32_t n = GetU32(head + 8);
        // Saved regions lie before the original length: anything else is not ours.
        if (n == 0 || n > kMaxEntryData || at + kEntryHeaderSize + n > length || offset > m_nOriginalLength ||
            n > m_nOriginalLength - offset)
            break;
        data.resize(n);
        ReadAt(journal, at + kEntryHeaderSize, data.data(), n);
        if (Crc(data.data(), n, Crc(head, 12)) != GetU32(head + 12)) break;
        entries.push_back({offset, at + kEntryHeaderSize, n});
        at += kEntryHeaderSize + n;
    }
    nEnd = at;
    return entries;
}

void CChunkJournal::Apply(CFile& journal, CFile& target, const std::vector<CEntry>& entries) {
    std::vector<uint8_t> data;
    // Latest first, so that a region saved twice ends with its oldest bytes.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        data.resize(it->nLength);
        ReadAt(journal, it->nDataPos, data.data(), it->nLength);
        target.Seek(static_cast<int64_t>(it->nOffset), CFile::begin);
        m_write(target, data.data(), it->nLength);
    }
}

void CChunkJournal::UndoTo(CFile& target, uint64_t nMark, uint64_t nFileLength) {
    if (!m_pJournal) return;
    uint64_t end = 0;
    Apply(*m_pJournal, target, ReadEntries(*m_pJournal, nMark, end));
    if (target.GetLength() > nFileLength) target.SetLength(nFileLength);
    Sync(target);
    if (m_nLength > nMark) {
        m_pJournal->SetLength(nMark);
        m_nLength = nMark;
    }
}

void CChunkJournal::Commit(CFile& target) {
    if (!m_pJournal) return;
    Sync(target);
    Remove();
}

void CChunkJournal::Discard() {
    if (m_pJournal) Remove();
}

void CChunkJournal::Rollback(CFile& target) {
    if (!m_pJournal) return;
    uint64_t end = 0;
    Apply(*m_pJournal, target, ReadEntries(*m_pJournal, kHeaderSize, end));
    if (target.GetLength() != m_nOriginalLength) target.SetLength(m_nOriginalLength);
    Sync(target);
    Remove();
}

void CChunkJournal::Remove() {
    if (m_pJournal) m_pJournal->Abort();
    m_pJournal.reset();
    m_nLength = 0;
    if (::unlink(m_strPath.c_str()) != 0 && errno != ENOENT) AfxThrowOsFileException(errno, m_strPath);
    SyncFolder(m_strPath);
}

bool CChunkJournal::Recover(CFile& target, const std::string& fileName) {
    if (m_pJournal) return false;
    m_strPath = PathFor(fileName);
    if (!CFile::Exists(m_strPath)) return false;
    auto pJournal = std::make_unique<CFile>();
    CFileException error;
    if (!pJournal->Open(m_strPath, CFile::modeReadWrite | CFile::typeBinary, &error)) throw error;
    m_pJournal = std::move(pJournal);
    m_nLength = m_pJournal->GetLength();
    uint8_t head[kHeaderSize] = {};
    bool bValid = m_nLength >= kHeaderSize;
    if (bValid) {
        ReadAt(*m_pJournal, 0, head, sizeof head);
        bValid = std::memcmp(head, kJournalMagic, 8) == 0 && Crc(head, 32) == GetU32(head + 32);
    }
    const CFileId id = IdOf(target);
    // Chunk files stay below 4 GB; a larger original length is not a journal of ours.
    if (!bValid || GetU64(head + 8) > kMaxFileLength || GetU64(head + 16) != id.dev ||
        GetU64(head + 24) != id.ino) {
        // Torn before anything was written to the file, or left by a file that
        // has since been replaced as a whole: nothing to undo.
        ZTRACE("CChunkJournal::Recover(): '%s' dropped.\n", m_strPath.c_str());
        Remove();
        return false;
    }
    m_nOriginalLength = GetU64(head + 8);
    ZTRACE("CChunkJournal::Recover(): rolling '%s' back to %llu bytes.\n", fileName.c_str(),
           static_cast<unsigned long long>(m_nOriginalLength));
    Rollback(target);
    return true;
}
