#include "import/DuplicateCheck.h"

#include "db/Recordset.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"
#include "ops/RowLoop.h"

namespace korvex {

std::optional<DuplicateReport> findDuplicates(ImportRun& run, const DuplicateCheck& check) {
    Connection& exam = run.context().exam;
    std::unique_ptr<Recordset> table = run.frame().open(exam, check.statement);
    if (!table) {
        exam.clearError();
        return std::nullopt;
    }
    DuplicateReport result;
    result.rows = table->recordCount();
    QString previousKey = check.firstKey;
    QString previousEntry = check.firstEntry;
    forEachRow(*table, run.window(), [&](Recordset& row) {
        const QString key = row.text(check.keyColumn);
        const QString entry = check.entry(row);
        if (key == previousKey)
            result.report += previousEntry + QStringLiteral(" 與 [") + entry + check.phrase +
                             previousKey + QStringLiteral("!\r\n");
        previousEntry = u'[' + entry + u']';
        previousKey = key;
    });
    return result;
}

void showDuplicateOutcome(ImportRun& run, const std::optional<DuplicateReport>& outcome,
                          const QString& doneText, const QString& unreadText) {
    if (!outcome)
        run.report(unreadText, MainWindowInterface::Icon::Critical);
    else if (!outcome->report.isEmpty())
        run.report(outcome->report + QStringLiteral("請檢查!"),
                   MainWindowInterface::Icon::Critical);
    else if (outcome->rows > 0)
        run.report(doneText, MainWindowInterface::Icon::None);
}

}  // namespace korvex
