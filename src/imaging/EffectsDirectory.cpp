#include "imaging/EffectsDirectory.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string GetDefaultEffectsDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    fs::path base = ec ? fs::current_path(ec) : exe.parent_path().parent_path();
    return (base / "share" / "pictavo-zozi" / "effects").string();
}

std::string GetEffectsDirectory(const std::string& strUtilitiesPref) {
    return strUtilitiesPref.empty() ? GetDefaultEffectsDirectory() : strUtilitiesPref;
}
