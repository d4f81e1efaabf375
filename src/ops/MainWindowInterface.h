#pragma once

#include <QString>
#include <optional>

namespace korvex {

// What the operations may do with the main window. Operations never touch
// widgets: the desktop window, the tests' scripted window and the console
// front end each implement this.
class MainWindowInterface {
public:
    enum class Icon { None, Critical, Exclamation, Information, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~MainWindowInterface() = default;

    // Disabling the window keeps the menus from starting a second operation.
    virtual void setWindowEnabled(bool enabled) = 0;
    virtual bool isWindowEnabled() const = 0;

    // The busy display. show: the message label gets the empty text and is
    // shown, the progress bar is shown with value 0, the pointer becomes the
    // hourglass. range: minimum 0, maximum `maximum`. step: the label reads
    // the counter and the bar's maximum as "000012/000345" and the bar takes
    // the counter. end: label and bar hidden, default pointer (the window's
    // enabled state is the caller's business).
    virtual void showBusy() = 0;
    virtual void setBusyRange(int maximum) = 0;
    virtual void stepBusy(int counter) = 0;
    // A step whose label also names what is being worked on: the counter
    // text, a blank and `detail` ("000012/000040 T012-王小明"). A window that
    // shows no detail shows the plain step.
    virtual void stepBusyDetail(int counter, const QString& detail) {
        (void)detail;
        stepBusy(counter);
    }
    virtual void endBusy() = 0;

    // A message box titled with the window's current caption. `defaultAnswer`
    // is the button Enter presses (for Yes/No boxes, Yes unless said).
    virtual Answer message(const QString& text, Icon icon, Buttons buttons = Buttons::Ok,
                           Answer defaultAnswer = Answer::Ok) = 0;
    // A message box that reports a failure: shown as message() shows it, and
    // known to be one whatever its icon (korvex-batch ends with status 3
    // after one; the window shows it like any other box).
    virtual void reportFailure(const QString& text, Icon icon = Icon::Critical) {
        message(text, icon);
    }
    // An input box; nothing when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = QString()) = 0;

    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    // The two items of the exam menu, rewritten by the window title logic.
    virtual void setExamMenu(const QString& importCaption, const QString& exportCaption,
                             bool enabled) = 0;

    // Lets the window repaint; called once per processed row.
    virtual void yield() = 0;
};

// The names korvex-batch's JSON lines give icons and answers ("critical",
// "yes"), and the buttons' object names are made of.
QString iconName(MainWindowInterface::Icon icon);
QString answerName(MainWindowInterface::Answer answer);

}  // namespace korvex
