#include "ui/MessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <utility>

#include "ui/DialogLook.h"
#include "ui/LongMessageBox.h"
#include "ui/MessageBoxLook.h"

namespace korvex {

MessageBox::Script* MessageBox::s_script = nullptr;

namespace {

// Keeps a Yes/No box open on Esc and on the close box: Qt would otherwise
// take No for the user, and the question decides whether the program goes on.
class ChoiceRequired : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// The buttons speak the program's language whatever translations the
// machine has, as they do on a Traditional Chinese Windows.
void nameButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, MessageBox::Answer> buttons[] = {
        {QMessageBox::Ok, MessageBox::Answer::Ok},
        {QMessageBox::Yes, MessageBox::Answer::Yes},
        {QMessageBox::No, MessageBox::Answer::No},
        {QMessageBox::Cancel, MessageBox::Answer::Cancel},
    };
    for (const auto& [which, answer] : buttons)
        if (QAbstractButton* button = box.button(which)) button->setText(buttonText(answer));
}

QMessageBox::StandardButton qtButton(MessageBox::Answer answer) {
    switch (answer) {
        case MessageBox::Answer::Yes:
            return QMessageBox::Yes;
        case MessageBox::Answer::No:
            return QMessageBox::No;
        case MessageBox::Answer::Cancel:
            return QMessageBox::Cancel;
        case MessageBox::Answer::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageBox::Script::Script() : m_previous(MessageBox::s_script) { MessageBox::s_script = this; }

MessageBox::Script::~Script() { MessageBox::s_script = m_previous; }

QStringList MessageBox::Script::texts() const {
    QStringList result;
    for (const Shown& box : m_shown) result << box.text;
    return result;
}

MessageBox::Answer MessageBox::show(QWidget* parent, const QString& title, const QString& text,
                                    Icon icon, Buttons buttons, Answer defaultAnswer) {
    if (buttons == Buttons::Ok) defaultAnswer = Answer::Ok;
    if (buttons != Buttons::Ok && defaultAnswer == Answer::Ok) defaultAnswer = Answer::Yes;

    if (s_script) {
        s_script->m_shown << Shown{title, text, icon, buttons, defaultAnswer};
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (s_script->m_answers.empty()) return defaultAnswer;
        const Answer answer = s_script->m_answers.front();
        s_script->m_answers.pop_front();
        return answer;
    }

    // A text taller than half the screen (a long duplicate report) goes in
    // a scrolling box that fits the screen, so its buttons stay in reach.
    const QScreen* screen =
        parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen && LongMessageBox::needed(text, parent ? parent->font() : QApplication::font(),
                                         screen->availableGeometry()))
        return LongMessageBox(parent, title, text, icon, buttons, defaultAnswer).ask();

    QMessageBox box(messageBoxIcon(icon), title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setWindowFlag(Qt::WindowCloseButtonHint, false);
            box.installEventFilter(new ChoiceRequired(&box));
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    nameButtons(box);
    box.setDefaultButton(qtButton(defaultAnswer));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    switch (box.standardButton(clicked)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            break;
    }
    // Closed without a button (a Yes/No box cannot be): the way out that
    // changes nothing.
    switch (buttons) {
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

}  // namespace korvex

namespace korvex {

std::optional<QString> MessageBox::input(QWidget* parent, const QString& title,
                                         const QString& prompt, const QString& defaultText) {
    if (s_script) {
        s_script->m_prompts << prompt;
        if (s_script->m_inputs.empty()) return std::nullopt;
        const bool answered = s_script->m_inputs.front().has_value();
        const QString text = answered ? *s_script->m_inputs.front() : QString();
        s_script->m_inputs.pop_front();
        if (!answered) return std::nullopt;
        return text;
    }
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setInputMode(QInputDialog::TextInput);
    box.setOkButtonText(QStringLiteral("確定"));
    box.setCancelButtonText(QStringLiteral("取消"));
    box.setObjectName(QStringLiteral("InputBox"));
    makeFixedDialog(&box);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

}  // namespace korvex
