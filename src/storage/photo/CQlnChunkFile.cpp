#include "storage/photo/CQlnChunkFile.h"

#include "framework/Trace.h"
#include "storage/ByteOrder.h"

#include <algorithm>
#include <cstring>

#include <unistd.h>

IMPLEMENT_DYNAMIC(CQlnChunkFile, CObject)

namespace {

constexpr char kMagic[6] = {'Q', 'L', 'N', '9', '4', 'A'};
constexpr uint64_t kMaxOffset = 0xFFFFFFFFull; // sizes and offsets are 32-bit
constexpr uint32_t kCopyBlock = 1u << 20;
constexpr uint32_t kMaxChunks = 0xFFF0; // the most chunks the 16-bit slot count can hold

QlnAllocHook s_pfnAlloc = QLNI_DefaultAllocMemory;
QlnFreeHook s_pfnFree = QLNI_DefaultFreeMemory;

ChunkFileHdrType NewMainHeader() {
    ChunkFileHdrType hdr{};
    std::memcpy(hdr.chMagicCookie, kMagic, sizeof kMagic);
    hdr.wIndexDataSize = 4;
    hdr.wIndexCount = CQlnChunkFile::kSlotStep;
    hdr.wFileFlags = 0;
    return hdr;
}

uint32_t PaddingFor(uint32_t dwDataSize, uint32_t dwBlockGranularity) {
    if (dwBlockGranularity == 0) return 0;
    uint32_t mod = dwDataSize % dwBlockGranularity;
    uint32_t pad = mod ? dwBlockGranularity - mod : 0;
    ZTRACE("PAD=%lu BlkGran=%lu ChkSize=%lu Mod=%lu\n", static_cast<unsigned long>(pad),
           static_cast<unsigned long>(dwBlockGranularity),
           static_cast<unsigned long>(uint64_t{dwDataSize} + pad + CQlnChunkFile::kChunkOverhead),
           static_cast<unsigned long>(mod));
    return pad;
}

[[noreturn]] void ThrowGeneric(const std::string& fileName) {
    AfxThrowFileException(CFileException::generic, -1, fileName);
}

} // namespace

CQlnChunkFile::CQlnChunkFile() : m_MainHdr(NewMainHeader()), m_SavedHdr(NewMainHeader()) {
    m_pJournal = std::make_unique<CChunkJournal>(
        [this](CFile& file, const void* p, uint32_t n) { WriteBytes(file, p, n); },
        [this](CFile& file) { SyncFile(file); });
}

CQlnChunkFile::~CQlnChunkFile() {
    ResetObject(true);
}

// --- memory ------------------------------------------------------------------

void CQlnChunkFile::SetMemoryHooks(QlnAllocHook pfnAlloc, QlnFreeHook pfnFree) {
    if (pfnAlloc) s_pfnAlloc = pfnAlloc;
    if (pfnFree) s_pfnFree = pfnFree;
}

void* CQlnChunkFile::AllocChunkMemory(uint32_t dwSize, bool bDiscardable) {
    void* p = s_pfnAlloc(dwSize, bDiscardable);
    if (!p) AfxThrowMemoryException();
    return p;
}

void CQlnChunkFile::FreeChunkMemory(void* p) {
    if (p) s_pfnFree(p);
}

// --- state -------------------------------------------------------------------

void CQlnChunkFile::ResetObject(bool bKeepName) {
    // Changes that were not saved are rolled back; should that fail, the
    // journal stays for the next open.
    if (m_pJournal->IsActive()) {
        try {
            if (m_pFile && m_pFile->IsOpen()) m_pJournal->Rollback(*m_pFile);
        } catch (...) {
        }
        if (m_pJournal->IsActive())
            m_pJournal = std::make_unique<CChunkJournal>(
                [this](CFile& file, const void* p, uint32_t n) { WriteBytes(file, p, n); },
                [this](CFile& file) { SyncFile(file); });
    }
    if (m_pFile) m_pFile->Abort();
    m_pFile.reset();
    if (!bKeepName) m_FileName.clear();
    m_bFileOverwrite = m_bIndexChange = m_bChunkRefresh = m_bReadOnly = false;
    m_MainHdr = m_SavedHdr = NewMainHeader();
    m_IndexList.clear();
    m_IndexSlot = {};
}

void CQlnChunkFile::CheckOpen() const {
    if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_FileName);
}

void CQlnChunkFile::CheckWritable() const {
    CheckOpen();
    if (m_bReadOnly) AfxThrowFileException(CFileException::accessDenied, -1, m_FileName);
}

CChunkIndex* CQlnChunkFile::FindChunk(uint32_t dwChunkID) const {
    for (const auto& p : m_IndexList)
        if (p->m_dwChunkID == dwChunkID) return p.get();
    return nullptr;
}

void CQlnChunkFile::WriteBytes(CFile& file, const void* pData, uint32_t nCount) {
    file.Write(pData, nCount);
}

void CQlnChunkFile::SyncFile(CFile& file) {
    file.Sync();
}

// --- the rollback journal ------------------------------------------------------

CQlnChunkFile::CChangeMark CQlnChunkFile::BeginChange() {
    CheckWritable();
    if (!m_pJournal->IsActive()) m_pJournal->Begin(*m_pFile, m_FileName);
    return {m_pJournal->Mark(), m_pFile->GetLength()};
}

