#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QStatusBar>

#include "ui/KeyLocks.h"
#include "ui/MainWindow.h"

#ifdef KORVEX_HAVE_XKB
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

#ifdef Q_OS_WIN
#include <windows.h>

#include <cstring>
#endif

using namespace korvex;

// The offscreen platform tells no lock state: the panels keep learning them
// from the keys pressed.
TEST(KeyLocks, OffscreenTellsNothing) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "runs on the offscreen platform";
    const KeyLocks locks = readKeyLocks();
    EXPECT_FALSE(locks.capsLock.has_value());
    EXPECT_FALSE(locks.numLock.has_value());
    EXPECT_FALSE(locks.insert.has_value());
}

#ifdef Q_OS_WIN

// Windows keeps the toggle states with the thread's keyboard state: the
// three locks are read from there, a key held down without its toggle set
// counts as off.
TEST(KeyLocksWindows, ToggleStatesComeFromTheThreadsKeyboardState) {
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE state[256];
    std::memcpy(state, saved, sizeof state);
    auto set = [&](BYTE caps, BYTE num, BYTE insert) {
        state[VK_CAPITAL] = caps;
        state[VK_NUMLOCK] = num;
        state[VK_INSERT] = insert;
        ASSERT_TRUE(SetKeyboardState(state));
    };

    set(0x01, 0x00, 0x01);
    KeyLocks locks = readWindowsKeyLocks();
    EXPECT_EQ(locks.capsLock, std::optional<bool>(true));
    EXPECT_EQ(locks.numLock, std::optional<bool>(false));
    EXPECT_EQ(locks.insert, std::optional<bool>(true));
    // On the offscreen platform no key reaches the thread, so its state
    // stands for nothing the user pressed and is not shown.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        EXPECT_FALSE(readKeyLocks().capsLock.has_value());
    }

    set(0x80, 0x81, 0x00);
    locks = readWindowsKeyLocks();
    EXPECT_EQ(locks.capsLock, std::optional<bool>(false));
    EXPECT_EQ(locks.numLock, std::optional<bool>(true));
    EXPECT_EQ(locks.insert, std::optional<bool>(false));

    SetKeyboardState(saved);
}

#endif

#ifdef KORVEX_HAVE_XKB

namespace {

// Locks or unlocks the modifier `keysym` (Caps_Lock, Num_Lock) stands for,
// as pressing the key would.
void setLock(Display* display, KeySym keysym, bool on) {
    const unsigned mask = keysym == XK_Caps_Lock ? LockMask : XkbKeysymToModifiers(display, keysym);
    ASSERT_NE(mask, 0u);
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(display, False);
}

}  // namespace

// Runs on an X server (scripts/test starts one with xvfb-run): the panels
// show the server's Caps Lock and Num Lock indicators without a key typed
// in the program, as when the user presses Caps Lock in another window.
TEST(KeyLocksX11, PanelsShowTheServersIndicators) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display (QT_QPA_PLATFORM=xcb)";
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    setLock(display, XK_Caps_Lock, false);
    setLock(display, XK_Num_Lock, false);

    const KeyLocks off = readX11KeyLocks(display);
    ASSERT_TRUE(off.capsLock.has_value());
    ASSERT_TRUE(off.numLock.has_value());
    EXPECT_FALSE(*off.capsLock);
    EXPECT_FALSE(*off.numLock);
    EXPECT_FALSE(off.insert.has_value());

    MainWindow window;
    window.show();
    auto* caps = window.statusBar()->findChild<QLabel*>(QStringLiteral("Caps"));
    auto* num = window.statusBar()->findChild<QLabel*>(QStringLiteral("Numlock"));
    ASSERT_TRUE(caps && num);
    EXPECT_FALSE(caps->isEnabled());

    setLock(display, XK_Caps_Lock, true);
    EXPECT_EQ(readX11KeyLocks(display).capsLock, std::optional<bool>(true));
    EXPECT_EQ(readKeyLocks().capsLock, std::optional<bool>(true));
    QElapsedTimer wait;
    wait.start();
    while (!caps->isEnabled() && wait.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(caps->isEnabled());
    EXPECT_FALSE(num->isEnabled());

    setLock(display, XK_Num_Lock, true);
    setLock(display, XK_Caps_Lock, false);
    wait.restart();
    while ((caps->isEnabled() || !num->isEnabled()) && wait.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(caps->isEnabled());
    EXPECT_TRUE(num->isEnabled());

    setLock(display, XK_Num_Lock, false);
    XCloseDisplay(display);
}

#endif
