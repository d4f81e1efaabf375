#pragma once

#include <QList>
#include <QString>
#include <deque>
#include <optional>

#include "ops/MainWindowInterface.h"

class QWidget;

namespace korvex {

// Every modal message box of the program goes through here, so that the
// buttons, icons and the Esc key behave the same everywhere, and so that
// tests can answer the boxes without a user.
//
// Esc and the close box: a box with only OK answers OK; a Yes/No box ignores
// both (the user has to choose); a Yes/No/Cancel box answers Cancel.
class MessageBox {
public:
    using Icon = MainWindowInterface::Icon;
    using Buttons = MainWindowInterface::Buttons;
    using Answer = MainWindowInterface::Answer;

    struct Shown {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
        Answer defaultAnswer;
    };

    static Answer show(QWidget* parent, const QString& title, const QString& text, Icon icon,
                       Buttons buttons = Buttons::Ok, Answer defaultAnswer = Answer::Ok);

    // An input box; nothing when the user cancels.
    static std::optional<QString> input(QWidget* parent, const QString& title,
                                        const QString& prompt, const QString& defaultText);

    // While a Script object lives, no box is shown: each one is recorded and
    // answered from the queue (an OK-only box takes no answer; an empty queue
    // answers with the box's default button).
    class Script {
    public:
        Script();
        ~Script();
        Script(const Script&) = delete;
        Script& operator=(const Script&) = delete;

        void answer(Answer next) { m_answers.push_back(next); }
        // The next input box's answer; nothing cancels it. An input box with
        // no answer queued is cancelled.
        void type(std::optional<QString> next) { m_inputs.push_back(std::move(next)); }
        // Input boxes: prompt of each, in order.
        const QStringList& prompts() const { return m_prompts; }
        const QList<Shown>& shown() const { return m_shown; }
        QStringList texts() const;
        void clear() { m_shown.clear(); }

    private:
        friend class MessageBox;
        std::deque<Answer> m_answers;
        std::deque<std::optional<QString>> m_inputs;
        QStringList m_prompts;
        QList<Shown> m_shown;
        Script* m_previous;
    };

private:
    static Script* s_script;
};

}  // namespace korvex