void CQlnChunkFile::Protect(uint64_t nOffset, uint64_t nLength) {
    m_pJournal->SaveRegion(*m_pFile, nOffset, nLength);
}

void CQlnChunkFile::UndoChange(const CChangeMark& mark) {
    try {
        m_pJournal->UndoTo(*m_pFile, mark.nJournal, mark.nFileLength);
    } catch (const CException&) {
        // The file cannot be mended now: all changes since the last save are
        // dropped, by the journal now or at the next open.
        ResetObject(true);
    }
}

void CQlnChunkFile::CommitChanges() {
    m_pJournal->Commit(*m_pFile);
}

void CQlnChunkFile::RollbackChanges() {
    try {
        m_pJournal->Rollback(*m_pFile);
        // The object describes the file as it is again.
        ReadMainHeader();
        LoadIndexList();
        m_bIndexChange = m_bChunkRefresh = false;
    } catch (const CException&) {
        ResetObject(true);
    }
}

// --- opening and closing -------------------------------------------------------

void CQlnChunkFile::OpenChunkFile(const std::string& fileName) {
    if (IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, fileName);
    m_FileName = fileName;
    if (m_FileName.empty()) AfxThrowFileException(CFileException::badPath, -1, fileName);
    m_bFileOverwrite = m_bIndexChange = m_bChunkRefresh = m_bReadOnly = false;

    auto pFile = std::make_unique<CFile>();
    CFileException error;
    if (!pFile->Open(m_FileName, CFile::modeReadWrite | CFile::shareDenyWrite | CFile::typeBinary, &error)) {
        if (error.m_cause != CFileException::accessDenied) throw error;
        // Another writer has it (or the medium is read-only): read it anyway.
        if (!pFile->Open(m_FileName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error))
            throw error;
        m_bReadOnly = true;
    }
    m_pFile = std::move(pFile);
    try {
        // Changes a crash left unfinished are undone first; a reader that could
        // not get write access leaves the journal to its writer.
        if (!m_bReadOnly) m_pJournal->Recover(*m_pFile, m_FileName);
        ReadMainHeader();
        LoadIndexList();
    } catch (...) {
        ResetObject(true);
        throw;
    }
}

void CQlnChunkFile::CreateOpenChunkFile(const std::string& fileName, bool bOverwrite) {
    if (IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, fileName);
    m_FileName = fileName;
    if (m_FileName.empty()) AfxThrowFileException(CFileException::badPath, -1, fileName);
    m_bFileOverwrite = m_bIndexChange = m_bChunkRefresh = m_bReadOnly = false;
    m_MainHdr = NewMainHeader();
    m_bFileOverwrite = bOverwrite;

    if (!bOverwrite) {
        if (CFile::Exists(m_FileName)) {
            ZTRACE("CreateOpenChunkFile(): '%s' exists.\n", m_FileName.c_str());
            ThrowGeneric(m_FileName);
        }
        CreateNewFile();
        return;
    }
    try {
        OpenChunkFile(m_FileName);
        if (TestFileIntegrity() >= 0) {
            m_bFileOverwrite = true;
            return;
        }
    } catch (const CException&) {
    }
    ZTRACE("CreateOpenChunkFile(): '%s' bad or wrong type file, overwriting.\n", m_FileName.c_str());
    ResetObject(true);
    m_bFileOverwrite = true;
    if (CFile::Exists(m_FileName)) CFile::Remove(m_FileName);
    CreateNewFile();
}

void CQlnChunkFile::CreateNewFile() {
    // A journal left by an earlier file of this name does not belong to this one.
    ::unlink(CChunkJournal::PathFor(m_FileName).c_str());
    auto pFile = std::make_unique<CFile>();
    CFileException error;
    if (!pFile->Open(m_FileName,
                     CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite | CFile::typeBinary,
                     &error))
        throw error;
    m_pFile = std::move(pFile);
    try {
        WriteMainHeader();
        SaveIndexList();
    } catch (...) {
        // Leave no half-created file behind.
        ResetObject(true);
        try {
            CFile::Remove(m_FileName);
        } catch (const CException&) {
        }
        throw;
    }
}

void CQlnChunkFile::CloseChunkFile() {
    if (!IsOpen()) {
        ResetObject(false);
        return;
    }
    try {
        SaveChunkFile();
        m_pFile->Close();
    } catch (...) {
        ResetObject(false);
        throw;
    }
    ResetObject(false);
}

void CQlnChunkFile::RemoveChunkFile(const std::string& fileName) {
    OpenChunkFile(fileName);
    if (m_bReadOnly) {
        ResetObject(false);
        AfxThrowFileException(CFileException::accessDenied, -1, fileName);
    }
    CloseChunkFile();
    if (CFile::Exists(fileName)) CFile::Remove(fileName);
}

// --- main header and index table -------------------------------------------------

