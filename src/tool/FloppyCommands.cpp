// floppy scan / target-name / install / drives

#include "framework/UserPrompt.h"
#include "storage/install/CDiskfolioDisk.h"
#include "storage/install/CImageInstaller.h"
#include "tool/ToolCommand.h"

#include <cstdio>

namespace {

int FloppyScan(const CToolArgs& a) {
    a.Expect(1, 1);
    std::vector<std::string> files;
    CDiskfolioDisk::ScanDisk(a[0], files);
    if (files.empty()) {
        std::fprintf(stderr, "No image files were found on the disk!\n");
        return kExitNegative;
    }
    for (const auto& f : files) std::printf("%s\n", EscapeText(f).c_str());
    return kExitOk;
}

int FloppyTargetName(const CToolArgs& a) {
    a.Expect(2, 2);
    std::printf("%s\n",
                EscapeText(CImageInstaller::MakeTargetName(a[0], a[1], !a.Has("--short-names"))).c_str());
    return kExitOk;
}

int FloppyInstall(const CToolArgs& a) {
    if (a.Count() < 2) throw CToolUsageError("floppy install needs DIR and at least one FILE");
    // An existing target: Cancel for the whole run unless --overwrite.
    CStdErrPrompt prompt;
    prompt.ForceButton(3);
    CUserPromptScope scope(&prompt);
    std::vector<std::string> files(a.Positional().begin() + 1, a.Positional().end());
    if (!CImageInstaller().CopyImages(files, a[0], a.Has("--overwrite"))) return kExitNegative;
    for (const auto& f : files) std::printf("%s\n", EscapeText(f).c_str());
    return kExitOk;
}

int FloppyDrives(const CToolArgs& a) {
    a.Expect(0, 0);
    auto roots = CDiskfolioDisk::GetDriveRoots();
    for (const auto& r : roots) std::printf("%s\n", EscapeText(r).c_str());
    return roots.empty() ? kExitNegative : kExitOk;
}

int Floppy(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("floppy needs scan, target-name, install or drives");
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "scan") return FloppyScan(CToolArgs(rest, {}));
    if (args[0] == "target-name") return FloppyTargetName(CToolArgs(rest, {}, {"--short-names"}));
    if (args[0] == "install") return FloppyInstall(CToolArgs(rest, {}, {"--overwrite"}));
    if (args[0] == "drives") return FloppyDrives(CToolArgs(rest, {}));
    throw CToolUsageError("unknown floppy command '" + args[0] + "'");
}

} // namespace

ZOZI_TOOL_COMMAND("floppy",
                  "zozi-tool floppy scan ROOT\n"
                  "zozi-tool floppy target-name SOURCE DIR [--short-names]\n"
                  "zozi-tool floppy install DIR FILE... [--overwrite]\n"
                  "zozi-tool floppy drives",
                  Floppy)
