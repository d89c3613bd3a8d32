#pragma once
// Reader of Parcelgram packages (.vrz): a 20-byte header "QLN95B\0", then
// entries of a 272-byte header (name, CRC-32, data size) and the data, ended
// by a header whose name is empty or by the end of the file.

#include "framework/CFile.h"
#include "framework/CObject.h"

#include <cstdint>
#include <string>
#include <vector>

// Messages of the package reader and of the wizard that drives it.
inline constexpr const char kPackageCorruptedText[] =
    "Parcelgram file %1 possibly corrupted. Please download again..";
inline constexpr const char kPackageOverwriteText[] = "File %1 already exists, Overwrite?";
inline constexpr const char kPackageBadNameText[] =
    "Parcelgram file entry \"%1\" is not a plain file name. Nothing was extracted.";

// One entry of the package as found by reading the list.
struct CxQLNArchiveEntry {
    std::string m_strName; // file name, at most 255 characters
    uint64_t m_dwOffset;   // file offset of the entry's 272-byte header
    uint64_t m_dwSize;     // header and data: data size + 272
    uint32_t m_dwCrc;      // CRC-32 of the data, as stored
};

class CxQLNArchive : public CObject {
    DECLARE_DYNAMIC(CxQLNArchive)
public:
    static constexpr uint32_t kHeaderSize = 20;
    static constexpr uint32_t kEntryHeaderSize = 272;
    static constexpr uint32_t kNameSize = 256;
    // Open mode bit: delete the package when it is closed.
    static constexpr unsigned modeDeleteOnClose = 0x10;

    enum ErrorState : int { errNone = 0, errOpenFailed = 2, errChecksum = 3, errNotPackage = 4 };

    CxQLNArchive() = default;
    ~CxQLNArchive() override; // closes without deleting the package

    // Opens the package and reads its entry list. An open failure shows the
    // file-error message; every failure leaves the error state.
    bool Open(const std::string& strFileName, unsigned nMode = CFile::modeRead | CFile::shareDenyWrite);
    // Closes the package and deletes it when that was asked for at Open.
    bool Close();
    // Asks for (or cancels) the deletion of the package on Close.
    void SetDeleteOnClose(bool bDelete) { m_bDeleteOnClose = bDelete && m_bOpen; }

    // Sum of the entries' data sizes.
    uint64_t GetTotalDataSize() const;
    // Appends every entry's name, in package order.
    void GetEntryNames(std::vector<std::string>& names) const;
    // Extracts every entry into the directory, asking before replacing files.
    bool Extract(const std::string& strDestDir);

    bool IsOpen() const { return m_bOpen; }
    int GetErrorState() const { return m_nErrorState; }
    const std::vector<CxQLNArchiveEntry>& GetEntries() const { return m_entries; }
    const std::string& GetFileName() const { return m_strFileName; }

    // The message shown for a file error, by its cause, with the file name.
    static std::string GetFileErrorText(const CFileException& e);
    static void ShowFileError(const CFileException& e);
    // A name that can only create a file inside the destination directory.
    static bool IsSafeEntryName(const std::string& strName);

private:
    bool ReadEntryList();
    bool ExtractEntry(const CxQLNArchiveEntry& entry, const std::string& strDestDir,
                      std::vector<uint8_t>& buf);

    uint8_t m_header[kHeaderSize] = {};
    std::string m_strFileName;
    CFile m_file;
    std::vector<CxQLNArchiveEntry> m_entries;
    bool m_bOpen = false;
    unsigned m_nMode = 0;
    bool m_bDeleteOnClose = false;
    bool m_bOverwriteAll = false;
    int m_nErrorState = errNone;
};
