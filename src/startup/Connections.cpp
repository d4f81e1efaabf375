// Opening the two connections of start-up: the school database and the
// grading program's exam.mdb.
#include <QDir>
#include <QFileInfo>
#include <utility>

#include "core/ProgramFolder.h"
#include "db/ConnectionStrings.h"
#include "db/DatabaseFile.h"
#include "db/OdbcDrivers.h"
#include "ops/AppContext.h"
#include "startup/StartupSteps.h"

namespace korvex {

QString SchoolConnectionString(const Settings& settings) {
#ifdef Q_OS_WIN
    // The best SQL Server driver this PC has.
    return sqlServerConnectionString(
        {settings.server, settings.databaseName, settings.user, settings.password},
        chooseSqlServerDriver(installedOdbcDrivers()));
#else
    // FreeTDS speaks TDS 7.4 (SQL Server 2012 and later understand it) and
    // hands text over as UTF-8, so Chinese names arrive intact.
    return QStringLiteral("Driver=%1;Server=%2;Database=%3;UID=%4;PWD=%5;")
               .arg(odbcQuoted(QStringLiteral("FreeTDS")), freeTdsQuoted(settings.server),
                    freeTdsQuoted(settings.databaseName), freeTdsQuoted(settings.user),
                    freeTdsQuoted(settings.password)) +
           QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
#endif
}

bool openSchoolConnection(AppContext& context) {
    Connection& school = context.school;
    school.close();
    school.setCommandTimeout(15);
    if (context.settings.server.compare(QStringLiteral("sqlite"), Qt::CaseInsensitive) == 0) {
        // A relative name lies in the program folder; an absolute one stands.
        return school.openSqlite(context.filePath(context.settings.databaseName));
    }
#ifndef Q_OS_WIN
    // FreeTDS would cut such a value short and log in with the wrong one.
    const Settings& s = context.settings;
    const std::pair<QString, QString> values[] = {{QStringLiteral("伺服器"), s.server},
                                                  {QStringLiteral("資料庫"), s.databaseName},
                                                  {QStringLiteral("使用者帳號"), s.user},
                                                  {QStringLiteral("密碼"), s.password}};
    for (const auto& [what, value] : values)
        if (value.contains(QStringLiteral("};"))) {
            school.raise({QStringLiteral("%1含有 \"};\", 無法用來連結校務行政資料庫").arg(what)});
            return false;
        }
#endif
    const QString connection = SchoolConnectionString(context.settings);
    if (school.openOdbc(connection, SqlDialect::SqlServer)) return true;
    // The log of a failed start-up names the driver, the first thing to check.
    DbError error = school.pendingError().value_or(DbError{});
    error.text += QStringLiteral(" (ODBC 驅動程式: %1)").arg(odbcDriverOf(connection));
    school.raise(error);
    return false;
}

QString findExamDatabase(const QString& appPath) {
    const QString path = programFile(appPath, QStringLiteral("exam.mdb"));
    return QFileInfo(path).isFile() ? path : QString();
}

bool openExamConnection(AppContext& context) {
    Connection& exam = context.exam;
    exam.close();
    exam.clearError();
    const QString file = findExamDatabase(context.appPath);
    if (file.isEmpty()) {
        exam.raise({QStringLiteral("找不到 Access 資料庫檔 Exam.mdb: %1").arg(context.appPath)});
        return false;
    }
    bool opened = false;
    switch (databaseFileKind(file)) {
        case DatabaseFileKind::Sqlite:
            opened = exam.openSqlite(file);
            break;
        case DatabaseFileKind::Access:
#ifdef Q_OS_WIN
            if (const QString driver = chooseAccessDriver(installedOdbcDrivers()); driver.isEmpty())
                exam.raise(missingAccessDriverError(file));
            else
                opened =
                    exam.openOdbc(accessConnectionString(file, driver), SqlDialect::Access, file);
#else
            exam.raise(missingAccessDriverError(file));
#endif
            break;
        case DatabaseFileKind::Missing:
            exam.raise(
                {QStringLiteral("無法讀取資料庫檔: %1").arg(QDir::toNativeSeparators(file))});
            break;
        case DatabaseFileKind::Unknown:
            exam.raise({QStringLiteral("%1 不是 Access 或 SQLite 資料庫檔")
                            .arg(QDir::toNativeSeparators(file)),
                        QString(), DbError::Kind::Damaged});
            break;
    }
    // Statements on the grading program's file wait at most one second.
    if (opened) exam.setCommandTimeout(1);
    return opened;
}

}  // namespace korvex
