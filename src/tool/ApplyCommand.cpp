// apply IN OUT OPERATION [ARGS...]

#include "framework/CException.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

#include <cstdio>
#include <string>

namespace {

std::map<std::string, CApplyOperation>& Table() {
    static std::map<std::string, CApplyOperation> table;
    return table;
}

int Apply(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--list") {
        for (const auto& [name, op] : CApplyRegistry::All())
            std::printf("%s%s%s (%u)\n", name.c_str(), *op.usage ? " " : "", op.usage, op.nCommandId);
        return kExitOk;
    }
    if (args.size() < 3) throw CToolUsageError("apply needs IN OUT OPERATION");
    for (size_t i = 0; i < 3; ++i)
        if (args[i].compare(0, 2, "--") == 0) throw CToolUsageError("apply needs IN OUT OPERATION first");
    const CApplyOperation* op = CApplyRegistry::Find(args[2]);
    if (!op) {
        std::string known;
        for (const auto& [name, entry] : CApplyRegistry::All())
            known += "\n  " + name + (*entry.usage ? std::string(" ") + entry.usage : std::string());
        throw CToolUsageError("unknown operation '" + args[2] + "'; operations:" + known);
    }
    std::vector<std::string> rest(args.begin() + 3, args.end());
    std::unique_ptr<CDib> image = LoadPicture(args[0]);
    op->handler(image, rest);
    SavePicture(*image, args[1]);
    return kExitOk;
}

int ApplyEntry(const std::vector<std::string>& args) {
    return Apply(args);
}

} // namespace

bool CApplyRegistry::Add(const CApplyOperation& op) {
    return Table().emplace(op.name, op).second;
}

const CApplyOperation* CApplyRegistry::Find(const std::string& name) {
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : &it->second;
}

const std::map<std::string, CApplyOperation>& CApplyRegistry::All() {
    return Table();
}

int ChannelMaskOption(const CToolArgs& a) {
    const std::string channel = a.Value("--channel", "all");
    if (channel == "red") return 1;
    if (channel == "green") return 2;
    if (channel == "blue") return 4;
    if (channel == "all") return 7;
    throw CToolUsageError("--channel takes red, green, blue or all");
}

std::unique_ptr<CDib> MakeDestination(const CDib& source, int nBitCount, const RGBQUAD* pColorTable) {
    auto p = std::make_unique<CDib>(nBitCount, source.GetWidth(), source.GetHeight(), pColorTable);
    p->GetInfo()->biXPelsPerMeter = source.GetInfo()->biXPelsPerMeter;
    p->GetInfo()->biYPelsPerMeter = source.GetInfo()->biYPelsPerMeter;
    return p;
}

ZOZI_TOOL_COMMAND("apply",
                  "zozi-tool apply IN OUT OPERATION [ARGS...]\n"
                  "zozi-tool apply --list   (the operations, their arguments and command ids)",
                  ApplyEntry)
