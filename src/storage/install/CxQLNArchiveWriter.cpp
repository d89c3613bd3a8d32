#include "storage/install/CxQLNArchiveWriter.h"

#include "storage/install/CxQLNArchive.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <zlib.h>

namespace {

void PutLE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

} // namespace

CxQLNArchiveWriter::CxQLNArchiveWriter(const std::string& strPath)
    : m_pFile(std::make_unique<CAtomicFile>(strPath)) {
    uint8_t header[CxQLNArchive::kHeaderSize] = {'Q', 'L', 'N', '9', '5', 'B', 0};
    m_pFile->File().Write(header, sizeof header);
}

void CxQLNArchiveWriter::WriteEntryHeader(const std::string& strName, uint32_t dwCrc, uint32_t dwSize) {
    uint8_t hdr[CxQLNArchive::kEntryHeaderSize] = {};
    std::memcpy(hdr, strName.data(), std::min<size_t>(strName.size(), CxQLNArchive::kNameSize - 1));
    PutLE32(hdr + 256, dwCrc);
    PutLE32(hdr + 260, dwSize);
    m_pFile->File().Write(hdr, sizeof hdr);
}

void CxQLNArchiveWriter::AddEntry(const std::string& strName, const void* pData, uint32_t nSize) {
    uint32_t dwCrc =
        static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), static_cast<const Bytef*>(pData), nSize));
    WriteEntryHeader(strName, dwCrc, nSize);
    m_pFile->File().Write(pData, nSize);
}

void CxQLNArchiveWriter::AddFile(const std::string& strName, const std::string& strSourcePath) {
    CFile in(strSourcePath, CFile::modeRead);
    uint64_t nLength = in.GetLength();
    if (nLength > 0xFFFFFFFFull) AfxThrowFileException(CFileException::invalidFile, EFBIG, strSourcePath);
    CFile& out = m_pFile->File();
    uint64_t nHeader = out.GetPosition();
    WriteEntryHeader(strName, 0, static_cast<uint32_t>(nLength));
    std::vector<uint8_t> buf(std::min<uint64_t>(nLength, 1u << 20));
    uLong crc = crc32(0L, Z_NULL, 0);
    for (uint64_t nLeft = nLength; nLeft > 0;) {
        uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(nLeft, buf.size()));
        in.ReadExact(buf.data(), n);
        crc = crc32(crc, buf.data(), n);
        out.Write(buf.data(), n);
        nLeft -= n;
    }
    // The checksum is known only now: fill it in.
    uint8_t crcBytes[4];
    PutLE32(crcBytes, static_cast<uint32_t>(crc));
    out.Seek(static_cast<int64_t>(nHeader + 256), CFile::begin);
    out.Write(crcBytes, 4);
    out.Seek(0, CFile::end);
}

void CxQLNArchiveWriter::Commit() {
    uint8_t end[CxQLNArchive::kEntryHeaderSize] = {};
    m_pFile->File().Write(end, sizeof end);
    m_pFile->Commit();
}
