#pragma once
// Writes Parcelgram packages: the header, one entry per file, and the empty
// entry that ends the list. The package is written beside its name and
// appears only when Commit succeeds. Used by zozi-tool, tests and benchmarks.

#include "framework/CFile.h"

#include <cstdint>
#include <memory>
#include <string>

class CxQLNArchiveWriter {
public:
    explicit CxQLNArchiveWriter(const std::string& strPath);

    // Adds an entry; the name is stored as given (cut at 255 characters).
    void AddEntry(const std::string& strName, const void* pData, uint32_t nSize);
    // Adds an entry with the contents of a file, read in pieces.
    void AddFile(const std::string& strName, const std::string& strSourcePath);
    // Writes the end of the list and puts the package in place.
    void Commit();

private:
    void WriteEntryHeader(const std::string& strName, uint32_t dwCrc, uint32_t dwSize);

    std::unique_ptr<CAtomicFile> m_pFile;
};
