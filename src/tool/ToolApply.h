#pragma once
// The operations of `zozi-tool apply`. Each source file of a group of
// operations registers its entries with ZOZI_APPLY_OPERATION; `apply` loads
// the picture, runs the operation on it and saves the result.

#include "imaging/CDib.h"
#include "tool/ToolCommand.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// An operation gets the picture (it may replace it) and the words after its name.
using ApplyHandler = void (*)(std::unique_ptr<CDib>& image, const std::vector<std::string>& args);

struct CApplyOperation {
    const char* name;    // "grayscale", "rotate-cw" ...
    unsigned nCommandId; // the enhancer's command
    const char* usage;   // arguments after the name, for the usage text
    ApplyHandler handler;
};

class CApplyRegistry {
public:
    static bool Add(const CApplyOperation& op);
    static const CApplyOperation* Find(const std::string& name);
    static const std::map<std::string, CApplyOperation>& All();
};

// --channel red|green|blue|all (default all) as a channel mask: 1 red, 2 green, 4 blue.
int ChannelMaskOption(const CToolArgs& a);

// A new image of the source's size for a conversion, keeping its resolution.
std::unique_ptr<CDib> MakeDestination(const CDib& source, int nBitCount, const RGBQUAD* pColorTable);

#define ZOZI_APPLY_CAT2(a, b) a##b
#define ZOZI_APPLY_CAT(a, b) ZOZI_APPLY_CAT2(a, b)
#define ZOZI_APPLY_OPERATION(name, id, usage, handler)                                                       \
    static const bool ZOZI_APPLY_CAT(s_applyOperation, __LINE__) =                                           \
        CApplyRegistry::Add({name, id, usage, handler});
