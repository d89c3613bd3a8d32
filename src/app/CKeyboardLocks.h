#pragma once
// The keyboard's lock keys for the status bar's CAP, NUM and SCRL panes,
// asked of the window system where it can tell (X11 through its keyboard
// extension).

struct CKeyboardLocks {
    // -1: the platform cannot tell; 0 off; 1 on.
    int nCaps = -1;
    int nNum = -1;
    int nScroll = -1;

    bool operator==(const CKeyboardLocks&) const = default;

    // The current state; all -1 where the platform cannot tell.
    static CKeyboardLocks Query();
};
