#pragma once
// String lists stored in one chunk: each entry followed by a zero byte, back to
// back, with no count. An empty list is never stored.

#include <cstdint>
#include <string>
#include <vector>

class CQlnChunkFile;

using CStringList = std::vector<std::string>;

// Removes the chunk when the list is empty; otherwise writes every non-empty
// entry with its zero. Returns the data size written (0 when removed).
uint32_t SaveStringList(CQlnChunkFile& file, uint32_t dwChunkID, const CStringList& list);
// Appends the chunk's strings to the list; returns their total length, each
// counted with its zero (0 when the chunk is absent or empty).
uint32_t LoadStringList(CQlnChunkFile& file, uint32_t dwChunkID, CStringList& list, bool bDiscardable);
