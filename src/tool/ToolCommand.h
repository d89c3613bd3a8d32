#pragma once
// zozi-tool's command registry and argument parsing. Each source file of the
// tool registers its command groups with ZOZI_TOOL_COMMAND.

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// Exit status of the tool.
enum : int { kExitOk = 0, kExitNegative = 1, kExitError = 2 };

// A call whose words are off: the usage goes to standard error, exit 2.
class CToolUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Positional arguments and --options. Options named in valueOptions take the
// next word as their value; flagOptions take none; anything else that starts
// with "--" is a usage error.
class CToolArgs {
public:
    CToolArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
              const std::set<std::string>& flagOptions = {});

    const std::vector<std::string>& Positional() const { return m_positional; }
    size_t Count() const { return m_positional.size(); }
    const std::string& operator[](size_t i) const { return m_positional.at(i); }
    bool Has(const std::string& option) const { return m_options.count(option) > 0; }
    std::string Value(const std::string& option, const std::string& strDefault = {}) const;
    // Requires between nMin and nMax positional arguments.
    void Expect(size_t nMin, size_t nMax) const;

    // Whole decimal numbers, or a usage error.
    static long long ToInteger(const std::string& text, long long nMin, long long nMax);

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_options;
};

// A stored text as one output line: control characters escaped as \n, \t
// and \xHH (bytes below 0x20 and 0x7F), a backslash doubled; other bytes as
// they are.
std::string EscapeText(const std::string& text);
// The same for a fixed-size field that may lack its terminating zero.
std::string EscapeText(const char* field, size_t nMax);

using ToolHandler = int (*)(const std::vector<std::string>& args);

struct CToolCommandInfo {
    const char* name;  // the first word: "prefs", "chunk", "convert" ...
    const char* usage; // lines of "zozi-tool ..." forms
    ToolHandler handler;
};

class CToolRegistry {
public:
    static bool Add(const CToolCommandInfo& info);
    static const CToolCommandInfo* Find(const std::string& name);
    static const std::map<std::string, CToolCommandInfo>& All();
};

#define ZOZI_TOOL_CAT2(a, b) a##b
#define ZOZI_TOOL_CAT(a, b) ZOZI_TOOL_CAT2(a, b)
#define ZOZI_TOOL_COMMAND(name, usage, handler)                                                              \
    static const bool ZOZI_TOOL_CAT(s_toolCommand, __LINE__) = CToolRegistry::Add({name, usage, handler});
