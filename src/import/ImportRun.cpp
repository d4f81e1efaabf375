#include "import/ImportRun.h"

#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "ops/AppContext.h"
#include "ops/RowLoop.h"

namespace korvex {
namespace {

// How many refused rows are named one by one; the rest are only counted.
constexpr int kListedRefusals = 20;

QString firstTwoColumns(Recordset& row) {
    QStringList parts;
    for (int i = 0; i < row.columns().size() && i < 2; ++i)
        parts << rtrimBlanks(row.text(row.columns().at(i)));
    return parts.join(u' ');
}

// Told when the target table keeps its old rows: the new ones are added to them.
QString clearingFailedText(const QString& what) {
    return QStringLiteral("無法清除考試資料庫中原有的") + what +
           QStringLiteral(", 新匯入的資料會與原有資料並存, 請檢查!");
}

}  // namespace

QString ImportPhase::failureText() const {
    return subject + QStringLiteral("匯入失敗, 請重新執行!");
}

QString ImportPhase::emptyText() const { return QStringLiteral("沒有可供匯入的") + subject + u'!'; }

QString ImportPhase::doneText() const { return subject + QStringLiteral("匯入完成!"); }

ImportRun::ImportRun(AppContext& context) : m_frame(context) {}

void ImportRun::begin(const QString& clearingStatement, const QString& what) {
    Connection& exam = context().exam;
    exam.clearError();
    if (!exam.executeGuarded(clearingStatement))
        window().message(clearingFailedText(what), MainWindowInterface::Icon::Exclamation);
}

void ImportRun::fail(const QString& text) {
    window().message(text, MainWindowInterface::Icon::Critical);
    m_frame.endBusy();
    m_frame.finish();
}

CopyOutcome ImportRun::copy(const ImportPhase& phase) {
    m_refused.clear();
    m_refusedUnlisted = 0;
    std::unique_ptr<Recordset> source =
        m_frame.open(context().school, phase.source, phase.sourceParams);
    if (!source || (phase.prepare && !phase.prepare())) {
        source.reset();
        fail(phase.failureText());
        return CopyOutcome::Failed;
    }

    m_frame.showBusy();
    if (source->recordCount() < 1) {
        window().message(phase.emptyText(), MainWindowInterface::Icon::Information);
        return CopyOutcome::NoRows;
    }

    Connection& exam = context().exam;
    forEachRow(*source, window(), [&](Recordset& row) {
        const std::optional<QVariantList> values = phase.rowValues(row);
        if (!values || !exam.execute(phase.insert, *values)) {
            // The row is left out; the others go on. It is named at the end.
            exam.clearError();
            noteRefused(phase.describe ? phase.describe(row) : firstTwoColumns(row));
        }
    });
    return CopyOutcome::Rows;
}

void ImportRun::noteRefused(const QString& row) {
    if (m_refused.size() < kListedRefusals)
        m_refused << row;
    else
        ++m_refusedUnlisted;
}

void ImportRun::reportRefused(const ImportPhase& phase) {
    const int refused = int(m_refused.size()) + m_refusedUnlisted;
    if (refused == 0) return;
    QString text =
        QStringLiteral("下列 %1 筆%2無法寫入考試資料庫:\r\n").arg(refused).arg(phase.subject);
    for (const QString& row : m_refused) text += row + QStringLiteral("\r\n");
    if (m_refusedUnlisted > 0)
        text += QStringLiteral("…其餘 %1 筆未列出\r\n").arg(m_refusedUnlisted);
    text += QStringLiteral("請檢查!");
    window().message(text, MainWindowInterface::Icon::Exclamation);
}

void runImport(AppContext& context, const BaseDataImport& import) {
    ImportRun run(context);
    run.begin(import.clearing, import.what);
    for (const ImportPhase& phase : import.phases) {
        const CopyOutcome copied = run.copy(phase);
        if (copied == CopyOutcome::Failed) return;
        if (phase.afterCopy) {
            phase.afterCopy(run, phase, copied);
        } else if (copied == CopyOutcome::Rows) {
            run.window().message(phase.doneText(), MainWindowInterface::Icon::None);
            run.reportRefused(phase);
        }
    }
    run.finish();
}

}  // namespace korvex
