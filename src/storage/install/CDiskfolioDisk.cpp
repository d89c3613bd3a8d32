#include "storage/install/CDiskfolioDisk.h"

#include "framework/CAppException.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/Trace.h"
#include "framework/UserPrompt.h"
#include "storage/install/IDriveList.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kRestoreDirFailed[] = "Restoring current directory failed.";
constexpr char kNoRollDir[] = "The floppy disk is not a Diskfolio disk: No rol dir was found.";
constexpr char kNotDiskfolio[] = "The floppy disk is not a Diskfolio disk";
constexpr char kNoImageFiles[] = "No image files were found on the disk!";

bool ChangeDir(const std::string& dir) {
    for (int i = 0; i < CDiskfolioDisk::kDirAttempts; ++i)
        if (::chdir(dir.c_str()) == 0) return true;
    return false;
}

bool GetCurrentDir(std::string& dir) {
    for (int i = 0; i < CDiskfolioDisk::kDirAttempts; ++i) {
        char buf[PATH_MAX];
        if (::getcwd(buf, sizeof buf)) {
            dir = buf;
            return true;
        }
    }
    return false;
}

// Names in the directory, sorted, so that "first" means the same every time.
std::vector<std::string> ListNames(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool HasRollExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".rol";
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}

} // namespace

std::vector<std::string> CDiskfolioDisk::GetDriveRoots() {
    return GetDriveList().GetRemovableDrives();
}

void CDiskfolioDisk::ScanDisk(const std::string& strRoot, std::vector<std::string>& files) {
    files.clear();
    std::string strSaved;
    if (!GetCurrentDir(strSaved)) ThrowAppException(IDS_SWITCH_DIR_FAILED);
    if (!ChangeDir(strRoot)) ThrowAppException(IDS_SET_DIR_FAILED);
    try {
        std::string strRoll;
        for (const auto& name : ListNames(".")) {
            if (HasRollExtension(name)) {
                strRoll = name;
                break;
            }
        }
        if (strRoll.empty()) ThrowAppException(kNoRollDir);
        struct stat st {};
        if (::stat(strRoll.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) ThrowAppException(kNotDiskfolio);
        for (const auto& name : ListNames(strRoll)) {
            struct stat sf {};
            if (::stat((strRoll + "/" + name).c_str(), &sf) == 0 && !S_ISDIR(sf.st_mode))
                files.push_back(Join(Join(strRoot, strRoll), name));
        }
    } catch (...) {
        if (!ChangeDir(strSaved)) ZTRACE("ScanDisk(): cannot return to %s\n", strSaved.c_str());
        files.clear();
        throw;
    }
    if (!ChangeDir(strSaved)) {
        files.clear();
        ThrowAppException(kRestoreDirFailed);
    }
}

bool CDiskfolioDisk::ScanForNextStep(const std::string& strRoot, std::vector<std::string>& files) {
    try {
        ScanDisk(strRoot, files);
    } catch (const CException& e) {
        ReportException(e);
        return false;
    }
    if (files.empty()) {
        GetUserPrompt().MessageBox(kNoImageFiles, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}
