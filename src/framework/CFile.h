#pragma once
// Binary files over POSIX descriptors. Failures throw CFileException with the
// cause mapped from errno and the failed path. Opening for writing with
// shareDenyWrite or shareExclusive takes an advisory lock: a second writer is
// refused with accessDenied (readers are never refused), so callers can fall
// back to read-only as on the original platform.

#include "framework/CException.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(const std::string& path, unsigned nOpenFlags); // throws on failure
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile() override; // closes without throwing

    // Returns false and fills *pError (when given) instead of throwing.
    virtual bool Open(const std::string& path, unsigned nOpenFlags, CFileException* pError = nullptr);
    virtual uint32_t Read(void* pBuf, uint32_t nCount); // fewer bytes at the end of the file
    virtual void Write(const void* pBuf, uint32_t nCount);
    virtual uint64_t Seek(int64_t lOff, SeekPosition nFrom);
    virtual uint64_t GetPosition() const;
    virtual uint64_t GetLength() const;
    virtual void SetLength(uint64_t nNewLen);
    virtual void Flush();
    virtual void Close();
    virtual void Abort(); // closes, ignoring errors
    virtual bool IsOpen() const { return m_hFile >= 0; }

    uint64_t SeekToBegin() { return Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    // Reads exactly nCount bytes or throws CFileException(endOfFile).
    void ReadExact(void* pBuf, uint32_t nCount);
    // Flushes the data to the device (fsync), for writes that must survive a crash.
    void Sync();

    const std::string& GetFilePath() const { return m_strFileName; }
    int GetHandle() const { return m_hFile; }

    static void Remove(const std::string& path);
    static void Rename(const std::string& oldPath, const std::string& newPath);
    static bool Exists(const std::string& path);

protected:
    [[noreturn]] void ThrowOsError(int osError) const;
    // How much of a write of nCount bytes the test budget lets through (CAtomicFile::SetWriteBudget).
    static uint32_t WriteAllowance(uint32_t nCount);

    int m_hFile = -1;
    std::string m_strFileName;
};

// A file held in memory: the same interface over a growable byte buffer.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    CMemFile() { m_hFile = 0; }
    explicit CMemFile(std::vector<uint8_t> data) : m_data(std::move(data)) { m_hFile = 0; }
    CMemFile(const uint8_t* p, size_t n) : m_data(p, p + n) { m_hFile = 0; }
    ~CMemFile() override { m_hFile = -1; }

    bool Open(const std::string&, unsigned, CFileException* pError = nullptr) override;
    uint32_t Read(void* pBuf, uint32_t nCount) override;
    void Write(const void* pBuf, uint32_t nCount) override;
    uint64_t Seek(int64_t lOff, SeekPosition nFrom) override;
    uint64_t GetPosition() const override { return m_nPos; }
    uint64_t GetLength() const override { return m_data.size(); }
    void SetLength(uint64_t nNewLen) override;
    void Flush() override {}
    void Close() override {}
    void Abort() override {}
    bool IsOpen() const override { return true; }

    const std::vector<uint8_t>& Data() const { return m_data; }

private:
    std::vector<uint8_t> m_data;
    uint64_t m_nPos = 0;
};

// Writes a file beside its destination and renames it over the destination
// only on Commit(), so a failure half-way leaves the old file readable.
// Without Commit() the partial file is removed. The new file keeps the old
// one's permission bits and, where the system allows, its owner and group.
// A symbolic link stays a link: the file it points to is replaced. A file
// with several hard links is rewritten in place from the complete copy
// beside it, so every name sees the new contents (docs/safe-writing.md).
// An existing file whose permission bits do not let the user write it is
// refused with accessDenied before anything is written.
class CAtomicFile {
public:
    explicit CAtomicFile(const std::string& path);
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    ~CAtomicFile();

    CFile& File() { return m_file; }
    const std::string& TempPath() const { return m_strTempPath; }
    // The file that is replaced: the path with its symbolic links followed.
    const std::string& TargetPath() const { return m_strPath; }
    // Closes the handle on the file beside, for writers that open it by name.
    void CloseFile() { m_file.Close(); }
    // Puts the new file in place. Without bReplace an existing file is kept
    // and a file exception with cause generic and EEXIST is thrown.
    void Commit(bool bReplace = true);

    // Tests: the writes of every CFile count against a budget; the write that
    // would pass it writes the part that fits, then fails as a full disk.
    // A negative budget is no limit. Returns the bytes written since the last call.
    static void SetWriteBudget(long long nBytes);
    static long long TakeBytesWritten();

private:
    void ApplyOwnerAndMode();
    void CommitInPlace();

    std::string m_strPath;
    std::string m_strTempPath;
    CFile m_file;
    bool m_bDone = false;
    bool m_bInPlace = false; // several hard links: copy over the old file's contents
    unsigned m_nMode = 0;    // permission bits for the new file
    int m_nOwner = -1;       // owner and group to keep, -1 when they are ours
    int m_nGroup = -1;
};

// Runs write(temporary path) on a new file beside path and puts it in place,
// as CAtomicFile does, for writers that open the file by its name.
void WriteBeside(const std::string& path, const std::function<void(const std::string& tempPath)>& write);
