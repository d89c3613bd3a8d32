#include "framework/CIniProfileStore.h"

#include "framework/CFile.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <strings.h>

namespace {
constexpr uint32_t kMaxFileSize = 4u << 20;

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

int Clamp32(long long v) {
    return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
}

// Parses [blanks][sign]digits; returns false when there is no digit.
bool ParseDecimal(const std::string& text, long long& value, bool bAllowHex) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool bNeg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) bNeg = text[i++] == '-';
    int base = 10;
    if (bAllowHex && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    long long v = 0;
    bool bDigits = false;
    for (; i < text.size(); ++i) {
        int d;
        char c = text[i];
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            d = std::tolower(c) - 'a' + 10;
        else
            break;
        bDigits = true;
        if (v < (1ll << 40)) v = v * base + d;
    }
    value = bNeg ? -v : v;
    return bDigits;
}
} // namespace

int ParseProfileInt(const std::string& text, int nDefault) {
    long long v;
    return ParseDecimal(text, v, false) ? Clamp32(v) : nDefault;
}

bool CIniProfileStore::LoadFile(const std::string& path) {
    m_sections.clear();
    CFile f;
    if (!f.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    try {
        uint64_t len = std::min<uint64_t>(f.GetLength(), kMaxFileSize);
        std::string text(len, '\0');
        text.resize(f.Read(text.data(), static_cast<uint32_t>(len)));
        ParseText(text);
    } catch (const CFileException&) {
        m_sections.clear();
        return false;
    }
    return true;
}

void CIniProfileStore::ParseText(const std::string& text) {
    m_sections.clear();
    Section* pCur = nullptr;
    size_t pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) eol = text.size();
        std::string line = Trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            if (close == std::string::npos) {
                pCur = nullptr;
                continue;
            }
            std::string name = Trim(line.substr(1, close - 1));
            pCur = FindSection(name);
            if (!pCur) {
                m_sections.push_back({name, {}});
                pCur = &m_sections.back();
            }
            continue;
        }
        size_t eq = line.find('=');
        if (!pCur || eq == std::string::npos) continue;
        std::string key = Trim(line.substr(0, eq));
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (!key.empty() && !FindValue(*pCur, key)) pCur->entries.emplace_back(key, value);
    }
}

std::string CIniProfileStore::ToText() const {
    std::string out;
    for (const auto& s : m_sections) {
        out += "[" + s.name + "]\n";
        for (const auto& [k, v] : s.entries) out += k + "=" + v + "\n";
        out += "\n";
    }
    return out;
}

void CIniProfileStore::SaveFile(const std::string& path) const {
    std::string text = ToText();
    CAtomicFile out(path);
    out.File().Write(text.data(), static_cast<uint32_t>(text.size()));
    out.Commit();
}

CIniProfileStore::Section* CIniProfileStore::FindSection(const std::string& name) {
    for (auto& s : m_sections)
        if (EqualNoCase(s.name, name)) return &s;
    return nullptr;
}

const CIniProfileStore::Section* CIniProfileStore::FindSection(const std::string& name) const {
    return const_cast<CIniProfileStore*>(this)->FindSection(name);
}

const std::string* CIniProfileStore::FindValue(const Section& s, const std::string& key) {
    for (const auto& [k, v] : s.entries)
        if (EqualNoCase(k, key)) return &v;
    return nullptr;
}

bool CIniProfileStore::HasKey(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    return s && FindValue(*s, key);
}

std::vector<std::string> CIniProfileStore::Keys(const std::string& section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& e : s->entries) keys.push_back(e.first);
    return keys;
}

int CIniProfileStore::GetProfileInt(const std::string& section, const std::string& key, int nDefault) {
    const Section* s = FindSection(section);
    const std::string* v = s ? FindValue(*s, key) : nullptr;
    if (!v) return nDefault;
    if (m_bLegacyInt) {
        if (v->empty()) return nDefault;
        long long n;
        return ParseDecimal(*v, n, true) ? Clamp32(n) : 0;
    }
    return ParseProfileInt(*v, nDefault);
}

std::string CIniProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                               const std::string& strDefault) {
    const Section* s = FindSection(section);
    const std::string* v = s ? FindValue(*s, key) : nullptr;
    return v ? *v : strDefault;
}

void CIniProfileStore::WriteProfileInt(const std::string& section, const std::string& key, int nValue) {
    WriteProfileString(section, key, std::to_string(nValue));
}

void CIniProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                          const std::string& value) {
    Section* s = FindSection(section);
    if (!s) {
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    // Line breaks would split the entry in the file.
    std::string clean = value;
    for (char& c : clean)
        if (c == '\n' || c == '\r') c = ' ';
    for (auto& [k, v] : s->entries)
        if (EqualNoCase(k, key)) {
            v = clean;
            return;
        }
    s->entries.emplace_back(key, clean);
}

void CIniProfileStore::DeleteProfileKey(const std::string& section, const std::string& key) {
    Section* s = FindSection(section);
    if (!s) return;
    std::erase_if(s->entries, [&](const auto& e) { return EqualNoCase(e.first, key); });
}

void CIniProfileStore::DeleteProfileSection(const std::string& section) {
    std::erase_if(m_sections, [&](const Section& s) { return EqualNoCase(s.name, section); });
}
