#include "batch/BatchRun.h"

#include <QDir>

#include "app/AppContext.h"
#include "app/Operations.h"
#include "app/Startup.h"
#include "batch/ConsoleWindow.h"
#include "dialogs/LoginCheck.h"
#include "dialogs/LoginDialog.h"

namespace korvex {

namespace {

// Start-up's dialogs without a screen: the settings cannot be edited (the
// connection question is answered No before it would open), and the login
// is the account given on the command line, checked as the dialog checks it.
class ConsoleDialogs : public StartupDialogs {
public:
    ConsoleDialogs(ConsoleWindow& window, const BatchOptions& options)
        : m_window(window), m_options(options) {}

    void editConnectionSettings(AppContext&) override {}

    bool login(AppContext& context) override {
        const LoginCheck check = LoginCheck::load(context.school);
        const auto outcome = check.check(m_options.user, m_options.password);
        if (outcome == LoginCheck::Outcome::Succeeded) return true;
        m_window.printMessage(LoginDialog::title(), LoginCheck::message(outcome),
                              MainWindowInterface::Icon::None);
        return false;
    }

private:
    ConsoleWindow& m_window;
    const BatchOptions& m_options;
};

}  // namespace

QString batchUsage() {
    return QStringLiteral(
        "usage: korvex-batch [--folder DIR] --user NAME --password TEXT OPERATION "
        "[--answer yes|no|cancel] [--teachers TEXT]\n"
        "OPERATION: startup, departments, classes, students, subjects, teachers, courses, "
        "roster, export, workbooks\n");
}

std::optional<BatchOptions> parseBatchArguments(const QStringList& arguments,
                                                const QString& defaultFolder, QString* error) {
    BatchOptions options;
    options.folder = defaultFolder;
    bool haveUser = false, havePassword = false;
    auto fail = [&](const QString& text) -> std::optional<BatchOptions> {
        if (error) *error = text;
        return std::nullopt;
    };
    for (int i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        QString value;
        bool inlineValue = false;
        if (argument.startsWith(QLatin1String("--")) && argument.contains(QLatin1Char('='))) {
            value = argument.mid(argument.indexOf(QLatin1Char('=')) + 1);
            argument = argument.left(argument.indexOf(QLatin1Char('=')));
            inlineValue = true;
        }
        const bool takesValue = argument == QLatin1String("--folder") ||
                                argument == QLatin1String("--user") ||
                                argument == QLatin1String("--password") ||
                                argument == QLatin1String("--answer") ||
                                argument == QLatin1String("--teachers");
        if (takesValue && !inlineValue) {
            if (i + 1 >= arguments.size()) return fail(argument + QStringLiteral(" needs a value"));
            value = arguments.at(++i);
        }
        if (argument == QLatin1String("--folder")) {
            if (value.isEmpty()) return fail(QStringLiteral("--folder needs a folder"));
            options.folder = QDir(value).absolutePath();
        } else if (argument == QLatin1String("--user")) {
            options.user = value;
            haveUser = true;
        } else if (argument == QLatin1String("--password")) {
            options.password = value;
            havePassword = true;
        } else if (argument == QLatin1String("--answer")) {
            if (value == QLatin1String("yes"))
                options.answer = MainWindowInterface::Answer::Yes;
            else if (value == QLatin1String("no"))
                options.answer = MainWindowInterface::Answer::No;
            else if (value == QLatin1String("cancel"))
                options.answer = MainWindowInterface::Answer::Cancel;
            else
                return fail(QStringLiteral("--answer must be yes, no or cancel"));
        } else if (argument == QLatin1String("--teachers")) {
            options.teachers = value;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            return fail(QStringLiteral("unknown option ") + argument);
        } else if (options.operation.isEmpty()) {
            if (argument != QLatin1String("startup") && !operationNamed(argument))
                return fail(QStringLiteral("unknown operation ") + argument);
            options.operation = argument;
        } else {
            return fail(QStringLiteral("only one operation may be given"));
        }
    }
    if (!haveUser) return fail(QStringLiteral("--user is required"));
    if (!havePassword) return fail(QStringLiteral("--password is required"));
    if (options.operation.isEmpty()) return fail(QStringLiteral("no operation given"));
    return options;
}

BatchExit runBatch(const BatchOptions& options, std::FILE* out) {
    AppContext context;
    ConsoleWindow window(out);
    ConsoleDialogs dialogs(window, options);
    // Without a screen nobody can fix the settings: a failed connection ends.
    window.setQuestionAnswer(MainWindowInterface::Answer::No);

    Startup startup(context, window, dialogs);
    if (startup.run(options.folder) == Startup::Result::Ended) {
        releaseConnections(context);
        return BatchEnded;
    }

    window.setQuestionAnswer(options.answer);
    window.setInputAnswer(options.teachers);
    if (const auto operation = operationNamed(options.operation))
        runOperation(context, *operation);
    releaseConnections(context);
    return BatchDone;
}

}  // namespace korvex
