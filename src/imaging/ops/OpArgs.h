#pragma once
// Typed arguments of the enhancer's operations. Each operation declares its
// arguments once; the command line's words and the usage text come from that
// declaration, and the operation's call reads the parsed values.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

enum class EOpArgType {
    Integer,  // whole decimal number within [min, max]
    Number,   // decimal number within [min, max]
    Choice,   // one of the words of pszMeta ("low|medium|high"); the value is its index
    Channels, // letters r, g, b (any of them); the value is a mask 1 red, 2 green, 4 blue
    Flag,     // an option without a value
    File,     // a file name (a curve or mesh file)
    Picture,  // a picture file, loaded through the context
};

struct COpArg {
    const char* pszName; // "ANGLE" (positional) or "--quality" (option)
    EOpArgType type;
    double dMin = 0;
    double dMax = 0;
    const char* pszMeta = nullptr;    // the word shown after an option, or the choices
    const char* pszDefault = nullptr; // the value of an absent option
};

// A call whose words do not fit the declaration.
class COpArgError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class COpValues {
public:
    // Parses the words after the operation's name; COpArgError when they do not fit.
    static COpValues Parse(const std::vector<COpArg>& decl, const std::vector<std::string>& words);

    bool Has(const std::string& name) const { return m_values.count(name) > 0; }
    long long Int(const std::string& name) const;
    double Number(const std::string& name) const;
    const std::string& Text(const std::string& name) const;
    // Values as the dialogs would give them.
    void Set(const std::string& name, long long n, const std::string& text = {});
    void SetNumber(const std::string& name, double d);

private:
    struct CValue {
        long long n = 0;
        double d = 0;
        std::string s;
    };
    const CValue& Get(const std::string& name) const;
    std::map<std::string, CValue> m_values;
};

// "W H [--quality low|medium|high]".
std::string OpUsage(const std::vector<COpArg>& decl);
