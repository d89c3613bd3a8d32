// chunk create / list / check / get / put / remove / refresh

#include "framework/CException.h"
#include "storage/photo/CQlnChunkFile.h"
#include "tool/ToolCommand.h"

#include <cstdio>
#include <vector>

namespace {

uint32_t ChunkId(const std::string& text) {
    return static_cast<uint32_t>(CToolArgs::ToInteger(text, 1, 0xFFFFFFFF));
}

int ChunkCreate(const CToolArgs& a) {
    a.Expect(1, 1);
    CQlnChunkFile f;
    f.CreateOpenChunkFile(a[0], a.Has("--overwrite"));
    f.CloseChunkFile();
    return kExitOk;
}

int ChunkList(const CToolArgs& a) {
    a.Expect(1, 1);
    CQlnChunkFile f;
    f.OpenChunkFile(a[0]);
    const ChunkFileHdrType& hdr = f.GetMainHeader();
    std::printf("magic=%s slots=%u flags=%u\n", EscapeText(hdr.chMagicCookie, 6).c_str(), hdr.wIndexCount,
                hdr.wFileFlags);
    for (size_t i = 0; i < f.GetChunkCount(); ++i) {
        CChunkIndex rec;
        f.QueryChunk(f.GetChunkIndex(i).m_dwChunkID, rec);
        // A second record with the same identifier is shown as the index holds it.
        const CChunkIndex& own = f.GetChunkIndex(i);
        if (own.m_dwChunkOffset != rec.m_dwChunkOffset) rec = own;
        std::printf("%u %u %u %u %u\n", rec.m_dwChunkID, rec.m_dwChunkOffset, rec.m_dwChunkSize,
                    rec.m_dwDataSize, rec.m_dwPaddingSize);
    }
    f.CloseChunkFile();
    return kExitOk;
}

int ChunkCheck(const CToolArgs& a) {
    a.Expect(1, 1);
    CQlnChunkFile f;
    f.OpenChunkFile(a[0]);
    const long result = f.TestFileIntegrity();
    f.CloseChunkFile();
    std::printf("%ld\n", result);
    return result >= 0 ? kExitOk : kExitNegative;
}

int ChunkGet(const CToolArgs& a) {
    a.Expect(2, 2);
    const uint32_t id = ChunkId(a[1]);
    CQlnChunkFile f;
    f.OpenChunkFile(a[0]);
    void* p = nullptr;
    uint32_t n = 0;
    if (!f.GetChunk(id, &p, &n)) {
        f.CloseChunkFile();
        return kExitNegative;
    }
    const size_t written = std::fwrite(p, 1, n, stdout);
    CQlnChunkFile::FreeChunkMemory(p);
    f.CloseChunkFile();
    if (written != n || std::fflush(stdout) != 0)
        AfxThrowFileException(CFileException::diskFull, -1, "stdout");
    return kExitOk;
}

int ChunkPut(const CToolArgs& a) {
    a.Expect(2, 2);
    const uint32_t id = ChunkId(a[1]);
    const auto granularity =
        static_cast<uint32_t>(CToolArgs::ToInteger(a.Value("--granularity", "0"), 0, 1 << 20));
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0) {
        data.insert(data.end(), buf, buf + n);
        if (data.size() > 0xFFFFFFFFull - 65536) AfxThrowNotSupportedException();
    }
    CQlnChunkFile f;
    f.OpenChunkFile(a[0]);
    f.SaveChunk(id, data.data(), static_cast<uint32_t>(data.size()), granularity, 0, 0);
    f.CloseChunkFile();
    return kExitOk;
}

int ChunkRemove(const CToolArgs& a) {
    a.Expect(2, 2);
    const uint32_t id = ChunkId(a[1]);
    CQlnChunkFile f;
    f.OpenChunkFile(a[0]);
    const bool bRemoved = f.RemoveChunk(id);
    f.CloseChunkFile();
    return bRemoved ? kExitOk : kExitNegative;
}

int ChunkRefresh(const CToolArgs& a) {
    a.Expect(1, 1);
    CQlnChunkFile f;
    f.OpenChunkFile(a[0]);
    f.RefreshChunkFile();
    f.CloseChunkFile();
    return kExitOk;
}

int Chunk(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("chunk needs a command");
    const std::string& cmd = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "create") return ChunkCreate(CToolArgs(rest, {}, {"--overwrite"}));
    if (cmd == "list") return ChunkList(CToolArgs(rest, {}));
    if (cmd == "check") return ChunkCheck(CToolArgs(rest, {}));
    if (cmd == "get") return ChunkGet(CToolArgs(rest, {}));
    if (cmd == "put") return ChunkPut(CToolArgs(rest, {"--granularity"}));
    if (cmd == "remove") return ChunkRemove(CToolArgs(rest, {}));
    if (cmd == "refresh") return ChunkRefresh(CToolArgs(rest, {}));
    throw CToolUsageError("unknown chunk command '" + cmd + "'");
}

} // namespace

ZOZI_TOOL_COMMAND("chunk",
                  "zozi-tool chunk create FILE [--overwrite]\n"
                  "zozi-tool chunk list FILE\n"
                  "zozi-tool chunk check FILE\n"
                  "zozi-tool chunk get FILE ID\n"
                  "zozi-tool chunk put FILE ID [--granularity G]\n"
                  "zozi-tool chunk remove FILE ID\n"
                  "zozi-tool chunk refresh FILE",
                  Chunk)
