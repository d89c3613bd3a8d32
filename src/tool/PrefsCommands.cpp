// prefs show / prefs import

#include "app/core/CPrefObject.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/CIniProfileStore.h"
#include "framework/qt/CQtSettingsStore.h"
#include "tool/ToolCommand.h"

#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<CQtSettingsStore> OpenStore(const CToolArgs& a) {
    if (a.Has("--store")) return std::make_unique<CQtSettingsStore>(a.Value("--store"));
    return std::make_unique<CQtSettingsStore>();
}

CScreenMetrics ParseScreen(const std::string& text) {
    CScreenMetrics m;
    size_t x = text.find('x');
    if (x == std::string::npos) throw CToolUsageError("--screen takes WxH, for example 1024x768");
    m.cxScreen = static_cast<int>(CToolArgs::ToInteger(text.substr(0, x), 1, 100000));
    m.cyScreen = static_cast<int>(CToolArgs::ToInteger(text.substr(x + 1), 1, 100000));
    return m;
}

int PrefsShow(const CToolArgs& a) {
    a.Expect(0, 0);
    CScreenMetrics screen = ParseScreen(a.Value("--screen", "1024x768"));
    // The read step empties the pending album moves in the store; work on a
    // copy so that showing them does not lose them.
    CIniProfileStore copy;
    OpenStore(a)->CopyTo(copy);
    CPrefObject prefs;
    CZelSettings settings;
    prefs.ReadPreferences(copy, settings, screen);
    for (const auto& line : prefs.ListSettings(settings, copy)) std::printf("%s\n", line.c_str());
    return kExitOk;
}

int PrefsImport(const CToolArgs& a) {
    a.Expect(1, 1);
    CIniProfileStore legacy(true);
    if (!legacy.LoadFile(a[0])) AfxThrowFileException(CFileException::fileNotFound, -1, a[0]);
    auto store = OpenStore(a);
    bool bImported = CPrefObject().ImportLegacySettings(legacy, *store);
    store->Save(); // a store that could not be written is an error, not an import
    std::printf("imported: %s\n", bImported ? "yes" : "no");
    return kExitOk;
}

int Prefs(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("prefs needs show or import");
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "show") return PrefsShow(CToolArgs(rest, {"--store", "--screen"}));
    if (args[0] == "import") return PrefsImport(CToolArgs(rest, {"--store"}));
    throw CToolUsageError("unknown prefs command '" + args[0] + "'");
}

} // namespace

ZOZI_TOOL_COMMAND("prefs",
                  "zozi-tool prefs show [--store FILE] [--screen WxH]\n"
                  "zozi-tool prefs import LEGACY_INI [--store FILE]",
                  Prefs)
