#include "framework/CRecentFileList.h"

#include <algorithm>

void CRecentFileList::ReadList(IProfileStore& store) {
    m_files.clear();
    for (int i = 1; i <= kSize; ++i) {
        std::string v = store.GetProfileString(kSection, "File" + std::to_string(i), "");
        if (!v.empty()) m_files.push_back(v);
    }
}

void CRecentFileList::WriteList(IProfileStore& store) const {
    for (int i = 1; i <= kSize; ++i) {
        std::string key = "File" + std::to_string(i);
        if (static_cast<size_t>(i) <= m_files.size())
            store.WriteProfileString(kSection, key, m_files[i - 1]);
        else
            store.DeleteProfileKey(kSection, key);
    }
}

void CRecentFileList::Add(const std::string& path) {
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > static_cast<size_t>(kSize)) m_files.resize(kSize);
}

void CRecentFileList::Remove(size_t index) {
    if (index < m_files.size()) m_files.erase(m_files.begin() + static_cast<long>(index));
}

std::string CRecentFileList::MenuText(size_t index) const {
    std::string name = AbbreviateName(m_files.at(index));
    // A literal ampersand would turn into a mnemonic.
    std::string escaped;
    for (char c : name) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    text += escaped;
    return text;
}

std::string CRecentFileList::AbbreviateName(const std::string& path, size_t nMax) {
    if (path.size() <= nMax) return path;
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash == std::string::npos || name.size() + 5 > nMax) return name;
    // The root stays, then "...", then as many trailing directories as fit.
    const std::string root = path[0] == '/' ? "/" : "";
    std::string tail = "/" + name;
    size_t end = slash;
    while (end > 0) {
        size_t prev = path.find_last_of('/', end - 1);
        if (prev == std::string::npos) break;
        std::string candidate = path.substr(prev, end - prev) + tail;
        if (root.size() + 3 + candidate.size() > nMax) break;
        tail = candidate;
        end = prev;
    }
    return root + "..." + tail;
}
