#include "check/DryRun.h"

#include <QLocale>
#include <QSqlQuery>
#include <QVariant>

#include "check/CheckReport.h"
#include "check/CheckTiming.h"
#include "check/ExamChecks.h"
#include "core/ExamSlot.h"
#include "db/BatchedUpdate.h"
#include "db/Recordset.h"
#include "exam/CourseQueries.h"
#include "exam/ExamStatements.h"
#include "import/BaseDataImports.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"

namespace korvex {
namespace {

constexpr DatabaseRole kSchool = DatabaseRole::School;
constexpr DatabaseRole kExam = DatabaseRole::Exam;

// Names used by the dry run's lines and the forecast.
const QString kRoster = QStringLiteral("考試資料匯入");
const QString kExport = QStringLiteral("考試資料匯出");
const QString kWorkbooks = QStringLiteral("產生教師登錄成績Excel檔");

QString number(long long n) { return QLocale(QLocale::English).toString(n); }

// What a rolled-back try came to: the first failure's reason (empty when
// none), and whether it was another program holding the database, which
// goes away by itself and is no fault of this PC.
struct Tried {
    QString why;
    bool busy = false;
    bool isEmpty() const { return why.isEmpty(); }
};

// Runs `statements` inside a transaction on `connection` that is rolled
// back whatever they did.
template <typename Statements>
Tried rolledBack(Connection& connection, DatabaseRole role, Statements&& statements) {
    auto failed = [&] {
        Tried tried{failureReason(connection, role),
                    connection.pendingError() && connection.pendingError()->retryable()};
        return tried;
    };
    if (!connection.beginTransaction()) {
        Tried tried = failed();
        connection.clearError();
        return tried;
    }
    const bool done = statements();
    Tried tried = done ? Tried{} : failed();
    connection.rollbackTransaction();
    connection.clearError();
    return tried;
}

// A failed try as a line: a failure, or a warning while another program
// holds the database.
void reportTried(CheckReport& report, const Tried& tried, const QString& text) {
    if (tried.busy)
        report.warn(text);
    else
        report.fail(text);
}

struct NamedImport {
    QString name;
    BaseDataImport (*declaration)(AppContext&);
};

// One base-data import: every source read, then on exam.mdb its clearing
// and, for each source, its insert with the source's first row.
OperationRows rehearseImport(AppContext& context, const NamedImport& named,
                             const ExamHeldAlone& alone, CheckReport& report, CheckTiming& timing) {
    const BaseDataImport import = named.declaration(context);
    OperationRows rows{named.name, 0, int(import.phases.size()), 2};
    std::vector<QVariantList> firstRows;
    for (const ImportPhase& phase : import.phases) {
        std::unique_ptr<Recordset> source = timed(timing.schoolReads, [&] {
            return OpenRecordset(context.school, phase.source, phase.sourceParams);
        });
        if (!source || (phase.prepare && !phase.prepare())) {
            report.fail(QStringLiteral("%1: 無法讀取%2: %3")
                            .arg(named.name, phase.what, failureReason(context.school, kSchool)));
            context.school.clearError();
            return rows;
        }
        rows.rows += source->recordCount();
        if (phase.prepare) ++rows.schoolStatements;
        if (source->recordCount() > 0)
            if (auto values = phase.rowValues(*source)) firstRows.push_back(*values);
    }
    if (!alone.held()) {
        report.warn(QStringLiteral("%1: 讀取 %2 筆; 未試寫 exam.mdb (無法單獨開啟)")
                        .arg(named.name, number(rows.rows)));
        return rows;
    }
    Connection& exam = context.exam;
    const Tried why = rolledBack(exam, kExam, [&] {
        // A clearing touches the whole table once: it is not what a row costs.
        if (!exam.execute(import.clearing)) return false;
        for (std::size_t i = 0; i < firstRows.size(); ++i) {
            const ImportPhase& phase = import.phases[i];
            if (!timed(timing.examWrites, [&] { return exam.execute(phase.insert, firstRows[i]); }))
                return false;
        }
        return true;
    });
    if (why.isEmpty())
        report.pass(QStringLiteral("%1: 讀取 %2 筆, 清除與寫入一筆都可以 (已復原)")
                        .arg(named.name, number(rows.rows)));
    else
        reportTried(report, why,
                    QStringLiteral("%1: 無法寫入 exam.mdb: %2").arg(named.name, why.why));
    return rows;
}

// The roster's first row as its update and insert take it.
std::optional<QVariantList> firstRosterRow(Connection& exam, int slot) {
    auto query =
        exam.select(QStringLiteral("select sid,class,seat,examno,namec,sub,tchno,gro from ") +
                        rosterTableName(slot),
                    {});
    if (!query || !query->next()) {
        exam.clearError();
        return std::nullopt;
    }
    QVariantList values;
    for (int i = 0; i < 8; ++i) values << query->value(i);
    return values;
}

OperationRows rehearseRoster(AppContext& context, int slot, const ExamHeldAlone& alone,
                             CheckReport& report, CheckTiming& timing) {
    OperationRows rows{kRoster, 0, 1, 4};
    const BoundQuery source = rosterSourceQuery(slot, context.settings);
    std::unique_ptr<Recordset> read = timed(timing.schoolReads, [&] {
        return OpenRecordset(context.school, source.sql, source.params);
    });
    if (!read) {
        report.fail(QStringLiteral("%1: 無法讀取考試科目資料: %2")
                        .arg(kRoster, failureReason(context.school, kSchool)));
        context.school.clearError();
        return rows;
    }
    rows.rows = read->recordCount();
    if (!alone.held()) {
        report.warn(QStringLiteral("%1: 讀取 %2 筆; 未試寫 exam.mdb (無法單獨開啟)")
                        .arg(kRoster, number(rows.rows)));
        return rows;
    }
    Connection& exam = context.exam;
    const std::optional<QVariantList> first = firstRosterRow(exam, slot);
    // Only the statements of one row are timed: the others touch the whole
    // table once per run, not once per row.
    auto write = [&](const QString& sql, const QVariantList& params = {}) {
        return exam.execute(sql, params);
    };
    auto writeRow = [&](const QString& sql, const QVariantList& params) {
        return timed(timing.examWrites, [&] { return exam.execute(sql, params); });
    };
    const Tried why = rolledBack(exam, kExam, [&] {
        if (!write(rosterMarkUnconfirmed(slot))) return false;
        if (first) {
            const QVariantList& v = *first;
            if (!writeRow(rosterUpdate(slot), {v[1], v[2], v[3], v[4], v[6], v[7], v[0], v[5]}))
                return false;
        }
        if (!write(rosterStaleDeletion(slot)) || !write(rosterClearing(slot))) return false;
        if (first) {
            const QVariantList& v = *first;
            if (!writeRow(rosterInsert(slot), {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]}))
                return false;
        }
        return true;
    });
    if (!why.isEmpty())
        reportTried(
            report, why,
            QStringLiteral("%1: 無法寫入 %2: %3").arg(kRoster, rosterTableName(slot), why.why));
    else if (first)
        report.pass(
            QStringLiteral("%1: 讀取 %2 筆, %3 的標記, 更新, 刪除, 清除與寫入一筆都可以 (已復原)")
                .arg(kRoster, number(rows.rows), rosterTableName(slot)));
    else
        report.pass(
            QStringLiteral(
                "%1: 讀取 %2 筆, %3 的標記, 刪除與清除都可以 (已復原; 表中沒有資料, 未試寫入一筆)")
                .arg(kRoster, number(rows.rows), rosterTableName(slot)));
    return rows;
}

OperationRows rehearseExport(AppContext& context, int slot, CheckReport& report,
                             CheckTiming& timing) {
    OperationRows rows{kExport, 0, 2, 1};
    const BoundQuery keys = scoreKeysQuery(context.settings);
    std::unique_ptr<Recordset> read = timed(
        timing.schoolReads, [&] { return OpenRecordset(context.school, keys.sql, keys.params); });
    if (!read) {
        report.fail(QStringLiteral("%1: 無法讀取 sbscore: %2")
                        .arg(kExport, failureReason(context.school, kSchool)));
        context.school.clearError();
        return rows;
    }
    const int keyRows = read->recordCount();
    // What one export sends at most: every roster row, once graded.
    {
        auto roster = context.exam.select(
            QStringLiteral("select count(*) from ") + rosterTableName(slot), {});
        rows.rows = roster && roster->next() ? roster->value(0).toInt() : keyRows;
        context.exam.clearError();
    }
    // The school's update was tried with the account's rights; exam.mdb's
    // flag of one exported row is tried here. It needs no file to itself.
    Connection& exam = context.exam;
    auto row =
        exam.select(QStringLiteral("select sid,sub,score2,abs from ") + rosterTableName(slot), {});
    if (!row || !row->next()) {
        exam.clearError();
        report.pass(QStringLiteral("%1: 讀取 %2 筆成績鍵值 (%3 中沒有資料, 未試標記)")
                        .arg(kExport, number(keyRows), rosterTableName(slot)));
        return rows;
    }
    QVariantList params{row->value(0), row->value(1)};
    const QVariant score2 = row->value(2);
    const QVariant abs = row->value(3);
    row.reset();
    for (const QVariant& value : {score2, abs})
        if (!value.isNull()) params << value;
    const Tried why = rolledBack(exam, kExam, [&] {
        return timed(timing.examWrites, [&] {
            return exam.execute(exportedRowFlag(slot, score2.isNull(), abs.isNull()), params);
        });
    });
    if (why.isEmpty())
        report.pass(QStringLiteral("%1: 讀取 %2 筆成績鍵值, %3 的匯出標記可以寫入 (已復原)")
                        .arg(kExport, number(keyRows), rosterTableName(slot)));
    else
        reportTried(report, why, QStringLiteral("%1: 無法寫入匯出標記: %2").arg(kExport, why.why));
    return rows;
}

OperationRows rehearseWorkbooks(AppContext& context, CheckReport& report, CheckTiming& timing) {
    OperationRows rows{kWorkbooks, 0, 2, 0};
    const BoundQuery courses = courseQuery(QStringLiteral("All"));
    const BoundQuery students = courseStudentsQuery(QStringLiteral("All"), context.settings.year,
                                                    context.settings.semester);
    for (const BoundQuery& query : {courses, students}) {
        std::unique_ptr<Recordset> read = timed(timing.schoolReads, [&] {
            return OpenRecordset(context.school, query.sql, query.params);
        });
        if (!read) {
            report.fail(QStringLiteral("%1: 無法讀取課程資料: %2")
                            .arg(kWorkbooks, failureReason(context.school, kSchool)));
            context.school.clearError();
            return rows;
        }
        if (rows.rows == 0) rows.rows = read->recordCount();
    }
    report.pass(QStringLiteral("%1: 讀取全部教師的 %2 個課程與其學生都可以")
                    .arg(kWorkbooks, number(rows.rows)));
    return rows;
}

QString seconds(double s) {
    if (s < 1) return QStringLiteral("不到 1 秒");
    if (s < 120) return QStringLiteral("約 %1 秒").arg(qRound(s));
    return QStringLiteral("約 %1 分鐘").arg(qRound(s / 60));
}

}  // namespace

