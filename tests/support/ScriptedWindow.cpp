#include "ScriptedWindow.h"

#include "core/ValueRules.h"

namespace korvex::test {

QStringList ScriptedWindow::messageTexts() const {
    QStringList texts;
    for (const Message& m : messages) texts << m.text;
    return texts;
}

void ScriptedWindow::setWindowEnabled(bool on) {
    if (!on) {
        ++disableCount;
        if (onDisable) onDisable();
    }
    enabled = on;
    events << (on ? QStringLiteral("enable") : QStringLiteral("disable"));
}

void ScriptedWindow::showBusy() {
    busyVisible = true;
    hourglass = true;
    labelText.clear();
    barValue = 0;
    events << QStringLiteral("busy");
}

void ScriptedWindow::setBusyRange(int maximum) {
    barMaximum = maximum;
    events << QStringLiteral("range %1").arg(maximum);
}

void ScriptedWindow::stepBusy(int counter) {
    labelText = progressText(counter, barMaximum);
    barValue = counter;
}

void ScriptedWindow::stepBusyDetail(int counter, const QString& detail) {
    labelText = progressText(counter, barMaximum) + QLatin1Char(' ') + detail;
    barValue = counter;
}

void ScriptedWindow::endBusy() {
    busyVisible = false;
    hourglass = false;
    events << QStringLiteral("end");
}

MainWindowInterface::Answer ScriptedWindow::message(const QString& text, Icon icon, Buttons buttons,
                                                    Answer defaultAnswer) {
    messages << Message{windowCaption, text, icon, buttons, defaultAnswer, labelText, busyVisible};
    events << QStringLiteral("message %1").arg(text);
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (answers.empty()) return Answer::Yes;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedWindow::reportFailure(const QString& text, Icon icon) {
    message(text, icon, Buttons::Ok, Answer::Ok);
    messages.last().failure = true;
}

std::optional<QString> ScriptedWindow::input(const QString& prompt, const QString& title,
                                             const QString&) {
    events << QStringLiteral("input %1|%2").arg(title, prompt);
    if (inputs.empty()) return std::nullopt;
    const bool answered = inputs.front().has_value();
    const QString text = answered ? *inputs.front() : QString();
    inputs.pop_front();
    if (!answered) return std::nullopt;
    return text;
}

void ScriptedWindow::setExamMenu(const QString& importCaption, const QString& exportCaption,
                                 bool on) {
    examImportCaption = importCaption;
    examExportCaption = exportCaption;
    examMenuEnabled = on;
}

}  // namespace korvex::test
