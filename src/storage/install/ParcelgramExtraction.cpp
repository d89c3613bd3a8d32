#include "storage/install/ParcelgramExtraction.h"

#include "framework/StringTable.h"
#include "framework/SystemInfo.h"
#include "framework/UserPrompt.h"
#include "storage/install/CxQLNArchive.h"
#include "storage/install/IDriveList.h"

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
    if (!OpenPackage(ar, strPackage, CFile::modeRead | CFile::shareDenyWrite)) return false;

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
    // The package stays open for the extraction: its list was just checked,
    // and reading it again would only check it a second time.
    ar.SetDeleteOnClose(bDeleteWhenThrough);
    if (!ar.Extract(strDestDir)) {
        // What could not be unpacked must not be lost with the package.
        ar.SetDeleteOnClose(false);
        ar.Close();
        return false;
    }
    ar.GetEntryNames(names);
    ar.Close();
    return true;
}
