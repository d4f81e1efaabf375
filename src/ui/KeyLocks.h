#pragma once

#include <optional>

namespace korvex {

// The keyboard's lock states, each one only where the platform tells it.
struct KeyLocks {
    std::optional<bool> capsLock;
    std::optional<bool> numLock;
    std::optional<bool> insert;  // the Insert key's toggle state
};

// Asks the platform: Windows tells all three (GetKeyState); an X11 desktop
// the Caps Lock and Num Lock indicators (XKB); elsewhere, and on the
// offscreen and Wayland platforms, none is known.
KeyLocks readKeyLocks();

// The Caps Lock, Num Lock and Insert toggle states Windows keeps for the
// calling thread (GetKeyState), brought up to date by the keyboard messages
// the thread takes from its queue; nothing known on other systems.
KeyLocks readWindowsKeyLocks();

// The Caps Lock and Num Lock indicators of an X display (a Display*), read
// through XKB; nothing known when the server has no such indicators.
// Available when built with libX11's XKB (KORVEX_HAVE_XKB).
KeyLocks readX11KeyLocks(void* display);

}  // namespace korvex
