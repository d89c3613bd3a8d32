#pragma once
// The rollback journal of a chunk file: before a region of the file is
// overwritten (or cut off), its old bytes go to "<file>-journal" beside it and
// are synced; when the changes are complete and synced the journal is removed.
// A journal found at the next open is rolled back, so after any failure or
// crash the file holds exactly its bytes from before the changes or exactly
// those after them. docs/chunk-journal.md describes the format.

#include "framework/CFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CChunkJournal {
public:
    using WriteFn = std::function<void(CFile&, const void*, uint32_t)>;
    using SyncFn = std::function<void(CFile&)>;

    static constexpr uint32_t kHeaderSize = 36;
    static constexpr uint32_t kEntryHeaderSize = 16;
    static constexpr uint32_t kMaxEntryData = 1u << 20;
    static constexpr uint64_t kMaxFileLength = 0xFFFFFFFFull;

    static std::string PathFor(const std::string& fileName) { return fileName + "-journal"; }

    // Every byte written, to the journal and to the file when rolling back,
    // passes through write; every sync through sync.
    CChunkJournal(WriteFn write, SyncFn sync);
    CChunkJournal(const CChunkJournal&) = delete;
    CChunkJournal& operator=(const CChunkJournal&) = delete;
    ~CChunkJournal(); // closes an open journal and leaves it on disk

    bool IsActive() const { return m_pJournal != nullptr; }
    // Starts a journal for the file; its length now is the length a rollback restores.
    void Begin(CFile& target, const std::string& fileName);
    // Saves the old bytes of the part of [nOffset, nOffset + nLength) that lies
    // before the original length, and syncs the journal.
    void SaveRegion(CFile& target, uint64_t nOffset, uint64_t nLength);
    // The journal's length: a point to undo back to.
    uint64_t Mark() const { return m_nLength; }
    // Undoes what was saved after the mark, cuts the file to nFileLength when
    // it is longer, syncs it and drops the undone entries from the journal.
    void UndoTo(CFile& target, uint64_t nMark, uint64_t nFileLength);
    // The file holds the new state: it is synced and the journal removed.
    void Commit(CFile& target);
    // The file was replaced as a whole (written beside and renamed): the journal goes.
    void Discard();
    // Back to the state at Begin: every saved region restored, the length cut
    // to the original one, the file synced, the journal removed.
    void Rollback(CFile& target);
    // At open: a journal left behind is rolled back into the file (one left by
    // a file since replaced is removed). True when something was rolled back.
    bool Recover(CFile& target, const std::string& fileName);

private:
    struct CEntry {
        uint64_t nOffset;
        uint64_t nDataPos; // in the journal
        uint32_t nLength;
    };

    void Append(const void* pData, uint32_t nCount);
    void Sync(CFile& file);
    // The valid entries from nFrom on, stopping at the first torn one.
    std::vector<CEntry> ReadEntries(CFile& journal, uint64_t nFrom, uint64_t& nEnd) const;
    void Apply(CFile& journal, CFile& target, const std::vector<CEntry>& entries);
    void Remove();

    WriteFn m_write;
    SyncFn m_sync;
    std::unique_ptr<CFile> m_pJournal;
    std::string m_strPath;
    uint64_t m_nOriginalLength = 0;
    uint64_t m_nLength = 0;
};
