#pragma once

#include <QString>
#include <cstdio>

#include "ops/YieldPacer.h"
#include "startup/ShellWindow.h"

namespace korvex {

// The main window of korvex-batch: no widgets; every message box, question
// and input box is printed as one JSON object on a line and answered from
// what the command line said.
class ConsoleWindow : public ShellWindow {
public:
    explicit ConsoleWindow(std::FILE* out = stdout);

    // How Yes/No(/Cancel) questions are answered from now on (a Yes/No
    // question told to cancel answers No).
    void setQuestionAnswer(Answer answer) { m_questionAnswer = answer; }
    // What input boxes are answered (empty when not given).
    void setInputAnswer(const QString& text) { m_inputAnswer = text; }

    // Whether a box reported a failure or carried the critical or the
    // exclamation icon.
    bool warned() const { return m_warned; }

    // Prints a message box that is not the window's (the login's own boxes).
    void printMessage(const QString& title, const QString& text, Icon icon);

    void setWindowEnabled(bool enabled) override { m_enabled = enabled; }
    bool isWindowEnabled() const override { return m_enabled; }
    void showBusy() override {}
    void setBusyRange(int) override {}
    void stepBusy(int) override {}
    void endBusy() override {}
    Answer message(const QString& text, Icon icon, Buttons buttons = Buttons::Ok,
                   Answer defaultAnswer = Answer::Ok) override;
    void reportFailure(const QString& text, Icon icon = Icon::Critical) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = QString()) override;
    QString caption() const override { return m_caption; }
    void setCaption(const QString& caption) override { m_caption = caption; }
    void setExamMenu(const QString&, const QString&, bool) override {}
    void yield() override;

    void setVersionText(const QString&) override {}
    void showWindow() override {}
    void enableTopMenus() override {}

private:
    void print(const QString& line);
    void noteIcon(Icon icon);

    std::FILE* m_out;
    bool m_enabled = true;
    QString m_caption;
    Answer m_questionAnswer = Answer::No;
    QString m_inputAnswer;
    bool m_warned = false;
    YieldPacer m_yieldPacer;
};

}  // namespace korvex
