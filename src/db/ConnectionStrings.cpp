#include "db/ConnectionStrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "app/AppContext.h"
#include "app/ProgramFolder.h"
#include "db/OdbcDrivers.h"
#include "db/StartupSteps.h"

namespace korvex {
namespace {

// Bytes 4 to 18 of a Jet (Access 97/2000/2003) or ACE (Access 2007 and
// later) file name its engine.
bool isAccessHeader(const QByteArray& head) {
    const QByteArray name = head.mid(4, 15);
    return name == QByteArrayLiteral("Standard Jet DB") ||
           name == QByteArrayLiteral("Standard ACE DB");
}

}  // namespace

QString odbcQuoted(const QString& value) {
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString freeTdsQuoted(const QString& value) { return u'{' + value + u'}'; }

QString SchoolConnectionString(const Settings& settings) {
#ifdef Q_OS_WIN
    return sqlServerConnectionString(settings, chooseSqlServerDriver(installedOdbcDrivers()));
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

QString accessConnectionString(const QString& file, const QString& driver) {
    return QStringLiteral("Driver=%1;DBQ=%2;")
        .arg(odbcQuoted(driver), odbcQuoted(QDir::toNativeSeparators(file)));
}

DatabaseFileKind databaseFileKind(const QString& file) {
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly))
        return DatabaseFileKind::Missing;
    const QByteArray head = f.read(32);
    if (head.startsWith(QByteArray("SQLite format 3\0", 16))) return DatabaseFileKind::Sqlite;
    if (isAccessHeader(head)) return DatabaseFileKind::Access;
    return DatabaseFileKind::Unknown;
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
    const std::pair<QString, QString> values[] = {
        {QStringLiteral("伺服器"), s.server},
        {QStringLiteral("資料庫"), s.databaseName},
        {QStringLiteral("使用者帳號"), s.user},
        {QStringLiteral("密碼"), s.password}};
    for (const auto& [what, value] : values)
        if (value.contains(QStringLiteral("};"))) {
            school.raise({QStringLiteral("%1含有 \"};\", 無法用來連結校務行政資料庫").arg(what),
                          QString(), false});
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

bool OpenExamConnection(AppContext& context) {
    Connection& exam = context.exam;
    exam.close();
    exam.clearError();
    const QString file = findExamDatabase(context.appPath);
    if (file.isEmpty()) {
        exam.raise({QStringLiteral("找不到 Access 資料庫檔 Exam.mdb: %1").arg(context.appPath),
                    QString(), false});
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
                opened = exam.openOdbc(accessConnectionString(file, driver), SqlDialect::Access);
#else
            exam.raise(missingAccessDriverError(file));
#endif
            break;
        case DatabaseFileKind::Missing:
            exam.raise({QStringLiteral("無法讀取資料庫檔: %1").arg(QDir::toNativeSeparators(file)),
                        QString(), false});
            break;
        case DatabaseFileKind::Unknown:
            exam.raise({QStringLiteral("%1 不是 Access 或 SQLite 資料庫檔")
                            .arg(QDir::toNativeSeparators(file)),
                        QString(), false});
            break;
    }
    // Statements on the grading program's file wait at most one second.
    if (opened) exam.setCommandTimeout(1);
    return opened;
}

}  // namespace korvex
