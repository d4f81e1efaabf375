#include "batch/BatchRun.h"

#include <QDir>

#include "batch/ConsoleWindow.h"
#include "menu/DamagedExamTexts.h"
#include "menu/OperationTable.h"
#include "ops/AppContext.h"
#include "ops/ExamFileCheck.h"
#include "ops/FailureReasons.h"
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

    // Nobody can be asked: the message names the newest copy and how to put
    // it back, and the program ends; only `restore --from` puts back the
    // copy it names, as the damaged file's replacement.
    std::optional<QString> replaceDamagedExam(AppContext&, const DamagedExam& damaged) override {
        const OperationEntry* entry = operationNamed(m_options.operation);
        if (entry && entry->needs == OperationNeeds::Copy && !m_options.from.isEmpty()) {
            const QString copy = QDir(m_options.from).absolutePath();
            const examFileCheck::Finding finding = examFileCheck::inspectFile(copy);
            if (finding.verdict == examFileCheck::Verdict::Usable) {
                m_keptAs = damaged.keptAs;
                return copy;
            }
            m_window.reportFailure(withReason(damagedExamMessage(damaged, true), finding.reason));
            return std::nullopt;
        }
        m_window.reportFailure(damagedExamMessage(damaged, true));
        return std::nullopt;
    }

    // Where the damaged exam.mdb was kept when the copy took its place.
    const QString& keptAs() const { return m_keptAs; }

private:
    ConsoleWindow& m_window;
    const BatchOptions& m_options;
    QString m_keptAs;
};

}  // namespace

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

    // A restore that already put its copy in place of a damaged exam.mdb
    // is done.
    if (!startup.examPutBack().isEmpty()) {
        window.message(
            QStringLiteral("考試資料庫已還原為 %1 的內容!\r\n(已損壞的考試資料庫保留為 %2)")
                .arg(QDir::toNativeSeparators(startup.examPutBack()),
                     QDir::toNativeSeparators(dialogs.keptAs())),
            MainWindowInterface::Icon::None);
        releaseConnections(context);
        return BatchDone;
    }
    window.setQuestionAnswer(options.answer);
    window.setInputAnswer(options.teachers);
    if (const OperationEntry* entry = operationNamed(options.operation)) {
        OperationInput input;
        if (!options.from.isEmpty()) input.copy = QDir(options.from).absolutePath();
        runOperation(context, *entry, input);
    }
    releaseConnections(context);
    // Whatever the operation, a run that showed an error or a warning does
    // not end like a clean one: a script can tell them apart by the status.
    return window.warned() ? BatchWarned : BatchDone;
}

}  // namespace korvex
