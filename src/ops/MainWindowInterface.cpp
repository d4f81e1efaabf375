#include "ops/MainWindowInterface.h"

namespace korvex {

QString iconName(MainWindowInterface::Icon icon) {
    using Icon = MainWindowInterface::Icon;
    switch (icon) {
        case Icon::Critical:
            return QStringLiteral("critical");
        case Icon::Information:
            return QStringLiteral("information");
        case Icon::Exclamation:
            return QStringLiteral("exclamation");
        case Icon::Question:
            return QStringLiteral("question");
        case Icon::None:
            break;
    }
    return QStringLiteral("none");
}

QString answerName(MainWindowInterface::Answer answer) {
    using Answer = MainWindowInterface::Answer;
    switch (answer) {
        case Answer::Yes:
            return QStringLiteral("yes");
        case Answer::No:
            return QStringLiteral("no");
        case Answer::Cancel:
            return QStringLiteral("cancel");
        case Answer::Ok:
            break;
    }
    return QStringLiteral("ok");
}

}  // namespace korvex
