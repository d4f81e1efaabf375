#include "ops/ExamFileCheck.h"

#include <QDir>
#include <QSqlRecord>

#include "core/KnownTables.h"
#include "db/Connection.h"
#include "db/ConnectionStrings.h"
#include "db/DatabaseFile.h"
#include "db/OdbcDrivers.h"
#include "db/Recordset.h"
#include "db/TableColumns.h"
#include "ops/FailureReasons.h"

namespace korvex::examFileCheck {
namespace {

QString shown(const QString& file) { return QDir::toNativeSeparators(file); }

}  // namespace

QStringList missingParts(Connection& exam) {
    QStringList missing;
    auto check = [&](const KnownTable& table) {
        const auto columns = tableColumns(exam, table.name);
        exam.clearError();
        if (!columns) return false;
        for (const KnownColumn& column : table.columns)
            if (!hasColumn(*columns, column.name)) missing << table.name + u'.' + column.name;
        return true;
    };
    for (const KnownTable& table : examTables())
        if (!check(table)) missing << table.name;
    bool anyRoster = false;
    for (int slot = 1; slot <= 6; ++slot) {
        const KnownTable roster = rosterTable(slot);
        const auto columns = tableColumns(exam, roster.name);
        exam.clearError();
        if (!columns) continue;
        anyRoster = true;
        check(roster);
    }
    if (!anyRoster) missing << QStringLiteral("periodical1 到 periodical6");
    return missing;
}

Finding inspectOpen(Connection& exam) {
    const QStringList missing = missingParts(exam);
    if (missing.isEmpty()) return {};
    return {Verdict::NotExamDatabase, QStringLiteral("不是電腦閱卷系統的考試資料庫, 缺少 %1")
                                          .arg(missing.join(QStringLiteral(", ")))};
}

Finding inspectFile(const QString& file) {
    switch (databaseFileKind(file)) {
        case DatabaseFileKind::Missing:
            return {Verdict::Missing, QStringLiteral("找不到檔案 %1").arg(shown(file))};
        case DatabaseFileKind::Unknown:
            return {Verdict::Damaged, QStringLiteral("%1 不是資料庫檔, 或已損壞").arg(shown(file))};
        case DatabaseFileKind::Access: {
#ifdef Q_OS_WIN
            const QString driver = chooseAccessDriver(installedOdbcDrivers());
            if (driver.isEmpty()) return {};
            Connection copy;
            if (!copy.openOdbc(accessConnectionString(file, driver) + QStringLiteral("ReadOnly=1;"),
                               SqlDialect::Access, file)) {
                const auto& error = copy.pendingError();
                return {error && error->kind == DbError::Kind::Damaged ? Verdict::Damaged
                                                                       : Verdict::Missing,
                        failureReason(copy, DatabaseRole::Exam)};
            }
            Finding finding = inspectOpen(copy);
            if (!finding.reason.isEmpty()) finding.reason = shown(file) + u' ' + finding.reason;
            return finding;
#else
            return {};
#endif
        }
        case DatabaseFileKind::Sqlite:
            break;
    }
    Connection copy;
    if (!copy.openSqlite(file, true)) {
        const auto& error = copy.pendingError();
        return {
            error && error->kind == DbError::Kind::Damaged ? Verdict::Damaged : Verdict::Missing,
            QStringLiteral("%1: %2").arg(shown(file), error ? error->text : QString())};
    }
    // A file whose header is whole may still be damaged inside.
    const auto integrity = OpenRecordset(copy, QStringLiteral("PRAGMA quick_check"));
    if (!integrity || integrity->recordCount() != 1 ||
        !integrity->findFirst(integrity->columns().value(0), QStringLiteral("ok")))
        return {Verdict::Damaged, QStringLiteral("%1 已損壞").arg(shown(file))};
    Finding finding = inspectOpen(copy);
    if (!finding.reason.isEmpty()) finding.reason = shown(file) + u' ' + finding.reason;
    return finding;
}

}  // namespace korvex::examFileCheck