void CQlnChunkFile::ReadMainHeader() {
    uint8_t buf[kMainHeaderSize];
    m_pFile->Seek(0, CFile::begin);
    if (m_pFile->Read(buf, sizeof buf) != sizeof buf) {
        ZTRACE("ReadMainHeader(): Incomplete header read!\n");
        ThrowGeneric(m_FileName);
    }
    ChunkFileHdrType hdr;
    std::memcpy(hdr.chMagicCookie, buf, 6);
    hdr.wIndexDataSize = GetU16(buf + 6);
    hdr.wIndexCount = GetU16(buf + 8);
    hdr.wFileFlags = GetU16(buf + 10);
    if (std::memcmp(hdr.chMagicCookie, kMagic, sizeof kMagic) != 0) {
        ZTRACE("ReadMainHeader(): Not a QLN94A file!\n");
        AfxThrowNotSupportedException();
    }
    m_MainHdr = m_SavedHdr = hdr;
}

void CQlnChunkFile::WriteMainHeader() {
    uint8_t buf[kMainHeaderSize];
    std::memcpy(buf, m_MainHdr.chMagicCookie, 6);
    PutU16(buf + 6, m_MainHdr.wIndexDataSize);
    PutU16(buf + 8, m_MainHdr.wIndexCount);
    PutU16(buf + 10, m_MainHdr.wFileFlags);
    m_pFile->Seek(0, CFile::begin);
    WriteBytes(*m_pFile, buf, sizeof buf);
    m_SavedHdr = m_MainHdr;
}

uint32_t CQlnChunkFile::GetIndexByteSize() const {
    if (m_MainHdr.wIndexDataSize != 4) {
        ZTRACE("GetIndexByteSize(): unsupported index data size %u.\n", m_MainHdr.wIndexDataSize);
        AfxThrowNotSupportedException();
    }
    return 12;
}

uint32_t CQlnChunkFile::getchunkhdrByteSize() const {
    if (m_MainHdr.wIndexDataSize != 4) {
        ZTRACE("getchunkhdrByteSize(): unsupported index data size %u.\n", m_MainHdr.wIndexDataSize);
        AfxThrowNotSupportedException();
    }
    return kChunkHeaderSize;
}

uint32_t CQlnChunkFile::GetIndexFileLength() const {
    return kMainHeaderSize + GetIndexByteSize() * uint32_t{m_MainHdr.wIndexCount};
}

uint64_t CQlnChunkFile::GetDataEnd() const {
    uint64_t end = GetIndexFileLength();
    for (const auto& p : m_IndexList) end = std::max(end, uint64_t{p->m_dwChunkOffset} + p->m_dwChunkSize);
    return end;
}

void CQlnChunkFile::LoadIndexList() {
    const uint32_t slotSize = GetIndexByteSize();
    const uint32_t tableSize = slotSize * uint32_t{m_MainHdr.wIndexCount};
    // A table longer than the file is refused before anything is allocated for it.
    if (m_pFile->GetLength() < uint64_t{kMainHeaderSize} + tableSize) {
        ZTRACE("LoadIndexList(): Incomplete index read!\n");
        ThrowGeneric(m_FileName);
    }
    std::vector<uint8_t> table(tableSize);
    m_pFile->Seek(kMainHeaderSize, CFile::begin);
    if (m_pFile->Read(table.data(), tableSize) != tableSize) {
        ZTRACE("LoadIndexList(): Incomplete index read!\n");
        ThrowGeneric(m_FileName);
    }
    m_IndexList.clear();
    for (uint32_t pos = 0; pos < tableSize; pos += slotSize) {
        m_IndexSlot.dwChunkID = GetU32(&table[pos]);
        m_IndexSlot.dwChunkOffset = GetU32(&table[pos + 4]);
        m_IndexSlot.dwChunkSize = GetU32(&table[pos + 8]);
        if (m_IndexSlot.dwChunkID == 0) continue;
        m_IndexList.push_back(std::make_unique<CChunkIndex>(m_IndexSlot.dwChunkID, m_IndexSlot.dwChunkOffset,
                                                            m_IndexSlot.dwChunkSize));
    }
}

void CQlnChunkFile::SaveIndexList() {
    const uint32_t slotSize = GetIndexByteSize();
    if (m_IndexList.size() > m_MainHdr.wIndexCount) ThrowGeneric(m_FileName);
    std::vector<uint8_t> table(size_t{slotSize} * m_MainHdr.wIndexCount, 0);
    size_t pos = 0;
    for (const auto& p : m_IndexList) {
        PutU32(&table[pos], p->m_dwChunkID);
        PutU32(&table[pos + 4], p->m_dwChunkOffset);
        PutU32(&table[pos + 8], p->m_dwChunkSize);
        pos += slotSize;
    }
    m_pFile->Seek(kMainHeaderSize, CFile::begin);
    WriteBytes(*m_pFile, table.data(), static_cast<uint32_t>(table.size()));
}

void CQlnChunkFile::VerifyIndexCount() {
    size_t n = m_IndexList.size();
    uint32_t count = n == 0 ? kSlotStep : static_cast<uint32_t>((n + kSlotStep - 1) / kSlotStep * kSlotStep);
    if (count > 0xFFFF) AfxThrowNotSupportedException();
    if (count != m_MainHdr.wIndexCount) {
        ZTRACE("VerifyIndexCount(): changing index count from %u to %d.\n", m_MainHdr.wIndexCount,
               static_cast<int>(count));
        m_MainHdr.wIndexCount = static_cast<uint16_t>(count);
    }
}

