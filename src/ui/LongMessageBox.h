#pragma once

#include <QDialog>
#include <QSize>

#include "ops/MainWindowInterface.h"

class QPlainTextEdit;
class QRect;

namespace korvex {

// A message box for a text too long for a plain one (duplicate reports,
// lists of refused rows): the same title, icon and buttons, the text in a
// scrolling area that can be selected and copied, and a size that fits the
// screen. Enter, Esc and the close box behave as in the plain box.
class LongMessageBox : public QDialog {
    Q_OBJECT
public:
    using Icon = MainWindowInterface::Icon;
    using Buttons = MainWindowInterface::Buttons;
    using Answer = MainWindowInterface::Answer;

    LongMessageBox(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons, Answer defaultAnswer);

    // Shows the box modally and returns the answer.
    Answer ask();

    // Whether `text` needs this box rather than a plain one: laid out as a
    // plain box would, it would take more than half of `available`.
    static bool needed(const QString& text, const QFont& font, const QRect& available);
    // The text area's size for a text `textHeight` pixels tall when laid out
    // `width` pixels wide, on a screen whose free area is `available`.
    static QSize areaSize(int textHeight, const QSize& available);
    // How wide the text is laid out on a screen whose free area is `available`.
    static int textWidth(const QSize& available);

    QPlainTextEdit* textArea() const { return m_text; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void answerWith(Answer answer);

    Buttons m_buttons;
    Answer m_answer;
    QPlainTextEdit* m_text;
};

}  // namespace korvex
