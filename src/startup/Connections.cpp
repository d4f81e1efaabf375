// Opening the two connections of start-up: the school database and the
// grading program's exam.mdb.
#include <QDir>
#include <QFileInfo>
#include <utility>

#include "core/ProgramFolder.h"
#include "db/ConnectionStrings.h"
#include "db/DatabaseFile.h"
#include "ops/AppContext.h"
#include "startup/StartupSteps.h"

namespace korvex {

QString SchoolConnectionString(const Settings& settings) {
#ifdef Q_OS_WIN
    // The SQL Server driver every Windows installation carries.
    const auto quoted = odbcQuoted;
    const QString driver = QStringLiteral("SQL Server");
    const QString tail;
#else
    // FreeTDS speaks TDS 7.4 (SQL Server 2012 and later understand it) and
    // hands text over as UTF-8, so Chinese names arrive intact.
    const auto quoted = freeTdsQuoted;
    const QString driver = QStringLiteral("FreeTDS");
    const QString tail = QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
#endif
    return QStringLiteral("Driver=%1;Server=%2;Database=%3;UID=%4;PWD=%5;")
               .arg(odbcQuoted(driver), quoted(settings.server), quoted(settings.databaseName),
                    quoted(settings.user), quoted(settings.password)) +
           tail;
}

bool OpenSchoolConnection(AppContext& context) {
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
    return school.openOdbc(SchoolConnectionString(context.settings), SqlDialect::SqlServer);
}

QString findExamDatabase(const QString& appPath) {
    const QString path = programFile(appPath, QStringLiteral("exam.mdb"));
    return QFileInfo(path).isFile() ? path : QString();
}

bool OpenExamConnection(AppContext& context) {
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
            opened = exam.openOdbc(accessConnectionString(file), SqlDialect::Access);
#else
            exam.raise({QStringLiteral("%1 是 Access 資料庫, 這台電腦沒有可開啟它的 "
                                       "Microsoft Access ODBC 驅動程式")
                            .arg(QDir::toNativeSeparators(file))});
#endif
            break;
        case DatabaseFileKind::Missing:
            exam.raise(
                {QStringLiteral("無法讀取資料庫檔: %1").arg(QDir::toNativeSeparators(file))});
            break;
        case DatabaseFileKind::Unknown:
            exam.raise({QStringLiteral("%1 不是 Access 或 SQLite 資料庫檔")
                            .arg(QDir::toNativeSeparators(file))});
            break;
    }
    // Statements on the grading program's file wait at most one second.
    if (opened) exam.setCommandTimeout(1);
    return opened;
}

}  // namespace korvex
