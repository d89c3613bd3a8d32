#include "view/COperationDialogs.h"

#include <map>

namespace {
std::map<unsigned, OperationDialogFn>& Registry() {
    static std::map<unsigned, OperationDialogFn> registry;
    return registry;
}
} // namespace

void COperationDialogs::Register(unsigned nCommandId, OperationDialogFn fn) {
    Registry()[nCommandId] = std::move(fn);
}

bool COperationDialogs::Has(unsigned nCommandId) {
    return Registry().count(nCommandId) > 0;
}

bool COperationDialogs::Run(unsigned nCommandId, COperationDialogRequest& request) {
    auto it = Registry().find(nCommandId);
    return it != Registry().end() && it->second(request);
}
