// apply IN OUT OPERATION [ARGS...]: one command of the enhancer's operation
// table, by its name, on a picture; and the list of the operations.

#include "framework/CException.h"
#include "imaging/ops/COperationTable.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

// The operations by tool name; a name shared by several commands (false-color)
// lists its words as its first argument and shows the first command's id.
struct CToolOperation {
    std::vector<const COperation*> commands;
    std::string usage;
};

const std::map<std::string, CToolOperation>& ToolOperations() {
    static const std::map<std::string, CToolOperation> s_ops = [] {
        std::map<std::string, CToolOperation> ops;
        for (const COperation& op : COperationTable::All()) {
            if (!op.m_pszToolName) continue;
            ops[op.m_pszToolName].commands.push_back(&op);
        }
        for (auto& [name, entry] : ops) {
            if (entry.commands.size() > 1) {
                for (const COperation* op : entry.commands) {
                    if (!entry.usage.empty()) entry.usage += '|';
                    entry.usage += op->m_pszToolWord;
                }
            } else {
                entry.usage = OpUsage(entry.commands[0]->m_args);
            }
        }
        return ops;
    }();
    return s_ops;
}

std::string Line(const std::string& name, const CToolOperation& entry) {
    return name + (entry.usage.empty() ? "" : " " + entry.usage) + " (" +
           std::to_string(entry.commands[0]->m_nCommandId) + ")";
}

int List(const std::vector<std::string>& args) {
    std::unique_ptr<CDib> image;
    if (args.size() == 3 && args[1] == "--for")
        image = LoadPicture(args[2]);
    else if (args.size() != 1)
        throw CToolUsageError("apply --list takes only --for FILE");
    // Zoom 1, no fit, the default tool, nothing to undo.
    const CEnhancerViewState view;
    for (const auto& [name, entry] : ToolOperations()) {
        std::string line = Line(name, entry);
        if (image) {
            bool bEnabled = false;
            for (const COperation* op : entry.commands)
                bEnabled = bEnabled || COperationTable::IsEnabled(*op, image.get(), view);
            line += bEnabled ? " enabled" : " disabled";
        }
        std::printf("%s\n", line.c_str());
    }
    return kExitOk;
}

int Apply(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "--list") return List(args);
    if (args.size() < 3) throw CToolUsageError("apply needs IN OUT OPERATION");
    for (size_t i = 0; i < 3; ++i)
        if (args[i].compare(0, 2, "--") == 0) throw CToolUsageError("apply needs IN OUT OPERATION first");
    auto it = ToolOperations().find(args[2]);
    if (it == ToolOperations().end()) {
        std::string known;
        for (const auto& [name, entry] : ToolOperations()) known += "\n  " + Line(name, entry);
        throw CToolUsageError("unknown operation '" + args[2] + "'; operations:" + known);
    }
    const CToolOperation& entry = it->second;
    std::vector<std::string> rest(args.begin() + 3, args.end());
    const COperation* op = entry.commands[0];
    if (entry.commands.size() > 1) {
        // The first word picks the command.
        if (rest.empty()) throw CToolUsageError(args[2] + " takes " + entry.usage);
        op = nullptr;
        for (const COperation* candidate : entry.commands)
            if (rest[0] == candidate->m_pszToolWord) op = candidate;
        if (!op) throw CToolUsageError(args[2] + " takes " + entry.usage);
        rest.erase(rest.begin());
    }
    COpValues values;
    try {
        values = COpValues::Parse(op->m_args, rest);
    } catch (const COpArgError& e) {
        throw CToolUsageError(e.what());
    }
    std::unique_ptr<CDib> image = LoadPicture(args[0]);
    COpContext ctx{image, values, [](const std::string& path) { return LoadPicture(path); }};
    COperationTable::Run(*op, ctx);
    SavePicture(*image, args[1]);
    return kExitOk;
}

} // namespace

ZOZI_TOOL_COMMAND("apply",
                  "zozi-tool apply IN OUT OPERATION [ARGS...]\n"
                  "zozi-tool apply --list [--for FILE]   (the operations, their arguments and command ids;\n"
                  "                                       with --for, enabled or disabled for that picture)",
                  Apply)
