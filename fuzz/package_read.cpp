// Parcelgram packages of any bytes: open, list, extract twice (the second
// time every file exists and is replaced) into a scratch directory. Nothing
// may be written outside it.

#include "framework/CException.h"
#include "framework/UserPrompt.h"
#include "storage/install/CxQLNArchive.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A scratch directory for the whole run, removed at exit.
struct CScratch {
    fs::path dir;
    CScratch() {
        std::string pattern = (fs::temp_directory_path() / "zozi-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        dir = pattern;
    }
    ~CScratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

const fs::path& Scratch() {
    static const CScratch s;
    return s.dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path root = Scratch();
    const fs::path pkg = root / "p.vrz";
    const fs::path out = root / "out" / "in";
    {
        std::ofstream f(pkg, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::error_code ec;
    fs::create_directories(out, ec);

    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    try {
        CxQLNArchive ar;
        if (ar.Open(pkg.string())) {
            std::vector<std::string> names;
            ar.GetEntryNames(names);
            (void)ar.GetTotalDataSize();
            ar.Extract(out.string());
            prompt.m_answers = {1}; // Yes To All
            ar.Extract(out.string());
        }
        ar.Close();
    } catch (const CException&) {
    }
    // Only the package and the destination may exist.
    for (const auto& e : fs::directory_iterator(root / "out"))
        if (e.path().filename() != "in") std::abort();
    for (const auto& e : fs::directory_iterator(root))
        if (e.path().filename() != "out" && e.path().filename() != "p.vrz") std::abort();
    fs::remove_all(root / "out", ec);
    return 0;
}
