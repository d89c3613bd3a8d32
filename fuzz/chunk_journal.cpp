// Opens a chunk file beside an arbitrary journal: the recovery reads the
// journal's header and entries and rolls them back into the file. When the
// first byte is odd the header is made to name the scratch file (its device,
// inode and a matching CRC), so that the entries are reached.

#include "storage/photo/CChunkJournal.h"
#include "storage/photo/CQlnChunkFile.h"

#include <zlib.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string& ScratchPath() {
    static const std::string s_path = "/tmp/fuzz_chunk_journal." + std::to_string(::getpid()) + ".qln";
    return s_path;
}

void Put64(uint8_t* p, uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool bMatch = data[0] & 1;
    std::vector<uint8_t> journal(data + 1, data + size);
    ::unlink(ScratchPath().c_str());
    try {
        CQlnChunkFile f;
        f.CreateOpenChunkFile(ScratchPath(), false);
        const char payload[] = "payload of the first chunk";
        f.SaveChunk(1, payload, sizeof payload);
        f.SaveChunk(2, payload, 5);
        f.CloseChunkFile();
    } catch (const CException&) {
        return 0;
    }
    struct stat st {};
    if (::stat(ScratchPath().c_str(), &st) != 0) return 0;
    if (bMatch && journal.size() >= CChunkJournal::kHeaderSize) {
        Put64(journal.data() + 16, static_cast<uint64_t>(st.st_dev));
        Put64(journal.data() + 24, static_cast<uint64_t>(st.st_ino));
        const uint32_t crc = static_cast<uint32_t>(::crc32(0, journal.data(), 32));
        for (int i = 0; i < 4; ++i) journal[32 + i] = static_cast<uint8_t>(crc >> (8 * i));
    }
    const std::string path = CChunkJournal::PathFor(ScratchPath());
    if (FILE* j = std::fopen(path.c_str(), "wb")) {
        std::fwrite(journal.data(), 1, journal.size(), j);
        std::fclose(j);
    }
    try {
        CQlnChunkFile f;
        f.OpenChunkFile(ScratchPath());
        f.TestFileIntegrity();
        f.CloseChunkFile();
    } catch (const CException&) {
    }
    ::unlink(path.c_str());
    ::unlink(ScratchPath().c_str());
    return 0;
}
