#include "view/core/CPredefinedCurves.h"

#include "framework/CException.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower((unsigned char)c));
    return s;
}

} // namespace

CPredefinedCurves::EResult CPredefinedCurves::Load(const std::string& strDir) {
    namespace fs = std::filesystem;
    m_curves.clear();
    std::error_code ec;
    if (strDir.empty() || !fs::is_directory(strDir, ec)) return NoDirectory;
    std::vector<std::string> files;
    for (fs::directory_iterator it(strDir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (Lower(p.extension().string()) == ".tac" && !it->is_directory(ec)) files.push_back(p.string());
    }
    if (files.empty()) return NoCurves;
    std::sort(files.begin(), files.end()); // a stable loading order
    for (const std::string& file : files) {
        CTonalAdjustCurve curve;
        try {
            if (!curve.Load(file)) continue;
        } catch (const CArchiveException&) {
            m_curves.clear();
            return BadFile;
        }
        m_curves.push_back(std::move(curve));
    }
    std::stable_sort(m_curves.begin(), m_curves.end(),
                     [](const CTonalAdjustCurve& a, const CTonalAdjustCurve& b) {
                         return Lower(a.m_strName) < Lower(b.m_strName);
                     });
    return Loaded;
}

std::string CPredefinedCurves::Message(EResult result) {
    switch (result) {
    case NoDirectory:
        return "Tonal Adjustment directory does not exist!";
    case NoCurves:
        return "No predefined Tonal Adjustment curve found!";
    default:
        return {};
    }
}

int CPredefinedCurves::DefaultIndex() const {
    for (size_t i = 0; i < m_curves.size(); ++i)
        if (Lower(m_curves[i].m_strName).rfind("original curve", 0) == 0) return int(i);
    return m_curves.empty() ? -1 : 0;
}
