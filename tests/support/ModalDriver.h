#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace korvex::test {

// Acts as the user on modal dialogs while the code under test waits in
// exec(): each expected dialog, found by its objectName once it is the
// active modal widget, is handed to its action (which fills it in and
// presses a button). A modal dialog that was not expected is recorded and
// rejected, so a test never hangs.
class ModalDriver : public QObject {
public:
    using Action = std::function<void(QWidget*)>;

    ModalDriver();
    ~ModalDriver() override;

    void expect(const QString& objectName, Action action);

    QStringList handled;     // object names of the dialogs acted on, in order
    QStringList unexpected;  // object names of dialogs nobody expected
    int pending() const { return int(m_steps.size()); }

private:
    void poll();

    struct Step {
        QString name;
        Action action;
    };
    std::deque<Step> m_steps;
    QTimer m_timer;
};

// Helpers for actions.
void setText(QWidget* dialog, const QString& lineEditName, const QString& text);
void click(QWidget* dialog, const QString& buttonName);

}  // namespace korvex::test
