// zozi-tool: batch and script access to what the program does without a window.

#include "framework/ReportException.h"
#include "framework/UserPrompt.h"
#include "tool/ToolCommand.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void PrintUsage(FILE* out) {
    std::fprintf(out, "usage: zozi-tool <command> [arguments]\n"
                      "       zozi-tool --version | --help | <command> --help\n\ncommands:\n");
    for (const auto& [name, info] : CToolRegistry::All()) std::fprintf(out, "%s\n", info.usage);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(stderr);
        return kExitError;
    }
    if (args[0] == "--version") {
        std::printf("zozi-tool %s\n", ZOZI_VERSION);
        return kExitOk;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(stdout);
        return kExitOk;
    }
    const CToolCommandInfo* cmd = CToolRegistry::Find(args[0]);
    if (!cmd) {
        std::fprintf(stderr, "zozi-tool: unknown command '%s'\n\n", args[0].c_str());
        PrintUsage(stderr);
        return kExitError;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const auto& a : rest)
        if (a == "--help") {
            std::printf("usage:\n%s\n", cmd->usage);
            return kExitOk;
        }

    CStdErrPrompt prompt;
    SetUserPrompt(&prompt);
    try {
        return cmd->handler(rest);
    } catch (const CToolUsageError& e) {
        std::fprintf(stderr, "zozi-tool %s: %s\nusage:\n%s\n", args[0].c_str(), e.what(), cmd->usage);
        return kExitError;
    } catch (...) {
        // The message the program would show for this error.
        std::fprintf(stderr, "%s\n", GetExceptionMessage(std::current_exception()).c_str());
        return kExitError;
    }
}
