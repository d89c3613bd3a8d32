#include "imaging/ops/OpArgs.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsOption(const char* pszName) {
    return pszName[0] == '-' && pszName[1] == '-';
}

std::vector<std::string> Words(const char* pszMeta) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = pszMeta ? pszMeta : ""; *p; ++p) {
        if (*p == '|') {
            words.push_back(word);
            word.clear();
        } else {
            word += *p;
        }
    }
    words.push_back(word);
    return words;
}

std::string FormatNumber(double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", d);
    return text;
}

} // namespace

COpValues COpValues::Parse(const std::vector<COpArg>& decl, const std::vector<std::string>& words) {
    COpValues values;
    std::vector<std::string> positional;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() <= 2 || w.compare(0, 2, "--") != 0) {
            positional.push_back(w);
            continue;
        }
        const COpArg* pArg = nullptr;
        for (const COpArg& a : decl)
            if (IsOption(a.pszName) && w == a.pszName) pArg = &a;
        if (!pArg) throw COpArgError("unknown option " + w);
        if (pArg->type == EOpArgType::Flag) {
            values.Set(w, 1);
            continue;
        }
        if (i + 1 >= words.size()) throw COpArgError("option " + w + " needs a value");
        values.Set(w, 0, words[++i]);
    }
    size_t nPositional = 0;
    for (const COpArg& a : decl)
        if (!IsOption(a.pszName)) ++nPositional;
    if (positional.size() < nPositional) throw COpArgError("too few arguments");
    if (positional.size() > nPositional) throw COpArgError("too many arguments");

    size_t iPos = 0;
    for (const COpArg& a : decl) {
        std::string text;
        if (!IsOption(a.pszName)) {
            text = positional[iPos++];
        } else if (a.type == EOpArgType::Flag) {
            continue;
        } else if (values.Has(a.pszName)) {
            text = values.Text(a.pszName);
        } else if (a.pszDefault) {
            text = a.pszDefault;
        } else {
            continue;
        }
        CValue v;
        v.s = text;
        switch (a.type) {
        case EOpArgType::Integer: {
            char* end = nullptr;
            errno = 0;
            const long long n = text.empty() ? 0 : std::strtoll(text.c_str(), &end, 10);
            if (text.empty() || errno || *end || n < a.dMin || n > a.dMax)
                throw COpArgError("'" + text + "' is not a number from " + FormatNumber(a.dMin) + " to " +
                                  FormatNumber(a.dMax));
            v.n = n;
            v.d = double(n);
            break;
        }
        case EOpArgType::Number: {
            char* end = nullptr;
            const double d = text.empty() ? 0 : std::strtod(text.c_str(), &end);
            if (text.empty() || *end || !std::isfinite(d) || d < a.dMin || d > a.dMax)
                throw COpArgError(std::string(a.pszName) + " must be a number from " + FormatNumber(a.dMin) +
                                  " to " + FormatNumber(a.dMax) + ": " + text);
            v.d = d;
            break;
        }
        case EOpArgType::Choice: {
            const std::vector<std::string> choices = Words(a.pszMeta);
            size_t k = 0;
            while (k < choices.size() && choices[k] != text) ++k;
            if (k == choices.size()) throw COpArgError(std::string(a.pszName) + " takes " + a.pszMeta);
            v.n = static_cast<long long>(k);
            break;
        }
        case EOpArgType::Channels:
            for (char c : text) {
                if (c == 'r')
                    v.n |= 1;
                else if (c == 'g')
                    v.n |= 2;
                else if (c == 'b')
                    v.n |= 4;
                else
                    throw COpArgError(std::string(a.pszName) + " takes the letters r, g and b");
            }
            break;
        case EOpArgType::Flag:
        case EOpArgType::File:
        case EOpArgType::Picture:
            break;
        }
        values.m_values[a.pszName] = v;
    }
    return values;
}

const COpValues::CValue& COpValues::Get(const std::string& name) const {
    auto it = m_values.find(name);
    if (it == m_values.end()) throw COpArgError("missing value for " + name);
    return it->second;
}

long long COpValues::Int(const std::string& name) const {
    return Get(name).n;
}

double COpValues::Number(const std::string& name) const {
    return Get(name).d;
}

const std::string& COpValues::Text(const std::string& name) const {
    return Get(name).s;
}

void COpValues::Set(const std::string& name, long long n, const std::string& text) {
    CValue& v = m_values[name];
    v.n = n;
    v.d = double(n);
    v.s = text;
}

void COpValues::SetNumber(const std::string& name, double d) {
    CValue& v = m_values[name];
    v.d = d;
    v.n = static_cast<long long>(d);
}

std::string OpUsage(const std::vector<COpArg>& decl) {
    std::string usage;
    for (const COpArg& a : decl) {
        if (!usage.empty()) usage += ' ';
        if (!IsOption(a.pszName))
            usage += a.pszName;
        else if (a.type == EOpArgType::Flag)
            usage += std::string("[") + a.pszName + "]";
        else
            usage += std::string("[") + a.pszName + " " + (a.pszMeta ? a.pszMeta : "VALUE") + "]";
    }
    return usage;
}