// --- chunk headers and trailers ----------------------------------------------------

void CQlnChunkFile::ReadChunkHeader(CChunkIndex& record) {
    const uint32_t hdrSize = getchunkhdrByteSize();
    uint8_t buf[kChunkHeaderSize];
    m_pFile->Seek(record.m_dwChunkOffset, CFile::begin);
    if (m_pFile->Read(buf, hdrSize) != hdrSize) {
        ZTRACE("ReadChunkHeader(): Incomplete header read!\n");
        ThrowGeneric(m_FileName);
    }
    const uint32_t id = GetU32(buf + 1);
    if (buf[0] != '<' || buf[5] != ':' || buf[10] != ':' || buf[15] != ':' || id != record.m_dwChunkID) {
        ZTRACE("ReadChunkHeader(): Invalid Chunk! Looking for ChunkId %lu found ChunkId %lu.\n",
               static_cast<unsigned long>(record.m_dwChunkID), static_cast<unsigned long>(id));
        ThrowGeneric(m_FileName);
    }
    const uint32_t dataSize = GetU32(buf + 6);
    // The data must fit its chunk and the chunk the file, or nothing is read or allocated for it.
    if (uint64_t{dataSize} + kChunkOverhead > record.m_dwChunkSize ||
        uint64_t{record.m_dwChunkOffset} + record.m_dwChunkSize > m_pFile->GetLength()) {
        ZTRACE("ReadChunkHeader(): ChunkId %lu DataSize=%lu ChunkSize=%lu out of bounds.\n",
               static_cast<unsigned long>(id), static_cast<unsigned long>(dataSize),
               static_cast<unsigned long>(record.m_dwChunkSize));
        ThrowGeneric(m_FileName);
    }
    record.m_dwDataSize = dataSize;
    record.m_wStorageMethod = GetU16(buf + 11);
    record.m_wStorageLevel = GetU16(buf + 13);
    record.m_dwPaddingSize = record.m_dwChunkSize - dataSize - kChunkOverhead;
}

void CQlnChunkFile::ReadChunkTrailer(const CChunkIndex& record) {
    uint8_t buf[kChunkTrailerSize];
    m_pFile->Seek(uint64_t{record.m_dwChunkOffset} + record.m_dwPaddingSize + record.m_dwDataSize +
                      kChunkHeaderSize,
                  CFile::begin);
    if (m_pFile->Read(buf, sizeof buf) != sizeof buf) {
        ZTRACE("ReadChunkTrailer(): Incomplete trailer read!\n");
        ThrowGeneric(m_FileName);
    }
    const uint16_t method = GetU16(buf + 1);
    const uint16_t level = GetU16(buf + 3);
    const uint32_t size = GetU32(buf + 6);
    const uint32_t id = GetU32(buf + 11);
    if (buf[0] != ':' || buf[5] != ':' || buf[10] != ':' || buf[15] != '>' || id != record.m_dwChunkID) {
        ZTRACE("ReadChunkTrailer(): Invalid Chunk! Looking for ChunkId %lu found ChunkId %lu.\n",
               static_cast<unsigned long>(record.m_dwChunkID), static_cast<unsigned long>(id));
        ThrowGeneric(m_FileName);
    }
    if (size != record.m_dwChunkSize || method != record.m_wStorageMethod ||
        level != record.m_wStorageLevel) {
        ZTRACE("ReadChunkTrailer(): Bad data integrity. Size=%lu StorMeth=%lu StorLvl=%lu\n",
               static_cast<unsigned long>(size), static_cast<unsigned long>(method),
               static_cast<unsigned long>(level));
        ThrowGeneric(m_FileName);
    }
}

void CQlnChunkFile::WriteChunkHeader(CFile& file, const CChunkIndex& record, uint32_t dwOffset) {
    uint8_t buf[kChunkHeaderSize];
    buf[0] = '<';
    PutU32(buf + 1, record.m_dwChunkID);
    buf[5] = ':';
    PutU32(buf + 6, record.m_dwDataSize);
    buf[10] = ':';
    PutU16(buf + 11, record.m_wStorageMethod);
    PutU16(buf + 13, record.m_wStorageLevel);
    buf[15] = ':';
    file.Seek(dwOffset, CFile::begin);
    WriteBytes(file, buf, getchunkhdrByteSize());
}

void CQlnChunkFile::WriteChunkTrailer(CFile& file, const CChunkIndex& record, uint32_t dwOffset) {
    const uint32_t pad = record.m_dwPaddingSize;
    // Padding and trailer go out in one write; a very long padding goes in blocks first.
    constexpr uint32_t kOneWrite = 1u << 16;
    const uint32_t head = pad > kOneWrite ? pad - kOneWrite : 0;
    std::vector<uint8_t> buf(pad - head + kChunkTrailerSize, 0);
    uint8_t* t = buf.data() + (pad - head);
    t[0] = ':';
    PutU16(t + 1, record.m_wStorageMethod);
    PutU16(t + 3, record.m_wStorageLevel);
    t[5] = ':';
    PutU32(t + 6, record.m_dwChunkSize);
    t[10] = ':';
    PutU32(t + 11, record.m_dwChunkID);
    t[15] = '>';
    file.Seek(uint64_t{dwOffset} + kChunkHeaderSize + record.m_dwDataSize, CFile::begin);
    for (uint32_t done = 0; done < head;) {
        uint32_t n = std::min(head - done, kOneWrite);
        WriteBytes(file, buf.data(), n); // the first kOneWrite bytes are zeros
        done += n;
    }
    WriteBytes(file, buf.data(), static_cast<uint32_t>(buf.size()));
}

