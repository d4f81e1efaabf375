#pragma once

#include <QElapsedTimer>

namespace korvex {

// When a window lets the event loop run: the operations ask once per row,
// but a turn of the event loop costs more than many a row (about 35 µs
// under Wine), so it runs only when about 10 ms have passed since the last
// time, often enough for the window to repaint and answer at every frame.
// The busy display paints its final state and every message box without
// waiting for a turn.
class YieldPacer {
public:
    static constexpr int kIntervalMs = 10;

    // Whether the event loop should run now; the first ask always says yes.
    bool due() {
        if (m_last.isValid() && m_last.elapsed() < kIntervalMs) return false;
        m_last.start();
        return true;
    }
    // The event loop has just run for another reason (a message box).
    void ran() { m_last.start(); }

private:
    QElapsedTimer m_last;
};

}  // namespace korvex
