#include "batch/ConsoleWindow.h"

#include <QCoreApplication>

#include "batch/JsonLine.h"
#include "core/AppInfo.h"

namespace korvex {

ConsoleWindow::ConsoleWindow(std::FILE* out) : m_out(out), m_caption(appTitle()) {}

void ConsoleWindow::print(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

void ConsoleWindow::noteIcon(Icon icon) {
    if (icon == Icon::Critical || icon == Icon::Exclamation) m_warned = true;
}

void ConsoleWindow::printMessage(const QString& title, const QString& text, Icon icon) {
    noteIcon(icon);
    print(jsonLine({{QStringLiteral("kind"), QStringLiteral("message")},
                    {QStringLiteral("icon"), iconName(icon)},
                    {QStringLiteral("title"), title},
                    {QStringLiteral("text"), text}}));
}

MainWindowInterface::Answer ConsoleWindow::message(const QString& text, Icon icon, Buttons buttons,
                                                   Answer) {
    if (buttons == Buttons::Ok) {
        printMessage(m_caption, text, icon);
        return Answer::Ok;
    }
    noteIcon(icon);
    Answer answer = m_questionAnswer;
    if (buttons == Buttons::YesNo && answer == Answer::Cancel) answer = Answer::No;
    print(jsonLine({{QStringLiteral("kind"), QStringLiteral("question")},
                    {QStringLiteral("icon"), iconName(icon)},
                    {QStringLiteral("title"), m_caption},
                    {QStringLiteral("text"), text},
                    {QStringLiteral("answer"), answerName(answer)}}));
    return answer;
}

void ConsoleWindow::reportFailure(const QString& text, Icon icon) {
    m_warned = true;
    message(text, icon);
}

std::optional<QString> ConsoleWindow::input(const QString& prompt, const QString& title,
                                            const QString&) {
    print(jsonLine({{QStringLiteral("kind"), QStringLiteral("input")},
                    {QStringLiteral("icon"), QStringLiteral("none")},
                    {QStringLiteral("title"), title},
                    {QStringLiteral("text"), prompt},
                    {QStringLiteral("answer"), m_inputAnswer}}));
    return m_inputAnswer;
}

void ConsoleWindow::yield() {
    if (QCoreApplication::instance() && m_yieldPacer.due()) QCoreApplication::processEvents();
}

}  // namespace korvex