void CQlnChunkFile::ReadChunk(CChunkIndex& record, bool bDiscardable) {
    ReadChunkHeader(record);
    record.m_bMemDiscardable = bDiscardable;
    auto* p = static_cast<uint8_t*>(AllocChunkMemory(record.m_dwDataSize, bDiscardable));
    try {
        m_pFile->Seek(uint64_t{record.m_dwChunkOffset} + kChunkHeaderSize, CFile::begin);
        if (m_pFile->Read(p, record.m_dwDataSize) != record.m_dwDataSize) {
            ZTRACE("ReadChunk(): Incomplete chunk read!\n");
            ThrowGeneric(m_FileName);
        }
    } catch (...) {
        FreeChunkMemory(p);
        throw;
    }
    record.m_psDataBuf = p;
}

// --- chunk operations --------------------------------------------------------------

bool CQlnChunkFile::GetChunk(uint32_t dwChunkID, void** ppData, uint32_t* pdwDataSize, bool bDiscardable,
                             uint16_t* pwStorageMethod, uint16_t* pwStorageLevel) {
    CheckOpen();
    CChunkIndex* pRecord = FindChunk(dwChunkID);
    if (!pRecord) return false;
    ReadChunk(*pRecord, bDiscardable);
    if (ppData)
        *ppData = pRecord->m_psDataBuf;
    else
        FreeChunkMemory(pRecord->m_psDataBuf);
    pRecord->m_psDataBuf = nullptr;
    if (pdwDataSize) *pdwDataSize = pRecord->m_dwDataSize;
    if (pwStorageMethod) *pwStorageMethod = pRecord->m_wStorageMethod;
    if (pwStorageLevel) *pwStorageLevel = pRecord->m_wStorageLevel;
    return true;
}

bool CQlnChunkFile::FindIndexDataConflict(const CChunkIndex& record, uint32_t dwNewSize) const {
    const uint64_t first = record.m_dwChunkOffset;
    const uint64_t last = first + dwNewSize - 1;
    for (const auto& p : m_IndexList)
        if (p.get() != &record && p->m_dwChunkOffset >= first && p->m_dwChunkOffset <= last) return true;
    return false;
}

bool CQlnChunkFile::SaveChunk(uint32_t dwChunkID, const void* pData, uint32_t dwDataSize,
                              uint32_t dwBlockGranularity, uint16_t wStorageMethod, uint16_t wStorageLevel) {
    CheckWritable();
    if (dwChunkID == 0 || (!pData && dwDataSize)) AfxThrowNotSupportedException();
    const uint32_t pad = PaddingFor(dwDataSize, dwBlockGranularity);
    const uint64_t newSize64 = uint64_t{dwDataSize} + pad + kChunkOverhead;
    if (newSize64 > kMaxOffset) ThrowGeneric(m_FileName);
    const uint32_t newSize = static_cast<uint32_t>(newSize64);
    const uint64_t oldEnd = m_pFile->GetLength();

    // Everything is decided before the record changes, so a failure leaves the index as it was.
    CChunkIndex* pRecord = FindChunk(dwChunkID);
    const bool bNew = pRecord == nullptr;
    if (bNew && m_IndexList.size() >= kMaxChunks) AfxThrowNotSupportedException();
    const CChangeMark mark = BeginChange();
    bool bNeedsPlace = bNew;
    bool bRefresh = false;
    if (!bNew) {
        if (newSize > pRecord->m_dwChunkSize) {
            if (FindIndexDataConflict(*pRecord, newSize)) {
                bNeedsPlace = true;
                bRefresh = true;
            }
        } else if (newSize < pRecord->m_dwChunkSize) {
            bRefresh = true;
        }
    }
    const uint16_t oldCount = m_MainHdr.wIndexCount;
    if (bNew) {
        m_IndexList.push_back(std::make_unique<CChunkIndex>(dwChunkID, 0, 0));
        pRecord = m_IndexList.back().get();
        VerifyIndexCount();
    }
    uint32_t offset = pRecord->m_dwChunkOffset;
    if (bNeedsPlace) {
        // New and moved chunks go after the current end of the data. An index
        // that reaches past the end of the file is damaged: nothing is appended
        // out there.
        const uint64_t end = GetDataEnd();
        if (end + newSize > kMaxOffset || end > oldEnd) {
            if (bNew) {
                m_IndexList.pop_back();
                m_MainHdr.wIndexCount = oldCount;
            }
            ThrowGeneric(m_FileName);
        }
        offset = static_cast<uint32_t>(end);
    }

    const CChunkIndex saved = *pRecord;
    pRecord->m_dwChunkOffset = offset;
    pRecord->m_dwDataSize = dwDataSize;
    pRecord->m_wStorageMethod = wStorageMethod;
    pRecord->m_wStorageLevel = wStorageLevel;
    pRecord->m_dwBlockGranularity = dwBlockGranularity;
    pRecord->m_dwPaddingSize = pad;
    pRecord->m_dwChunkSize = newSize;
    try {
        Protect(offset, newSize);
        WriteChunkHeader(*m_pFile, *pRecord, offset);
        if (dwDataSize) WriteBytes(*m_pFile, pData, dwDataSize);
        WriteChunkTrailer(*m_pFile, *pRecord, offset);
    } catch (...) {
        // The index keeps describing the previous state and the file gets its
        // old bytes back; a chunk written past the old end is cut off again.
        if (bNew) {
            m_IndexList.pop_back();
            m_MainHdr.wIndexCount = oldCount;
        } else {
            *pRecord = saved;
        }
        UndoChange(mark);
        throw;
    }
    if (bNeedsPlace) m_bIndexChange = true;
    if (bRefresh) m_bChunkRefresh = true;
    if (saved.m_dwChunkSize != newSize || saved.m_dwChunkOffset != offset) m_bIndexChange = true;
    return true;
}

