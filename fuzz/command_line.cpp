// Parses a command line from arbitrary text, as one line and split at blanks
// into arguments, with every path answered as existing and as missing.

#include "app/core/CCommandLine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    for (size_t pos = 0; pos <= line.size();) {
        size_t end = line.find(' ', pos);
        if (end == std::string::npos) end = line.size();
        args.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    for (bool bExists : {false, true}) {
        auto exists = [bExists](const std::string&) { return bExists; };
        CCommandLine r = CCommandLine::Parse(line, exists);
        if (r.m_strLine != line || r.m_strPath.size() > line.size()) __builtin_trap();
        CCommandLine s = CCommandLine::Parse(args, exists);
        if (s.m_nKind == CCommandLine::kOpenDocuments && s.m_documents != args) __builtin_trap();
    }
    return 0;
}
