#include "album/AlbumFile.h"

#include "framework/CArchive.h"
#include "framework/CFile.h"

namespace {

std::function<void(int)>& WriteHook() {
    static std::function<void(int)> s_hook;
    return s_hook;
}

// Passes the archive's writes on to the file beside the album, through the test hook.
class CAlbumWriteFile : public CFile {
public:
    explicit CAlbumWriteFile(CFile& target) : m_target(target) { m_hFile = 0; }
    ~CAlbumWriteFile() override { m_hFile = -1; }
    void Write(const void* pBuf, uint32_t nCount) override {
        if (WriteHook()) WriteHook()(m_nWrites);
        ++m_nWrites;
        m_target.Write(pBuf, nCount);
    }
    uint32_t Read(void*, uint32_t) override { return 0; }
    uint64_t GetPosition() const override { return m_target.GetPosition(); }
    uint64_t GetLength() const override { return m_target.GetLength(); }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}
    bool IsOpen() const override { return true; }
    int Writes() const { return m_nWrites; }

private:
    CFile& m_target;
    int m_nWrites = 0;
};

} // namespace

void SetAlbumWriteHook(std::function<void(int)> hook) {
    WriteHook() = std::move(hook);
}

void WriteAlbumFileBeside(const std::string& path, const std::function<void(CArchive&)>& write) {
    CAtomicFile file(path);
    WriteAlbumFileBeside(file, write);
}

void WriteAlbumFileBeside(CAtomicFile& file, const std::function<void(CArchive&)>& write) {
    CAlbumWriteFile sink(file.File());
    CArchive ar(&sink, CArchive::store);
    write(ar);
    ar.Close();
    if (WriteHook()) WriteHook()(sink.Writes());
    file.Commit();
}

void ReadAlbumFile(const std::string& path, const std::function<void(CArchive&)>& read) {
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    CArchive ar(&file, CArchive::load);
    read(ar);
}