bool CQlnChunkFile::RemoveChunk(uint32_t dwChunkID) {
    CheckWritable();
    auto it = std::find_if(m_IndexList.begin(), m_IndexList.end(),
                           [&](const auto& p) { return p->m_dwChunkID == dwChunkID; });
    if (it == m_IndexList.end()) return false;
    m_IndexList.erase(it);
    VerifyIndexCount();
    m_bChunkRefresh = true;
    m_bIndexChange = true;
    return true;
}

bool CQlnChunkFile::QueryChunk(uint32_t dwChunkID, CChunkIndex& record) {
    CheckOpen();
    CChunkIndex* pRecord = FindChunk(dwChunkID);
    if (!pRecord) return false;
    ReadChunkHeader(*pRecord);
    record = *pRecord;
    record.m_psDataBuf = nullptr;
    return true;
}

bool CQlnChunkFile::DoesChunkExist(uint32_t dwChunkID) {
    CheckOpen();
    return FindChunk(dwChunkID) != nullptr;
}

long CQlnChunkFile::TestFileIntegrity() {
    CheckOpen();
    const int64_t length = static_cast<int64_t>(m_pFile->GetLength());
    const int64_t indexLength = GetIndexFileLength();
    if (static_cast<int64_t>(GetDataEnd()) != length) {
        ZTRACE("TestFileIntegrity(): file length %lld, expected %lld.\n", static_cast<long long>(length),
               static_cast<long long>(GetDataEnd()));
        return -10;
    }
    long count = 0;
    for (const auto& p : m_IndexList) {
        const int64_t offset = p->m_dwChunkOffset;
        if (length < offset) return -11;
        if (offset < indexLength) return -12;
        if (offset + int64_t{p->m_dwChunkSize} - 1 > length) return -13;
        ReadChunkHeader(*p);
        ReadChunkTrailer(*p);
        ++count;
    }
    return count;
}

uint32_t CQlnChunkFile::StartIncompleteSave(uint32_t dwChunkID) {
    CheckWritable();
    if (dwChunkID == 0) AfxThrowNotSupportedException();
    const uint64_t end = GetDataEnd();
    const uint64_t length = m_pFile->GetLength();
    if (end + kChunkOverhead > kMaxOffset || end > length) ThrowGeneric(m_FileName);
    const CChangeMark mark = BeginChange();
    try {
        // The stream goes over anything after the data: all of it is kept.
        Protect(end, std::max<uint64_t>(length - end, kChunkHeaderSize));
        CChunkIndex placeholder(dwChunkID, static_cast<uint32_t>(end), 0);
        WriteChunkHeader(*m_pFile, placeholder, static_cast<uint32_t>(end));
    } catch (...) {
        UndoChange(mark);
        throw;
    }
    return static_cast<uint32_t>(end);
}

bool CQlnChunkFile::FinishIncompleteSave(uint32_t dwChunkID, uint32_t dwOffset, uint32_t dwDataSize,
                                         uint32_t dwBlockGranularity, uint16_t wStorageMethod,
                                         uint16_t wStorageLevel) {
    CheckWritable();
    if (dwChunkID == 0 || dwOffset < GetIndexFileLength()) AfxThrowNotSupportedException();
    const uint32_t pad = PaddingFor(dwDataSize, dwBlockGranularity);
    const uint64_t size = uint64_t{dwDataSize} + pad + kChunkOverhead;
    if (size > kMaxOffset || dwOffset + size > kMaxOffset) ThrowGeneric(m_FileName);
    CChunkIndex* pRecord = FindChunk(dwChunkID);
    if (!pRecord) {
        if (m_IndexList.size() >= kMaxChunks) AfxThrowNotSupportedException();
        m_IndexList.push_back(std::make_unique<CChunkIndex>(dwChunkID, 0, 0));
        pRecord = m_IndexList.back().get();
        VerifyIndexCount();
    }
    pRecord->m_dwChunkOffset = dwOffset;
    pRecord->m_dwDataSize = dwDataSize;
    pRecord->m_wStorageMethod = wStorageMethod;
    pRecord->m_wStorageLevel = wStorageLevel;
    pRecord->m_dwBlockGranularity = dwBlockGranularity;
    pRecord->m_dwPaddingSize = pad;
    pRecord->m_dwChunkSize = static_cast<uint32_t>(size);
    m_bChunkRefresh = true;
    m_bIndexChange = true;
    BeginChange();
    Protect(dwOffset, size);
    WriteChunkHeader(*m_pFile, *pRecord, dwOffset);
    WriteChunkTrailer(*m_pFile, *pRecord, dwOffset);
    return true;
}

