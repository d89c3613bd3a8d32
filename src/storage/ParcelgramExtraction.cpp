#include "storage/ParcelgramExtraction.h"

#include "framework/StringTable.h"
#include "framework/SystemInfo.h"
#include "framework/UserPrompt.h"
#include "storage/CxQLNArchive.h"
#include "storage/IDriveList.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Opens the package and reports why it cannot be used.
bool OpenPackage(CxQLNArchive& ar, const std::string& strPackage, unsigned nMode) {
    if (ar.Open(strPackage, nMode)) return true;
    switch (ar.GetErrorState()) {
    case CxQLNArchive::errNotPackage:
        GetUserPrompt().MessageBox(FormatResString1(IDS_NOT_PARCELGRAM, strPackage), MB_OK | MB_ICONSTOP);
        break;
    case CxQLNArchive::errChecksum:
        GetUserPrompt().MessageBox(FormatMessageText(kPackageCorruptedText, strPackage), MB_OK | MB_ICONSTOP);
        break;
    default:
        break; // the file error was shown by Open
    }
    ar.KeepPackage();
    ar.Close();
    return false;
}

bool CreateDestination(const std::string& strDestDir) {
    std::error_code ec;
    fs::create_directories(strDestDir, ec);
    if (!ec && fs::is_directory(strDestDir, ec)) return true;
    GetUserPrompt().MessageBox(FormatResString1(IDS_CREATE_DIR_FAILED, strDestDir), MB_OK | MB_ICONSTOP);
    return false;
}

} // namespace

bool ExtractParcelgram(const std::string& strPackage, const std::string& strDestDir, bool bDeleteWhenThrough,
                       std::vector<std::string>& names) {
    CxQLNArchive ar;
    const unsigned nRead = CFile::modeRead | CFile::shareDenyWrite;
    if (!OpenPackage(ar, strPackage, nRead)) return false;

    const uint64_t nNeeded = ar.GetTotalDataSize();
    const uint64_t nFree = GetSystemInfo().GetFreeDiskSpace(GetExistingAncestor(strDestDir));
    if (nNeeded > nFree) {
        GetUserPrompt().MessageBox(FormatResString1(IDS_NOT_ENOUGH_STORAGE, GetDriveRoot(strDestDir)),
                                   MB_OK | MB_ICONSTOP);
        ar.Close();
        return false;
    }
    if (!CreateDestination(strDestDir)) {
        ar.Close();
        return false;
    }
    ar.Close();

    if (!OpenPackage(ar, strPackage, nRead | (bDeleteWhenThrough ? CxQLNArchive::modeDeleteOnClose : 0)))
        return false;
    if (!ar.Extract(strDestDir)) {
        // What could not be unpacked must not be lost with the package.
        ar.KeepPackage();
        ar.Close();
        return false;
    }
    ar.GetEntryNames(names);
    ar.Close();
    return true;
}