std::vector<OperationRows> dryRun(AppContext& context, const ExamHeldAlone& alone,
                                  CheckReport& report, CheckTiming& timing) {
    report.section(QStringLiteral("試執行 (每種敘述一筆, 都已復原)"));
    std::vector<OperationRows> operations;
    if (!context.schoolConnected || !context.exam.isOpen()) {
        report.fail(QStringLiteral("兩個資料庫都開啟後才能試執行"));
        return operations;
    }
    const NamedImport imports[] = {
        {QStringLiteral("科別類組資料匯入"), departmentsAndGroupsImport},
        {QStringLiteral("班級資料匯入"), classesImport},
        {QStringLiteral("學生資料匯入"), studentsImport},
        {QStringLiteral("科目資料匯入"), subjectsImport},
        {QStringLiteral("教師資料匯入"), teachersImport},
        {QStringLiteral("考試科目資料匯入"), examCoursesImport},
    };
    for (const NamedImport& import : imports)
        operations.push_back(rehearseImport(context, import, alone, report, timing));
    operations.push_back(rehearseWorkbooks(context, report, timing));
    const std::optional<int> slot = examSlot(context.settings.examNo);
    if (!slot) {
        report.warn(QStringLiteral("參數設定的考試次別 %1 不是 1 到 6: 未試考試資料匯入及匯出")
                        .arg(context.settings.examNo));
        return operations;
    }
    operations.push_back(rehearseRoster(context, *slot, alone, report, timing));
    operations.push_back(rehearseExport(context, *slot, report, timing));
    return operations;
}

