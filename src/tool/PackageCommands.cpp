// package list / extract / create

#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "storage/install/CxQLNArchive.h"
#include "storage/install/CxQLNArchiveWriter.h"
#include "storage/install/ParcelgramExtraction.h"
#include "tool/ToolCommand.h"

#include <cstdio>
#include <filesystem>

namespace {

int PackageList(const CToolArgs& a) {
    a.Expect(1, 1);
    CxQLNArchive ar;
    if (!ar.Open(a[0])) {
        // The messages the wizard shows; an open failure was shown by Open.
        if (ar.GetErrorState() == CxQLNArchive::errNotPackage)
            std::fprintf(stderr, "%s\n", FormatResString1(IDS_NOT_PARCELGRAM, a[0]).c_str());
        else if (ar.GetErrorState() == CxQLNArchive::errChecksum)
            std::fprintf(stderr, "%s\n", FormatMessageText(kPackageCorruptedText, a[0]).c_str());
        return kExitError;
    }
    for (const auto& e : ar.GetEntries())
        std::printf("%s %llu %08x\n", EscapeText(e.m_strName).c_str(),
                    static_cast<unsigned long long>(e.m_dwSize - CxQLNArchive::kEntryHeaderSize), e.m_dwCrc);
    ar.Close();
    return kExitOk;
}

int PackageExtract(const CToolArgs& a) {
    a.Expect(2, 2);
    // Existing files: "No" unless --overwrite answers "Yes To All...".
    CStdErrPrompt prompt;
    prompt.ForceButton(a.Has("--overwrite") ? 1 : 2);
    CUserPromptScope scope(&prompt);
    std::vector<std::string> names;
    return ExtractParcelgram(a[0], a[1], false, names) ? kExitOk : kExitError;
}

int PackageCreate(const CToolArgs& a) {
    if (a.Count() < 1) throw CToolUsageError("package create needs the package file");
    CxQLNArchiveWriter w(a[0]);
    for (size_t i = 1; i < a.Count(); ++i) w.AddFile(std::filesystem::path(a[i]).filename().string(), a[i]);
    w.Commit();
    return kExitOk;
}

int Package(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("package needs list, extract or create");
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "list") return PackageList(CToolArgs(rest, {}));
    if (args[0] == "extract") return PackageExtract(CToolArgs(rest, {}, {"--overwrite"}));
    if (args[0] == "create") return PackageCreate(CToolArgs(rest, {}));
    throw CToolUsageError("unknown package command '" + args[0] + "'");
}

} // namespace

ZOZI_TOOL_COMMAND("package",
                  "zozi-tool package list FILE\n"
                  "zozi-tool package extract FILE DIR [--overwrite]\n"
                  "zozi-tool package create FILE [INPUT...]",
                  Package)
