#include "import/ImportRun.h"

#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "ops/AppContext.h"
#include "ops/FailureReasons.h"
#include "ops/RowLoop.h"

namespace korvex {
namespace {

QString firstTwoColumns(Recordset& row) {
    QStringList parts;
    for (int i = 0; i < row.columns().size() && i < 2; ++i)
        parts << rtrimBlanks(row.text(row.columns().at(i)));
    return parts.join(u' ');
}

}  // namespace

QString ImportPhase::failureText() const { return what + QStringLiteral("匯入失敗, 請重新執行!"); }

QString ImportPhase::emptyText() const { return QStringLiteral("沒有可供匯入的") + what + u'!'; }

QString ImportPhase::doneText() const { return what + QStringLiteral("匯入完成!"); }

ImportRun::ImportRun(AppContext& context) : m_frame(context) {}

bool ImportRun::copy(const ImportPhase& phase, Recordset& source) {
    Connection& exam = context().exam;
    bool lost = false;
    forEachRow(source, window(), [&](Recordset& row) {
        const std::optional<QVariantList> values = phase.rowValues(row);
        const Connection::Contained written =
            values ? exam.executeContained(phase.insert, *values) : Connection::Contained::Refused;
        if (written == Connection::Contained::Lost) {
            lost = true;
            return false;
        }
        if (written == Connection::Contained::Refused) {
            // The row is left out; the others go on. It is named at the end.
            exam.clearError();
            noteRefused(phase.describe ? phase.describe(row) : firstTwoColumns(row));
        }
        return true;
    });
    return !lost;
}

void ImportRun::noteRefused(const QString& row) { m_refused.add(row); }

void ImportRun::reportRefused(const ImportPhase& phase) {
    if (m_refused.isEmpty()) return;
    report(QStringLiteral("下列 %1 筆%2無法寫入考試資料庫:\r\n%3\r\n請檢查!")
               .arg(m_refused.count())
               .arg(phase.what, m_refused.text(QStringLiteral("\r\n"), QStringLiteral("筆"))),
           MainWindowInterface::Icon::Exclamation);
}

void ImportRun::report(const QString& text, MainWindowInterface::Icon icon) {
    m_closing << Closing{text, icon};
}

void ImportRun::showClosingMessages() {
    const QString note = m_frame.backupNote();
    if (!note.isEmpty() && !m_closing.isEmpty())
        m_closing.last().text += QStringLiteral("\r\n") + note;
    for (const Closing& closing : m_closing) window().message(closing.text, closing.icon);
    m_closing.clear();
}

void runImport(AppContext& context, const BaseDataImport& import) {
    ImportRun run(context);
    OperationFrame& frame = run.frame();
    Connection& exam = context.exam;
    const QString unchanged =
        import.what + QStringLiteral("匯入失敗, 考試資料庫的資料未變更, 請重新執行!");

    // Every source is read before exam.mdb is touched: one that cannot be
    // read leaves the target table exactly as it was.
    std::vector<std::unique_ptr<Recordset>> sources;
    for (const ImportPhase& phase : import.phases) {
        std::unique_ptr<Recordset> source =
            frame.open(context.school, phase.source, phase.sourceParams);
        if (!source || (phase.prepare && !phase.prepare())) {
            frame.abandon(context.school, DatabaseRole::School, phase.failureText());
            return;
        }
        sources.push_back(std::move(source));
    }

    if (!frame.holdExamAlone(unchanged)) return;
    if (!frame.beginWrite(exam, DatabaseRole::Exam, unchanged)) return;
    if (!exam.execute(import.clearing)) {
        frame.abandon(exam, DatabaseRole::Exam,
                      QStringLiteral("無法清除考試資料庫中原有的") + import.what +
                          QStringLiteral(", 沒有寫入任何資料, 請重新執行!"));
        return;
    }

    for (size_t i = 0; i < import.phases.size(); ++i) {
        const ImportPhase& phase = import.phases[i];
        Recordset& source = *sources[i];
        run.m_refused = ListedItems();
        frame.showBusy();
        CopyOutcome copied = CopyOutcome::NoRows;
        if (source.recordCount() < 1) {
            run.report(phase.emptyText(), MainWindowInterface::Icon::Information);
        } else {
            if (!run.copy(phase, source)) {
                frame.abandon(exam, DatabaseRole::Exam, unchanged);
                return;
            }
            copied = CopyOutcome::Rows;
        }
        if (phase.afterCopy) {
            phase.afterCopy(run, phase, copied);
        } else if (copied == CopyOutcome::Rows) {
            run.report(phase.doneText(), MainWindowInterface::Icon::None);
            run.reportRefused(phase);
        }
    }

    if (!frame.commitWrite(exam, DatabaseRole::Exam, unchanged)) return;
    run.showClosingMessages();
}

}  // namespace korvex
