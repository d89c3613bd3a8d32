#pragma once
// Commands: every command id has one handler and one update rule (enabled,
// checked, text) on the target that owns it. A command travels along a route
// of targets (view, document, frame, application) until one owns it.

#include "framework/CObject.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>

class CCmdUI {
public:
    explicit CCmdUI(unsigned nID) : m_nID(nID) {}
    void Enable(bool bOn = true) { m_bEnabled = bOn; }
    void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }
    void SetText(const std::string& text) {
        m_strText = text;
        m_bTextSet = true;
    }

    unsigned m_nID;
    bool m_bEnabled = true;
    int m_nCheck = 0;
    std::string m_strText;
    bool m_bTextSet = false;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    using Handler = std::function<void()>;
    using Updater = std::function<void(CCmdUI&)>;

    // Registers the handler and the update rule of a command (a second call replaces them).
    void OnCommand(unsigned nID, Handler handler, Updater update = {});
    // Runs the command (pUpdate null) or its update rule; false when this target does not own it.
    virtual bool OnCmdMsg(unsigned nID, CCmdUI* pUpdate);
    bool OwnsCommand(unsigned nID) const { return m_commands.count(nID) > 0; }

    // Offers the command to each target in turn; a null target is skipped.
    static bool Route(std::initializer_list<CCmdTarget*> route, unsigned nID, CCmdUI* pUpdate);

private:
    struct Entry {
        Handler handler;
        Updater update;
    };
    std::map<unsigned, Entry> m_commands;
};