void CQlnChunkFile::CancelIncompleteSave(uint32_t dwOffset) {
    CheckWritable();
    if (dwOffset >= GetDataEnd() && m_pFile->GetLength() > dwOffset) {
        BeginChange();
        Protect(dwOffset, m_pFile->GetLength() - dwOffset);
        m_pFile->SetLength(dwOffset);
    }
}

// --- saving and compaction -----------------------------------------------------------

void CQlnChunkFile::SaveChunkFile() {
    CheckOpen();
    try {
        if (m_MainHdr.wIndexCount != m_SavedHdr.wIndexCount) {
            // The index table changes size: the chunks must move.
            CompactFile();
        } else if (m_bIndexChange) {
            BeginChange();
            Protect(kMainHeaderSize, uint64_t{GetIndexByteSize()} * m_MainHdr.wIndexCount);
            SaveIndexList();
        }
        if (m_bChunkRefresh) m_MainHdr.wFileFlags |= kFileDirty;
        if (m_MainHdr.wFileFlags != m_SavedHdr.wFileFlags) {
            BeginChange();
            Protect(0, kMainHeaderSize);
            WriteMainHeader();
        }
        CommitChanges();
    } catch (...) {
        // All changes since the last save go: the file is as it was then.
        RollbackChanges();
        throw;
    }
    m_bIndexChange = false;
    m_bChunkRefresh = false;
}

void CQlnChunkFile::RefreshChunkFile() {
    CheckWritable();
    try {
        CompactFile();
        CommitChanges();
    } catch (...) {
        RollbackChanges();
        throw;
    }
}

uint32_t CQlnChunkFile::ReCalcChunkOffsets() {
    uint64_t running = GetIndexFileLength();
    uint32_t moving = 0;
    for (const auto& p : m_IndexList) {
        if (running > kMaxOffset) ThrowGeneric(m_FileName);
        if (p->m_dwChunkOffset != running) {
            p->m_dwRefreshOffset = static_cast<uint32_t>(running);
            ++moving;
        } else {
            p->m_dwRefreshOffset = 0;
        }
        running += p->m_dwChunkSize;
    }
    if (running > kMaxOffset) ThrowGeneric(m_FileName);
    return moving;
}

void CQlnChunkFile::CompactFile() {
    uint32_t moving = 0;
    try {
        moving = ReCalcChunkOffsets();
    } catch (...) {
        for (const auto& p : m_IndexList) p->m_dwRefreshOffset = 0;
        throw;
    }
    if (moving == 0) {
        // Nothing moves: only the tail goes and the header changes.
        BeginChange();
        const uint64_t end = GetDataEnd();
        Protect(0, GetIndexFileLength());
        if (m_pFile->GetLength() > end) Protect(end, m_pFile->GetLength() - end);
        if (m_bIndexChange || m_MainHdr.wIndexCount != m_SavedHdr.wIndexCount) SaveIndexList();
        m_bIndexChange = false;
        if (m_pFile->GetLength() > end) m_pFile->SetLength(end);
        m_bChunkRefresh = false;
        m_MainHdr.wFileFlags &= static_cast<uint16_t>(~kFileDirty);
        WriteMainHeader();
        m_pFile->Flush();
        return;
    }
    try {
        WriteCompactedFile();
    } catch (...) {
        for (const auto& p : m_IndexList) p->m_dwRefreshOffset = 0;
        throw;
    }
}

void CQlnChunkFile::CopyFileBytes(CFile& target, uint64_t dwFrom, uint64_t dwCount) {
    std::vector<uint8_t> buf(static_cast<size_t>(std::min<uint64_t>(dwCount, kCopyBlock)));
    m_pFile->Seek(static_cast<int64_t>(dwFrom), CFile::begin);
    while (dwCount > 0) {
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(dwCount, kCopyBlock));
        if (m_pFile->Read(buf.data(), n) != n) {
            ZTRACE("ReadAllChunks(): Incomplete chunk read!\n");
            ThrowGeneric(m_FileName);
        }
        WriteBytes(target, buf.data(), n);
        dwCount -= n;
    }
}

