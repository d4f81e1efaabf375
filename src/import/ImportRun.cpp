#include "import/ImportRun.h"

#include "app/AppContext.h"
#include "db/Recordset.h"
#include "db/ValueRules.h"

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

QString ImportPhase::emptyText() const {
    return QStringLiteral("沒有可供匯入的") + subject + u'!';
}

QString ImportPhase::doneText() const { return subject + QStringLiteral("匯入完成!"); }

QVariant textParam(const QString& text) {
    // A null QString would be bound as NULL; the exam database gets the
    // empty text instead.
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

ImportRun::ImportRun(AppContext& context) : m_context(context) {}

MainWindowInterface& ImportRun::window() const { return *m_context.window; }

void ImportRun::begin(const QString& clearingStatement, const QString& what) {
    window().setWindowEnabled(false);
    m_context.exam.clearError();
    if (!m_context.exam.executeGuarded(clearingStatement))
        window().message(clearingFailedText(what), MainWindowInterface::Icon::Exclamation);
}

void ImportRun::fail(const QString& text) {
    window().message(text, MainWindowInterface::Icon::Critical);
    if (m_busyShown) window().endBusy();
    m_busyShown = false;
    window().setWindowEnabled(true);
    m_ended = true;
}

ImportRun::Copied ImportRun::copy(const ImportPhase& phase) {
    m_refused.clear();
    m_refusedUnlisted = 0;
    std::unique_ptr<Recordset> source =
        OpenSnapshot(m_context.school, phase.source, phase.sourceParams);
    if (!source || (phase.prepare && !phase.prepare())) {
        source.reset();
        fail(phase.failureText());
        return Copied::Failed;
    }

    MainWindowInterface& w = window();
    w.showBusy();
    m_busyShown = true;
    const int rows = source->recordCount();
    if (rows < 1) {
        w.message(phase.emptyText(), MainWindowInterface::Icon::Information);
        return Copied::NoRows;
    }

    w.setBusyRange(rows);
    source->moveFirst();
    Connection& exam = m_context.exam;
    int counter = 0;
    while (!source->eof()) {
        const std::optional<QVariantList> values = phase.rowValues(*source);
        if (!values || !exam.execute(phase.insert, *values)) {
            // The row is left out; the others go on. It is named at the end.
            exam.clearError();
            noteRefused(phase.describe ? phase.describe(*source) : firstTwoColumns(*source));
        }
        ++counter;
        w.stepBusy(counter);
        source->moveNext();
        w.yield();
    }
    return Copied::Rows;
}

void ImportRun::noteRefused(const QString& row) {
    if (m_refused.size() < kListedRefusals)
        m_refused << row;
    else
        ++m_refusedUnlisted;
}

void ImportRun::reportRefused(const ImportPhase& phase) {
    const int refused = refusedRows();
    if (refused == 0) return;
    QString text = QStringLiteral("下列 %1 筆%2無法寫入考試資料庫:\r\n").arg(refused).arg(phase.subject);
    for (const QString& row : m_refused) text += row + QStringLiteral("\r\n");
    if (m_refusedUnlisted > 0)
        text += QStringLiteral("…其餘 %1 筆未列出\r\n").arg(m_refusedUnlisted);
    text += QStringLiteral("請檢查!");
    window().message(text, MainWindowInterface::Icon::Exclamation);
}

void ImportRun::finish() {
    if (m_ended) return;
    window().setWindowEnabled(true);
    window().endBusy();
    m_busyShown = false;
    m_ended = true;
}

void runImport(AppContext& context, const QString& clearingStatement, const QString& what,
               const std::vector<ImportPhase>& phases) {
    ImportRun run(context);
    run.begin(clearingStatement, what);
    for (const ImportPhase& phase : phases) {
        const ImportRun::Copied copied = run.copy(phase);
        if (copied == ImportRun::Copied::Failed) return;
        if (copied == ImportRun::Copied::Rows) {
            run.window().message(phase.doneText(), MainWindowInterface::Icon::None);
            run.reportRefused(phase);
        }
    }
    run.finish();
}

}  // namespace korvex
