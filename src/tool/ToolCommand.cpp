#include "tool/ToolCommand.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

std::string EscapeText(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string EscapeText(const char* field, size_t nMax) {
    return EscapeText(std::string(field, ::strnlen(field, nMax)));
}

CToolArgs::CToolArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            if (valueOptions.count(a)) {
                if (i + 1 >= args.size()) throw CToolUsageError("option " + a + " needs a value");
                m_options[a] = args[++i];
            } else if (flagOptions.count(a)) {
                m_options[a] = "";
            } else {
                throw CToolUsageError("unknown option " + a);
            }
        } else {
            m_positional.push_back(a);
        }
    }
}

std::string CToolArgs::Value(const std::string& option, const std::string& strDefault) const {
    auto it = m_options.find(option);
    return it == m_options.end() ? strDefault : it->second;
}

void CToolArgs::Expect(size_t nMin, size_t nMax) const {
    if (m_positional.size() < nMin) throw CToolUsageError("too few arguments");
    if (m_positional.size() > nMax) throw CToolUsageError("too many arguments");
}

long long CToolArgs::ToInteger(const std::string& text, long long nMin, long long nMax) {
    if (text.empty()) throw CToolUsageError("a number is missing");
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || v < nMin || v > nMax)
        throw CToolUsageError("'" + text + "' is not a number from " + std::to_string(nMin) + " to " +
                              std::to_string(nMax));
    return v;
}

namespace {
std::map<std::string, CToolCommandInfo>& Commands() {
    static std::map<std::string, CToolCommandInfo> s_commands;
    return s_commands;
}
} // namespace

bool CToolRegistry::Add(const CToolCommandInfo& info) {
    Commands().emplace(info.name, info);
    return true;
}

const CToolCommandInfo* CToolRegistry::Find(const std::string& name) {
    auto it = Commands().find(name);
    return it == Commands().end() ? nullptr : &it->second;
}

const std::map<std::string, CToolCommandInfo>& CToolRegistry::All() {
    return Commands();
}
