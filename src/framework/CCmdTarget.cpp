#include "framework/CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

void CCmdTarget::OnCommand(unsigned nID, Handler handler, Updater update) {
    m_commands[nID] = {std::move(handler), std::move(update)};
}

bool CCmdTarget::OnCmdMsg(unsigned nID, CCmdUI* pUpdate) {
    auto it = m_commands.find(nID);
    if (it == m_commands.end()) return false;
    if (pUpdate) {
        // Without a rule of its own, a command that has a handler is enabled.
        pUpdate->Enable(static_cast<bool>(it->second.handler));
        if (it->second.update) it->second.update(*pUpdate);
        return true;
    }
    if (!it->second.handler) return false;
    Handler h = it->second.handler; // the handler may replace its own entry
    h();
    return true;
}

bool CCmdTarget::Route(std::initializer_list<CCmdTarget*> route, unsigned nID, CCmdUI* pUpdate) {
    for (CCmdTarget* p : route)
        if (p && p->OnCmdMsg(nID, pUpdate)) return true;
    return false;
}
