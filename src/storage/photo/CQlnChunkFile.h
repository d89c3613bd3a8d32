#pragma once
// The chunk file: numbered, variable-length data blocks after a 12-byte main
// header and an index table, replaced in place where they fit and compacted on
// request. The container under every photo file.
//
// Layout (little-endian): "QLN94A", index field width (4), slot count, file
// flags; then 12-byte slots (identifier, offset, chunk size); then the chunks,
// each a 16-byte header, the data, zero padding and a 16-byte trailer.
//
// Changes are atomic: from the first write after opening (or after the last
// save) until SaveChunkFile, the old bytes of every region overwritten are kept
// in a rollback journal beside the file (CChunkJournal). A failed change is
// undone at once; a crash is undone at the next open.

#include "framework/CFile.h"
#include "storage/photo/CChunkIndex.h"
#include "storage/photo/CChunkJournal.h"
#include "storage/photo/QlnMemory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ChunkFileHdrType {
    char chMagicCookie[6];
    uint16_t wIndexDataSize;
    uint16_t wIndexCount;
    uint16_t wFileFlags;
};

struct ChunkIndexSlotType {
    uint32_t dwChunkID;
    uint32_t dwChunkOffset;
    uint32_t dwChunkSize;
};

class CQlnChunkFile : public CObject {
    DECLARE_DYNAMIC(CQlnChunkFile)
public:
    enum : uint16_t { kFileDirty = 0x0001, kFileCommitted = 0x0002 };
    static constexpr uint32_t kMainHeaderSize = 12;
    static constexpr uint32_t kChunkHeaderSize = 16;
    static constexpr uint32_t kChunkTrailerSize = 16;
    static constexpr uint32_t kChunkOverhead = kChunkHeaderSize + kChunkTrailerSize;
    static constexpr uint16_t kSlotStep = 16;

    CQlnChunkFile();
    CQlnChunkFile(const CQlnChunkFile&) = delete;
    CQlnChunkFile& operator=(const CQlnChunkFile&) = delete;
    ~CQlnChunkFile() override; // closes an open file without saving

    // Process-wide allocation and release of chunk data; a null hook keeps the current one.
    static void SetMemoryHooks(QlnAllocHook pfnAlloc, QlnFreeHook pfnFree);
    static void* AllocChunkMemory(uint32_t dwSize, bool bDiscardable);
    static void FreeChunkMemory(void* p);

    void OpenChunkFile(const std::string& fileName);
    void CreateOpenChunkFile(const std::string& fileName, bool bOverwrite);
    void CloseChunkFile();
    void RemoveChunkFile(const std::string& fileName);

    // The buffer comes from the allocation hook and belongs to the caller.
    bool GetChunk(uint32_t dwChunkID, void** ppData, uint32_t* pdwDataSize, bool bDiscardable = false,
                  uint16_t* pwStorageMethod = nullptr, uint16_t* pwStorageLevel = nullptr);
    bool SaveChunk(uint32_t dwChunkID, const void* pData, uint32_t dwDataSize,
                   uint32_t dwBlockGranularity = 0, uint16_t wStorageMethod = 0, uint16_t wStorageLevel = 0);
    bool RemoveChunk(uint32_t dwChunkID);
    bool QueryChunk(uint32_t dwChunkID, CChunkIndex& record);
    bool DoesChunkExist(uint32_t dwChunkID);
    // The number of chunks, or -10 (length), -11, -12, -13 (a chunk out of place).
    long TestFileIntegrity();

    // Streamed write: the caller writes the payload through GetCFileHandle()
    // from the returned offset + 16, then finishes with the payload size.
    uint32_t StartIncompleteSave(uint32_t dwChunkID);
    bool FinishIncompleteSave(uint32_t dwChunkID, uint32_t dwOffset, uint32_t dwDataSize,
                              uint32_t dwBlockGranularity, uint16_t wStorageMethod, uint16_t wStorageLevel);
    // Drops a streamed write that will not be finished: cuts the file back to dwOffset.
    void CancelIncompleteSave(uint32_t dwOffset);

    void SaveChunkFile();
    void RefreshChunkFile();

    bool IsFileDirty() const;
    bool IsFileCommitted() const;
    void SetFileAsCommitted();
    CFile& GetCFileHandle();
    std::string GetFileName() const { return m_FileName; }
    void SetFileName(const std::string& fileName) { m_FileName = fileName; }
    bool IsOpen() const { return m_pFile && m_pFile->IsOpen(); }
    bool IsReadOnly() const { return m_bReadOnly; }

    const ChunkFileHdrType& GetMainHeader() const { return m_MainHdr; }
    size_t GetChunkCount() const { return m_IndexList.size(); }
    // The index records in list order (load order, then append order).
    const CChunkIndex& GetChunkIndex(size_t i) const { return *m_IndexList.at(i); }

    virtual void DumpFileContents();

protected:
    // Every byte this class writes passes here, the journal's included.
    virtual void WriteBytes(CFile& file, const void* pData, uint32_t nCount);
    // Every sync of the file or its journal passes here.
    virtual void SyncFile(CFile& file);

private:
    using CChunkIndexList = std::vector<std::unique_ptr<CChunkIndex>>;

    void ResetObject(bool bKeepName);
    void CheckOpen() const;
    void CheckWritable() const;
    void CreateNewFile();
    CChunkIndex* FindChunk(uint32_t dwChunkID) const;

    void ReadMainHeader();
    void WriteMainHeader();
    void LoadIndexList();
    void SaveIndexList();
    uint32_t GetIndexByteSize() const;
    uint32_t getchunkhdrByteSize() const;
    uint32_t GetIndexFileLength() const;
    uint64_t GetDataEnd() const;
    void ReadChunkHeader(CChunkIndex& record);
    void ReadChunkTrailer(const CChunkIndex& record);
    void WriteChunkHeader(CFile& file, const CChunkIndex& record, uint32_t dwOffset);
    void WriteChunkTrailer(CFile& file, const CChunkIndex& record, uint32_t dwOffset);
    void ReadChunk(CChunkIndex& record, bool bDiscardable);
    uint32_t ReCalcChunkOffsets();
    bool FindIndexDataConflict(const CChunkIndex& record, uint32_t dwNewSize) const;
    void VerifyIndexCount();
    void CompactFile();
    void WriteCompactedFile();
    void CopyFileBytes(CFile& target, uint64_t dwFrom, uint64_t dwCount);

    // The journal's side of a change: where to undo back to, the old bytes of
    // a region about to be written, undoing one change, and the end of all
    // changes since the last save (kept, or rolled back with the index reread).
    struct CChangeMark {
        uint64_t nJournal;
        uint64_t nFileLength;
    };
    CChangeMark BeginChange();
    void Protect(uint64_t nOffset, uint64_t nLength);
    void UndoChange(const CChangeMark& mark);
    void CommitChanges();
    void RollbackChanges();

    std::unique_ptr<CFile> m_pFile;
    std::string m_FileName;
    bool m_bFileOverwrite = false;
    bool m_bIndexChange = false;
    bool m_bChunkRefresh = false;
    bool m_bReadOnly = false;
    CChunkIndexList m_IndexList;
    ChunkFileHdrType m_MainHdr;
    ChunkFileHdrType m_SavedHdr;
    ChunkIndexSlotType m_IndexSlot{};
    std::unique_ptr<CChunkJournal> m_pJournal;
};
