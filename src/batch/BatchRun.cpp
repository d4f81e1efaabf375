#include "batch/BatchRun.h"

#include <QCommandLineParser>
#include <QDir>

#include "batch/ConsoleWindow.h"
#include "menu/OperationTable.h"
#include "ops/AppContext.h"
#include "ops/ExamRestore.h"
#include "startup/LoginCheck.h"
#include "startup/Startup.h"

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
        m_window.printMessage(LoginCheck::title(), LoginCheck::message(outcome),
                              MainWindowInterface::Icon::None);
        return false;
    }

private:
    ConsoleWindow& m_window;
    const BatchOptions& m_options;
};

}  // namespace

QString batchUsage() {
    QStringList operations{QStringLiteral("startup")};
    for (const OperationEntry& entry : operationTable()) operations << entry.batchName;
    operations << QStringLiteral("restore --from FILE");
    return QStringLiteral(
               "usage: korvex-batch [--folder DIR] --user NAME --password TEXT OPERATION "
               "[--answer yes|no|cancel] [--teachers TEXT]\n"
               "OPERATION: %1\n")
        .arg(operations.join(QStringLiteral(", ")));
}

std::optional<BatchOptions> parseBatchArguments(const QStringList& arguments,
                                                const QString& defaultFolder, QString* error) {
    auto fail = [&](const QString& text) -> std::optional<BatchOptions> {
        if (error) *error = text;
        return std::nullopt;
    };
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption user(QStringLiteral("user"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption password(QStringLiteral("password"), QString(),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption answer(QStringLiteral("answer"), QString(),
                                    QStringLiteral("yes|no|cancel"));
    const QCommandLineOption teachers(QStringLiteral("teachers"), QString(),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("FILE"));
    QCommandLineParser parser;
    parser.addOptions({folder, user, password, answer, teachers, from});
    if (!parser.parse(QStringList{QStringLiteral("korvex-batch")} + arguments))
        return fail(parser.errorText());

    BatchOptions options;
    options.folder = defaultFolder;
    if (parser.isSet(folder)) {
        if (parser.value(folder).isEmpty()) return fail(QStringLiteral("--folder needs a folder"));
        options.folder = QDir(parser.value(folder)).absolutePath();
    }
    if (!parser.isSet(user)) return fail(QStringLiteral("--user is required"));
    if (!parser.isSet(password)) return fail(QStringLiteral("--password is required"));
    options.user = parser.value(user);
    options.password = parser.value(password);
    if (parser.isSet(answer)) {
        const QString value = parser.value(answer);
        if (value == QLatin1String("yes"))
            options.answer = MainWindowInterface::Answer::Yes;
        else if (value == QLatin1String("no"))
            options.answer = MainWindowInterface::Answer::No;
        else if (value == QLatin1String("cancel"))
            options.answer = MainWindowInterface::Answer::Cancel;
        else
            return fail(QStringLiteral("--answer must be yes, no or cancel"));
    }
    options.teachers = parser.value(teachers);

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) return fail(QStringLiteral("no operation given"));
    if (positional.size() > 1) return fail(QStringLiteral("only one operation may be given"));
    const QString operation = positional.first();
    const bool restore = operation == QLatin1String("restore");
    if (operation != QLatin1String("startup") && !restore && !operationNamed(operation))
        return fail(QStringLiteral("unknown operation ") + operation);
    if (restore != parser.isSet(from))
        return fail(restore ? QStringLiteral("restore needs --from FILE")
                            : QStringLiteral("--from belongs to restore"));
    options.from = parser.value(from);
    options.operation = operation;
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
        // The desktop program ends such a start-up without a box (the cause
        // goes to ASSISTANT.LOG); a script is told on standard error too.
        if (!startup.endCause().isEmpty())
            std::fprintf(stderr, "korvex-batch: %s\n", qUtf8Printable(startup.endCause()));
        releaseConnections(context);
        return BatchEnded;
    }

    window.setQuestionAnswer(options.answer);
    window.setInputAnswer(options.teachers);
    if (options.operation == QLatin1String("restore")) {
        context.operationName = options.operation;
        RestoreExamDatabase(context, QDir(options.from).absolutePath());
    } else if (const OperationEntry* entry = operationNamed(options.operation)) {
        context.operationName = entry->batchName;
        entry->run(context);
    }
    releaseConnections(context);
    return BatchDone;
}

}  // namespace korvex
