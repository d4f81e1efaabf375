#include "ui/StatusPanels.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <utility>

#include "ui/KeyLocks.h"

namespace korvex {

namespace {

QLabel* addPanel(QStatusBar* bar, const char* name, const QString& text, const QString& tip) {
    auto* panel = new QLabel(text, bar);
    panel->setObjectName(QLatin1String(name));
    panel->setToolTip(tip);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    bar->addPermanentWidget(panel);
    return panel;
}

bool isKeypadDigit(int key) {
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Period;
}

bool isKeypadMovement(int key) {
    switch (key) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Insert:
        case Qt::Key_Delete:
        case Qt::Key_Clear:
            return true;
        default:
            return false;
    }
}

}  // namespace

StatusPanels::StatusPanels(QStatusBar* bar) : QObject(bar) {
    bar->setObjectName(QStringLiteral("StatusBar1"));
    m_capsPanel =
        addPanel(bar, "Caps", QStringLiteral("CAPS"), QStringLiteral("鍵盤上 Caps Lock 的狀態"));
    m_numPanel =
        addPanel(bar, "Numlock", QStringLiteral("NUM"), QStringLiteral("鍵盤上的 Num Lock 狀態"));
    m_insPanel =
        addPanel(bar, "Ins", QStringLiteral("INS"), QStringLiteral("鍵盤上的 Insert 鍵狀態"));
    m_timePanel = addPanel(bar, "Time", QString(), QStringLiteral("目前時間"));
    m_datePanel = addPanel(bar, "Date", QString(), QStringLiteral("目前日期"));
    showKeyOn(m_capsPanel, false);
    showKeyOn(m_numPanel, false);
    showKeyOn(m_insPanel, false);

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &StatusPanels::refreshClock);
    m_clock->start();
    refreshClock();

    // Polling costs one round trip to the window system; it runs only where
    // the platform tells any state.
    m_lockPoll = new QTimer(this);
    m_lockPoll->setInterval(250);
    connect(m_lockPoll, &QTimer::timeout, this, &StatusPanels::refreshLocks);
    const KeyLocks locks = readKeyLocks();
    if (locks.capsLock || locks.numLock || locks.insert) m_lockPoll->start();
    refreshLocks();
    qApp->installEventFilter(this);
}

void StatusPanels::refreshLocks() {
    const KeyLocks locks = readKeyLocks();
    const std::pair<const std::optional<bool>&, std::pair<bool*, QLabel*>> states[] = {
        {locks.capsLock, {&m_caps, m_capsPanel}},
        {locks.numLock, {&m_num, m_numPanel}},
        {locks.insert, {&m_insert, m_insPanel}},
    };
    for (const auto& [known, held] : states) {
        if (!known || *held.first == *known) continue;
        *held.first = *known;
        showKeyOn(held.second, *known);
    }
}

void StatusPanels::refreshClock() {
    const QDateTime now = QDateTime::currentDateTime();
    // Fixed formats: some locales' short formats use pattern letters that Qt
    // cannot render (Taiwan's day-period "B" would show as a literal B).
    const QString time = now.time().toString(QStringLiteral("HH:mm"));
    const QString date = now.date().toString(QStringLiteral("yyyy/MM/dd"));
    if (m_timePanel->text() != time) m_timePanel->setText(time);
    if (m_datePanel->text() != date) m_datePanel->setText(date);
}

void StatusPanels::showKeyOn(QLabel* panel, bool on) { panel->setEnabled(on); }

bool StatusPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    // A key press passes the application's filters once for every widget it
    // travels through; only its first stop, the widget with the focus (or
    // the active window when none has it), is counted.
    QWidget* first =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (watched != first) return QObject::eventFilter(watched, event);

    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z && text.size() == 1 &&
        text.at(0).isLetter()) {
        m_caps = text.at(0).isUpper() != key->modifiers().testFlag(Qt::ShiftModifier);
        showKeyOn(m_capsPanel, m_caps);
    }
    if (key->modifiers().testFlag(Qt::KeypadModifier)) {
        if (isKeypadDigit(key->key()) && !text.isEmpty()) {
            m_num = true;
            showKeyOn(m_numPanel, true);
        } else if (isKeypadMovement(key->key())) {
            m_num = false;
            showKeyOn(m_numPanel, false);
        }
    }
    if (key->key() == Qt::Key_Insert && !key->isAutoRepeat()) {
        m_insert = !m_insert;
        showKeyOn(m_insPanel, m_insert);
    }
    // What the platform tells wins over what was guessed.
    refreshLocks();
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex
