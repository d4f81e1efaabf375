#include "check/ExamChecks.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

#include "check/CheckReport.h"
#include "check/CheckTiming.h"
#include "check/TableChecks.h"
#include "core/KnownTables.h"
#include "db/JetLockFile.h"
#include "db/TableIndexes.h"
#include "exam/CourseQueries.h"
#include "ops/AppContext.h"
#include "ops/ExamBackups.h"
#include "startup/StudentColumns.h"

namespace korvex {
namespace {

constexpr DatabaseRole kExam = DatabaseRole::Exam;

bool tableReadable(Connection& exam, const QString& table) {
    auto query = exam.select(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table), {});
    exam.clearError();
    return query.has_value();
}

// The roster tables of the six slots that exist.
std::vector<KnownTable> rosterTables(Connection& exam) {
    std::vector<KnownTable> rosters;
    for (int slot = 1; slot <= 6; ++slot) {
        KnownTable roster = rosterTable(slot);
        if (tableReadable(exam, roster.name)) rosters.push_back(roster);
    }
    return rosters;
}

void checkIndexes(Connection& exam, const std::vector<KnownTable>& rosters, CheckReport& report) {
    QStringList without;
    for (const KnownTable& roster : rosters) {
        const auto indexes = tableIndexes(exam, roster.name);
        if (!indexes) {
            report.warn(QStringLiteral("無法得知 %1 的索引: %2")
                            .arg(roster.name, failureReason(exam, kExam)));
            exam.clearError();
            return;
        }
        if (!hasIndexOn(*indexes, {QStringLiteral("sid"), QStringLiteral("sub")}))
            without << roster.name;
    }
    if (without.isEmpty())
        report.pass(QStringLiteral("考試資料表都有學生與科目 (sid, sub) 的索引"));
    else
        report.warn(QStringLiteral("%1 沒有學生與科目 (sid, sub) 的索引: 考試資料匯入與匯出會較慢")
                        .arg(without.join(QStringLiteral(", "))));
}

void checkIntegrity(Connection& exam, const std::vector<KnownTable>& rosters, CheckReport& report,
                    CheckTiming& timing) {
    if (exam.dialect() == SqlDialect::Sqlite) {
        auto result = exam.select(QStringLiteral("PRAGMA integrity_check"), {});
        QStringList problems;
        while (result && result->next()) problems << result->value(0).toString();
        if (!result) {
            report.fail(QStringLiteral("無法檢查完整性: %1").arg(failureReason(exam, kExam)));
            exam.clearError();
        } else if (problems == QStringList{QStringLiteral("ok")}) {
            report.pass(QStringLiteral("完整性檢查 (integrity_check) 沒有發現問題"));
        } else {
            report.fail(QStringLiteral("完整性檢查發現問題: %1")
                            .arg(problems.mid(0, 3).join(QStringLiteral("; "))));
        }
        return;
    }
    // Jet has no check of its own that a driver can run: every table the
    // program uses is read through, which fails on a damaged page.
    std::vector<KnownTable> tables = examTables();
    tables.insert(tables.end(), rosters.begin(), rosters.end());
    for (const KnownTable& table : tables) {
        const bool read = timed(timing.examReads, [&] {
            auto rows = exam.select(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name), {});
            return rows && rows->next();
        });
        if (!read) {
            report.fail(QStringLiteral("資料表 %1 無法完整讀取: %2")
                            .arg(table.name, failureReason(exam, kExam)));
            exam.clearError();
            return;
        }
    }
    report.pass(QStringLiteral("每個資料表都能完整讀取"));
}

void checkBackups(const QString& examFile, CheckReport& report) {
    const QList<examBackups::Copy> copies = examBackups::list(examFile);
    const QString folder = QDir::toNativeSeparators(examBackups::folderFor(examFile));
    if (copies.isEmpty()) {
        report.warn(QStringLiteral("%1 中沒有考試資料庫的備份: 第一次匯入時會建立").arg(folder));
        return;
    }
    const examBackups::Copy& newest = copies.front();
    report.pass(QStringLiteral("%1 中有 %2 份備份, 最新的是 %3 (%4)")
                    .arg(folder)
                    .arg(copies.size())
                    .arg(newest.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                         QFileInfo(newest.path).fileName()));
}

}  // namespace

ExamHeldAlone::ExamHeldAlone(AppContext& context) : m_context(context) {
    Connection& exam = context.exam;
    if (exam.access() == Connection::Access::Exclusive) {
        m_held = true;
        return;
    }
    m_taken = true;
    m_held = exam.reopen(Connection::Access::Exclusive);
    if (m_held) return;
    const auto& error = exam.pendingError();
    m_why = error && error->kind == DbError::Kind::Busy
                ? examInUseReason(jetLockHolders(exam.lastFile()))
                : failureReason(exam, kExam);
    exam.clearError();
    // The shared connection the program works with comes back at once.
    QString ignored;
    share(&ignored);
}

ExamHeldAlone::~ExamHeldAlone() {
    QString ignored;
    share(&ignored);
}

bool ExamHeldAlone::share(QString* why) {
    if (!m_taken) return true;
    m_taken = false;
    Connection& exam = m_context.exam;
    if (exam.reopen(Connection::Access::Shared)) return true;
    *why = failureReason(exam, kExam);
    exam.clearError();
    return false;
}

void checkExam(AppContext& context, const ExamHeldAlone& alone, CheckReport& report,
               CheckTiming& timing) {
    report.section(QStringLiteral("考試資料庫 exam.mdb"));
    Connection& exam = context.exam;
    const QFileInfo file(exam.lastFile());
    if (!exam.isOpen()) {
        report.fail(QStringLiteral("%1 未開啟").arg(QDir::toNativeSeparators(file.filePath())));
        return;
    }
    const QString size =
        QLocale(QLocale::English).toString(double(file.size()) / (1024.0 * 1024.0), 'f', 1);
    report.pass(QStringLiteral("%1: %2, %3 MB")
                    .arg(QDir::toNativeSeparators(file.filePath()),
                         exam.dialect() == SqlDialect::Access
                             ? QStringLiteral("Access 資料庫 (Jet/ACE)")
                             : QStringLiteral("SQLite 檔 (代替 Access 的測試資料庫)"),
                         size));
    checkKnownTables(exam, kExam, examTables(), report);
    // The contact columns the student import fills are the program's own,
    // added to `name` at start-up.
    KnownTable own{QStringLiteral("name"), {}};
    for (const StudentColumn& column : studentColumns()) own.columns.push_back({column.name});
    {
        auto query = exam.select(QStringLiteral("SELECT * FROM name WHERE 1=0"), {});
        QStringList missing;
        for (const KnownColumn& column : own.columns)
            if (!query || query->record().indexOf(column.name) < 0) missing << column.name;
        exam.clearError();
        if (missing.isEmpty())
            report.pass(QStringLiteral("本程式在 name 加入的欄位都在"));
        else
            report.fail(QStringLiteral("name 沒有本程式的欄位 %1 (開啟程式時應已加入)")
                            .arg(missing.join(QStringLiteral(", "))));
    }
    const std::vector<KnownTable> rosters = rosterTables(exam);
    if (rosters.empty())
        report.fail(QStringLiteral("沒有任何考試資料表 (periodical1 到 periodical6)"));
    else
        checkKnownTables(exam, kExam, rosters, report);
    if (!rosters.empty()) checkIndexes(exam, rosters, report);

    if (alone.held())
        report.pass(QStringLiteral("現在可以由本程式單獨開啟 (匯入與還原需要)"));
    else
        report.warn(
            QStringLiteral("現在無法由本程式單獨開啟, 匯入與還原會被拒絕: %1").arg(alone.why()));

    for (int i = 0; i < 20; ++i) {
        const bool read = timed(timing.examReads, [&] {
            auto rows = exam.select(QStringLiteral("SELECT COUNT(*) FROM dep"), {});
            return rows && rows->next();
        });
        if (!read) {
            exam.clearError();
            break;
        }
    }
    checkIntegrity(exam, rosters, report, timing);
    checkBackups(file.filePath(), report);
}

}  // namespace korvex
