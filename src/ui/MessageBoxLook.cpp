#include "ui/MessageBoxLook.h"

namespace korvex {

using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

QMessageBox::Icon messageBoxIcon(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QList<Answer> answersOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo:
            return {Answer::Yes, Answer::No};
        case Buttons::YesNoCancel:
            return {Answer::Yes, Answer::No, Answer::Cancel};
        case Buttons::Ok:
            break;
    }
    return {Answer::Ok};
}

QString buttonText(Answer answer) {
    switch (answer) {
        case Answer::Yes:
            return QStringLiteral("是(&Y)");
        case Answer::No:
            return QStringLiteral("否(&N)");
        case Answer::Cancel:
            return QStringLiteral("取消");
        case Answer::Ok:
            break;
    }
    return QStringLiteral("確定");
}

}  // namespace korvex
