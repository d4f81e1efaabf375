#include "import/DuplicateCheck.h"

#include "app/AppContext.h"
#include "db/Recordset.h"
#include "import/ImportRun.h"

namespace korvex {

std::optional<DuplicateReport> findDuplicates(ImportRun& run, const DuplicateCheck& check) {
    std::unique_ptr<Recordset> table = OpenSnapshot(run.context().exam, check.statement);
    if (!table) {
        run.context().exam.clearError();
        return std::nullopt;
    }
    DuplicateReport result;
    result.rows = table->recordCount();
    if (result.rows < 1) return result;

    MainWindowInterface& window = run.window();
    window.setBusyRange(result.rows);
    table->moveFirst();
    QString previousKey = check.firstKey;
    QString previousEntry = check.firstEntry;
    int counter = 0;
    while (!table->eof()) {
        const QString key = table->text(check.keyColumn);
        const QString entry = check.entry(*table);
        if (key == previousKey)
            result.report += previousEntry + QStringLiteral(" 與 [") + entry + check.phrase +
                             previousKey + QStringLiteral("!\r\n");
        previousEntry = u'[' + entry + u']';
        previousKey = key;
        ++counter;
        window.stepBusy(counter);
        table->moveNext();
        window.yield();
    }
    return result;
}

void showDuplicateOutcome(ImportRun& run, const std::optional<DuplicateReport>& outcome,
                          const QString& doneText, const QString& unreadText) {
    MainWindowInterface& window = run.window();
    if (!outcome)
        window.message(unreadText, MainWindowInterface::Icon::Critical);
    else if (!outcome->report.isEmpty())
        window.message(outcome->report + QStringLiteral("請檢查!"),
                       MainWindowInterface::Icon::Critical);
    else if (outcome->rows > 0)
        window.message(doneText, MainWindowInterface::Icon::None);
}

}  // namespace korvex