StatementCount statementsFor(const QString& operation, long long rows, int schoolFixed,
                             int examFixed, bool examIsAccess) {
    auto chunks = [](long long n, long long per) { return (n + per - 1) / per; };
    if (operation == kExport) {
        // A statement per 500 scores to the school; exam.mdb's flags go row
        // by row on Jet, through one table per 5,000 rows on SQLite.
        const long long flags = examIsAccess ? rows : 4 * chunks(rows, 5000);
        return {schoolFixed + chunks(rows, BatchedUpdate::kRowsPerStatement),
                examFixed + flags + chunks(rows, 5000)};
    }
    if (operation == kWorkbooks) return {schoolFixed, 0};
    return {schoolFixed, examFixed + rows};
}

void forecast(const std::vector<OperationRows>& operations, bool examIsAccess,
              const CheckTiming& timing, CheckReport& report) {
    report.section(QStringLiteral("預估時間 (依本校筆數與測得的每個敘述時間)"));
    const double school = timing.schoolStatement();
    const double exam = timing.examStatement();
    report.pass(QStringLiteral("每個敘述: 校務行政資料庫 %1 ms, exam.mdb %2 ms")
                    .arg(school, 0, 'f', 2)
                    .arg(exam, 0, 'f', 2));
    for (const OperationRows& operation : operations) {
        const StatementCount count =
            statementsFor(operation.operation, operation.rows, operation.schoolStatements,
                          operation.examStatementsFixed, examIsAccess);
        const double total = (double(count.school) * school + double(count.exam) * exam) / 1000.0;
        const QString text = QStringLiteral("%1: %2 筆, 校務 %3 個敘述, exam.mdb %4 個敘述, %5")
                                 .arg(operation.operation, number(operation.rows),
                                      number(count.school), number(count.exam), seconds(total));
        if (total > 300)
            report.warn(text + QStringLiteral(" (較久, 請在空檔執行)"));
        else
            report.pass(text);
    }
}

}  // namespace korvex
