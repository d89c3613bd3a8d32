#include "app/CKeyboardLocks.h"

#include <QGuiApplication>

#ifdef ZOZI_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

#ifdef ZOZI_HAVE_X11
namespace {

// The named indicator's state, -1 when the keyboard has no such indicator.
int NamedIndicator(Display* pDisplay, const char* pszName) {
    Atom atom = XInternAtom(pDisplay, pszName, True);
    if (atom == None) return -1;
    Bool bOn = False;
    int nIndex = 0;
    if (!XkbGetNamedIndicator(pDisplay, atom, &nIndex, &bOn, nullptr, nullptr)) return -1;
    return bOn ? 1 : 0;
}

} // namespace
#endif

CKeyboardLocks CKeyboardLocks::Query() {
    CKeyboardLocks locks;
#ifdef ZOZI_HAVE_X11
    auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (Display* pDisplay = pX11 ? pX11->display() : nullptr) {
        locks.nCaps = NamedIndicator(pDisplay, "Caps Lock");
        locks.nNum = NamedIndicator(pDisplay, "Num Lock");
        locks.nScroll = NamedIndicator(pDisplay, "Scroll Lock");
    }
#endif
    return locks;
}
