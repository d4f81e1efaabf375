#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "ops/MainWindowInterface.h"

namespace korvex::test {

// The main window as the tests see it: it keeps the state a user would see
// (enabled, label, bar, caption, exam menu), records every message box, and
// answers questions and input boxes from queues the test fills beforehand.
class ScriptedWindow : public MainWindowInterface {
public:
    struct Message {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
        Answer defaultAnswer;
        // What the busy display showed while the box was up.
        QString labelText;
        bool labelVisible;
        // Shown through reportFailure: a failure whatever its icon.
        bool failure = false;
    };

    // --- scripting
    std::deque<Answer> answers;                 // for Yes/No(/Cancel) boxes; Yes when empty
    std::deque<std::optional<QString>> inputs;  // for input boxes; cancel when empty
    // Called when an operation disables the window, as it starts.
    std::function<void()> onDisable;

    // --- what happened
    QList<Message> messages;
    QStringList events;  // "disable", "enable", "busy", "range 3", "end", "message ..."
    int yields = 0;
    int disableCount = 0;

    // --- what the user sees now
    bool enabled = true;
    bool busyVisible = false;
    bool hourglass = false;
    QString labelText;
    int barMaximum = 0;
    int barValue = 0;
    QString windowCaption = QStringLiteral("KORVEX小幫手Zamo高中版");
    QString examImportCaption = QStringLiteral("匯入");
    QString examExportCaption = QStringLiteral("匯出");
    bool examMenuEnabled = false;

    QStringList messageTexts() const;

    void setWindowEnabled(bool on) override;
    bool isWindowEnabled() const override { return enabled; }
    void showBusy() override;
    void setBusyRange(int maximum) override;
    void stepBusy(int counter) override;
    void stepBusyDetail(int counter, const QString& detail) override;
    void endBusy() override;
    Answer message(const QString& text, Icon icon, Buttons buttons, Answer defaultAnswer) override;
    void reportFailure(const QString& text, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString caption() const override { return windowCaption; }
    void setCaption(const QString& caption) override { windowCaption = caption; }
    void setExamMenu(const QString& importCaption, const QString& exportCaption, bool on) override;
    void yield() override { ++yields; }
};

}  // namespace korvex::test
