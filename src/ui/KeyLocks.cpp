#include "ui/KeyLocks.h"

#include <QGuiApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#ifdef KORVEX_HAVE_XKB
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace korvex {

#ifdef KORVEX_HAVE_XKB

namespace {

// The state of the indicator the server calls `name` ("Caps Lock").
std::optional<bool> indicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0) return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return std::nullopt;
    return on != False;
}

}  // namespace

KeyLocks readX11KeyLocks(void* display) {
    KeyLocks locks;
    if (!display) return locks;
    auto* x = static_cast<Display*>(display);
    locks.capsLock = indicator(x, "Caps Lock");
    locks.numLock = indicator(x, "Num Lock");
    return locks;
}

#else

KeyLocks readX11KeyLocks(void*) { return {}; }

#endif

KeyLocks readWindowsKeyLocks() {
    KeyLocks locks;
#ifdef Q_OS_WIN
    // The low bit is the key's toggle state.
    locks.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    locks.numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    locks.insert = (GetKeyState(VK_INSERT) & 1) != 0;
#endif
    return locks;
}

KeyLocks readKeyLocks() {
    KeyLocks locks;
#ifdef Q_OS_WIN
    // The thread's key state follows the keyboard only while Qt's Windows
    // platform takes the keyboard messages of real windows; on the offscreen
    // and minimal platforms no key reaches it and the state it keeps says
    // nothing about the keyboard.
    if (QGuiApplication::platformName() == QLatin1String("windows")) locks = readWindowsKeyLocks();
#elif defined(KORVEX_HAVE_XKB) && QT_CONFIG(xcb)
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        locks = readX11KeyLocks(x11->display());
#endif
    return locks;
}

}  // namespace korvex
