#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

namespace korvex {

// The five panels of the main window's status bar: Caps Lock, Num Lock and
// Insert state, the time and the date. A lock state the platform tells
// (readKeyLocks: all three on Windows, Caps and Num Lock on X11) is shown as
// it is, read after every key and a few times a second, so that a change
// made in another program shows too. A state it does not tell is learned
// from the keys the user presses (a letter typed in upper case without
// Shift means Caps Lock is on; a keypad digit means Num Lock is on; Insert
// toggles the insert state); until then the panel shows its key greyed, as
// when the state is off. Time and date follow the clock.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar* bar);

    bool capsLock() const { return m_caps; }
    bool numLock() const { return m_num; }
    bool insertMode() const { return m_insert; }

    // Brings the time and date panels up to date (also done every second).
    void refreshClock();
    // Shows the lock states the platform tells (also done after every key
    // and a few times a second).
    void refreshLocks();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A key's panel in full colour when its lock is on, greyed when off.
    void showKeyOn(QLabel* panel, bool on);

    QLabel* m_capsPanel;
    QLabel* m_numPanel;
    QLabel* m_insPanel;
    QLabel* m_timePanel;
    QLabel* m_datePanel;
    QTimer* m_clock;
    QTimer* m_lockPoll;
    bool m_caps = false;
    bool m_num = false;
    bool m_insert = false;
};

}  // namespace korvex
