#include "storage/photo/QlnStringList.h"

#include "framework/Trace.h"
#include "storage/photo/CQlnChunkFile.h"

#include <cstring>

uint32_t SaveStringList(CQlnChunkFile& file, uint32_t dwChunkID, const CStringList& list) {
    std::string data;
    for (const auto& s : list) {
        if (s.empty()) continue;
        data.append(s.c_str(), std::strlen(s.c_str())); // an entry ends at its first zero
        data.push_back('\0');
    }
    if (data.empty()) {
        file.RemoveChunk(dwChunkID);
        return 0;
    }
    file.SaveChunk(dwChunkID, data.data(), static_cast<uint32_t>(data.size()), 0, 0, 0);
    return static_cast<uint32_t>(data.size());
}

uint32_t LoadStringList(CQlnChunkFile& file, uint32_t dwChunkID, CStringList& list, bool bDiscardable) {
    void* pData = nullptr;
    uint32_t size = 0;
    if (!file.GetChunk(dwChunkID, &pData, &size, bDiscardable)) return 0;
    const char* p = static_cast<const char*>(pData);
    uint32_t total = 0;
    uint32_t pos = 0;
    try {
        while (pos < size) {
            const void* pZero = std::memchr(p + pos, 0, size - pos);
            if (!pZero) {
                ZTRACE("LoadStringList(): unterminated string at %lu dropped.\n",
                       static_cast<unsigned long>(pos));
                break;
            }
            const uint32_t len = static_cast<uint32_t>(static_cast<const char*>(pZero) - (p + pos));
            if (len > 0) {
                list.emplace_back(p + pos, len);
                total += len + 1;
            }
            pos += len + 1;
        }
    } catch (...) {
        CQlnChunkFile::FreeChunkMemory(pData);
        throw;
    }
    CQlnChunkFile::FreeChunkMemory(pData);
    return total;
}
