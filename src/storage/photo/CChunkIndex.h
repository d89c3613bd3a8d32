#pragma once
// One chunk of a chunk file as the in-memory index describes it.

#include "framework/CObject.h"

#include <cstdint>

class CChunkIndex : public CObject {
    DECLARE_DYNAMIC(CChunkIndex)
public:
    CChunkIndex() = default;
    // From an index slot: the other fields are filled when the chunk header is read.
    CChunkIndex(uint32_t dwChunkID, uint32_t dwChunkOffset, uint32_t dwChunkSize)
        : m_dwChunkID(dwChunkID), m_dwChunkOffset(dwChunkOffset), m_dwChunkSize(dwChunkSize) {}
    CChunkIndex(const CChunkIndex&) = default;
    CChunkIndex& operator=(const CChunkIndex&) = default;

    uint32_t m_dwChunkID = 0;
    uint32_t m_dwChunkOffset = 0;
    uint32_t m_dwChunkSize = 0;
    uint32_t m_dwDataSize = 0;
    uint32_t m_dwBlockGranularity = 0; // last used to write the chunk; not stored in the file
    bool m_bMemDiscardable = false;
    uint16_t m_wStorageMethod = 0;
    uint16_t m_wStorageLevel = 0;
    uint32_t m_dwPaddingSize = 0;
    uint32_t m_dwRefreshOffset = 0; // compaction: the offset the chunk moves to, 0 when it stays
    uint8_t* m_psDataBuf = nullptr;
};
