#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

namespace korvex {

// The five panels of the main window's status bar: Caps Lock, Num Lock and
// Insert state, the time and the date. Qt cannot ask the keyboard for its
// lock states, so they are learned from the keys the user presses (a letter
// typed in upper case without Shift means Caps Lock is on; a keypad digit
// means Num Lock is on; Insert toggles the insert state); until then a
// panel shows its key greyed, as when the state is off. Time and date follow
// the clock.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar* bar);

    bool capsLock() const { return m_caps; }
    bool numLock() const { return m_num; }
    bool insertMode() const { return m_insert; }

    // Brings the time and date panels up to date (also done every second).
    void refreshClock();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QLabel* panel, bool on);

    QLabel* m_capsPanel;
    QLabel* m_numPanel;
    QLabel* m_insPanel;
    QLabel* m_timePanel;
    QLabel* m_datePanel;
    QTimer* m_clock;
    bool m_caps = false;
    bool m_num = false;
    bool m_insert = false;
};

}  // namespace korvex