// The compacted file is written beside the open one and renamed over it, so a
// failure half-way leaves the old file as it was. Its bytes are those an in-place
// compaction gives: chunks in list order right after the index table, moved
// chunks rewritten from their header and data, the others copied unchanged.
void CQlnChunkFile::WriteCompactedFile() {
    CAtomicFile out(m_FileName);
    CFile& target = out.File();

    ChunkFileHdrType hdr = m_MainHdr;
    hdr.wFileFlags &= static_cast<uint16_t>(~kFileDirty);
    uint8_t head[kMainHeaderSize];
    std::memcpy(head, hdr.chMagicCookie, 6);
    PutU16(head + 6, hdr.wIndexDataSize);
    PutU16(head + 8, hdr.wIndexCount);
    PutU16(head + 10, hdr.wFileFlags);
    WriteBytes(target, head, sizeof head);

    const uint32_t slotSize = GetIndexByteSize();
    std::vector<uint8_t> table(size_t{slotSize} * hdr.wIndexCount, 0);
    if (m_IndexList.size() > hdr.wIndexCount) ThrowGeneric(m_FileName);
    size_t pos = 0;
    for (const auto& p : m_IndexList) {
        PutU32(&table[pos], p->m_dwChunkID);
        PutU32(&table[pos + 4], p->m_dwRefreshOffset ? p->m_dwRefreshOffset : p->m_dwChunkOffset);
        PutU32(&table[pos + 8], p->m_dwChunkSize);
        pos += slotSize;
    }
    WriteBytes(target, table.data(), static_cast<uint32_t>(table.size()));

    for (const auto& p : m_IndexList) {
        if (p->m_dwRefreshOffset == 0) {
            CopyFileBytes(target, p->m_dwChunkOffset, p->m_dwChunkSize);
            continue;
        }
        CChunkIndex moved = *p;
        ReadChunkHeader(moved);
        WriteChunkHeader(target, moved, p->m_dwRefreshOffset);
        CopyFileBytes(target, uint64_t{p->m_dwChunkOffset} + kChunkHeaderSize, moved.m_dwDataSize);
        WriteChunkTrailer(target, moved, p->m_dwRefreshOffset);
    }
    out.Commit();

    // Hold the new file; the old one goes.
    auto pNew = std::make_unique<CFile>();
    CFileException error;
    if (!pNew->Open(m_FileName, CFile::modeReadWrite | CFile::shareDenyWrite | CFile::typeBinary, &error))
        throw error;
    m_pFile->Abort();
    m_pFile = std::move(pNew);
    // The renamed file holds every change: the old file's journal is done with.
    m_pJournal->Discard();
    for (const auto& p : m_IndexList) {
        if (p->m_dwRefreshOffset) p->m_dwChunkOffset = p->m_dwRefreshOffset;
        p->m_dwRefreshOffset = 0;
    }
    m_MainHdr.wFileFlags = hdr.wFileFlags;
    m_SavedHdr = m_MainHdr;
    m_bIndexChange = false;
    m_bChunkRefresh = false;
}

// --- flags and access ---------------------------------------------------------------

bool CQlnChunkFile::IsFileDirty() const {
    return (m_MainHdr.wFileFlags & kFileDirty) || m_bChunkRefresh;
}

bool CQlnChunkFile::IsFileCommitted() const {
    return (m_MainHdr.wFileFlags & kFileCommitted) != 0;
}

void CQlnChunkFile::SetFileAsCommitted() {
    CheckWritable();
    m_MainHdr.wFileFlags |= kFileCommitted;
}

CFile& CQlnChunkFile::GetCFileHandle() {
    CheckOpen();
    return *m_pFile;
}

void CQlnChunkFile::DumpFileContents() {
    auto yes = [](bool b) { return b ? "TRUE" : "FALSE"; };
    ZTRACE("DumpFileContents(): File='%s'\n", m_FileName.c_str());
    ZTRACE("DumpFileContents(): FileOverwrite=%s IndexChange=%s ChunkRefresh=%s ReadOnly=%s\n",
           yes(m_bFileOverwrite), yes(m_bIndexChange), yes(m_bChunkRefresh), yes(m_bReadOnly));
    ZTRACE("DumpFileContents(): Magic=%.6s IndexDataSize=%u IndexCount=%u FileFlags=%u\n",
           m_MainHdr.chMagicCookie, m_MainHdr.wIndexDataSize, m_MainHdr.wIndexCount, m_MainHdr.wFileFlags);
    for (const auto& p : m_IndexList)
        ZTRACE("DumpFileContents(): ChunkId=%lu Offset=%lu Size=%lu Last=%lu\n",
               static_cast<unsigned long>(p->m_dwChunkID), static_cast<unsigned long>(p->m_dwChunkOffset),
               static_cast<unsigned long>(p->m_dwChunkSize),
               static_cast<unsigned long>(uint64_t{p->m_dwChunkOffset} + p->m_dwChunkSize - 1));
    for (const auto& p : m_IndexList)
        ZTRACE("DumpFileContents(): ChunkId=%lu Offset=%lu ChunkSize=%lu DataSize=%lu BlkGran=%lu "
               "Discardable=%s "
               "StorMeth=%u StorLvl=%u Pad=%lu RefreshOffset=%lu DataBuf=%p\n",
               static_cast<unsigned long>(p->m_dwChunkID), static_cast<unsigned long>(p->m_dwChunkOffset),
               static_cast<unsigned long>(p->m_dwChunkSize), static_cast<unsigned long>(p->m_dwDataSize),
               static_cast<unsigned long>(p->m_dwBlockGranularity), yes(p->m_bMemDiscardable),
               p->m_wStorageMethod, p->m_wStorageLevel, static_cast<unsigned long>(p->m_dwPaddingSize),
               static_cast<unsigned long>(p->m_dwRefreshOffset), static_cast<void*>(p->m_psDataBuf));
}
