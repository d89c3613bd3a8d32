#include "storage/install/IDriveList.h"

#include "storage/install/CLinuxDriveList.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

CLinuxDriveList g_linux;
IDriveList* g_pList = &g_linux;

fs::path Normalised(const std::string& strPath) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(strPath, ec), ec);
    if (ec) p = fs::absolute(strPath, ec).lexically_normal();
    return p;
}

// Whether the path is the root or lies below it, compared by components.
bool IsUnder(const fs::path& path, const fs::path& root) {
    auto r = root.begin(), p = path.begin();
    for (; r != root.end(); ++r, ++p) {
        if (r->empty()) continue; // a trailing separator
        if (p == path.end() || *p != *r) return false;
    }
    return true;
}

} // namespace

IDriveList& GetDriveList() {
    return *g_pList;
}

void SetDriveList(IDriveList* pList) {
    g_pList = pList ? pList : &g_linux;
}

bool IsOnRemovableDrive(const std::string& strPath) {
    return IsOnRemovableDrive(strPath, GetDriveList().GetRemovableDrives());
}

bool IsOnRemovableDrive(const std::string& strPath, const std::vector<std::string>& roots) {
    const fs::path path = Normalised(strPath);
    for (const auto& root : roots) {
        const fs::path r = Normalised(root);
        // A system started from a stick has its root there: that is no floppy.
        if (r == r.root_path()) continue;
        if (IsUnder(path, r)) return true;
    }
    return false;
}

std::string GetExistingAncestor(const std::string& strPath) {
    std::error_code ec;
    fs::path p = fs::absolute(strPath, ec).lexically_normal();
    while (!p.empty() && !fs::exists(p, ec)) {
        fs::path parent = p.parent_path();
        if (parent == p) break;
        p = parent;
    }
    return p.string();
}

std::string GetDriveRoot(const std::string& strPath) {
    fs::path p = GetExistingAncestor(strPath);
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return p.string();
    // Walk up while the parent is on the same file system.
    for (;;) {
        fs::path parent = p.parent_path();
        struct stat stp {};
        if (parent == p || ::stat(parent.c_str(), &stp) != 0 || stp.st_dev != st.st_dev) break;
        p = parent;
    }
    return p.string();
}
