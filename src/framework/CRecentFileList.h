#pragma once
// The list of recently used files: newest first, at most eight, kept in the
// settings store under "Recent File List", keys "File1" ... "File8".

#include "framework/IProfileStore.h"

#include <string>
#include <vector>

class CRecentFileList {
public:
    static constexpr int kSize = 8;
    static constexpr size_t kMaxDisplay = 30;
    static constexpr const char* kSection = "Recent File List";

    void ReadList(IProfileStore& store);
    void WriteList(IProfileStore& store) const;
    // Puts the path first; a path already listed moves up instead of repeating.
    void Add(const std::string& path);
    void Remove(size_t index);
    const std::vector<std::string>& Files() const { return m_files; }
    // The menu text of entry i: "&1 " and the name shortened for display.
    std::string MenuText(size_t index) const;

    // Shortens a path to at most nMax characters by leaving out directories
    // from the middle ("/home/.../albums/x.alb"); a name that alone is longer
    // is shown without its directories.
    static std::string AbbreviateName(const std::string& path, size_t nMax = kMaxDisplay);

private:
    std::vector<std::string> m_files;
};
