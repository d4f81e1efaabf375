#include "db/OdbcDrivers.h"

#include <QDir>

#include "db/ConnectionStrings.h"

#include "db/OdbcHeaders.h"

namespace korvex {
namespace {

// The state ODBC driver managers give when the driver named cannot be found.
const QString kMissingDriverState = QStringLiteral("IM002");

QString firstInstalled(const QStringList& preference, const QStringList& installed) {
    for (const QString& driver : preference)
        for (const QString& name : installed)
            if (name.compare(driver, Qt::CaseInsensitive) == 0) return driver;
    return QString();
}

}  // namespace

QStringList installedOdbcDrivers() {
    QStringList drivers;
#ifdef KORVEX_HAVE_ODBC_HEADERS
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return drivers;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLWCHAR name[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDriversW(env, direction, name, SQLSMALLINT(std::size(name)),
                                     &nameLength, attributes, SQLSMALLINT(std::size(attributes)),
                                     &attributesLength))) {
        // SQLWCHAR is UTF-16 on Windows and with unixODBC alike.
        drivers << QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                                      qMin<qsizetype>(nameLength, std::size(name) - 1));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
#endif
    return drivers;
}

QStringList sqlServerDriverPreference() {
    return {QStringLiteral("ODBC Driver 18 for SQL Server"),
            QStringLiteral("ODBC Driver 17 for SQL Server"),
            QStringLiteral("SQL Server Native Client 11.0"), QStringLiteral("SQL Server")};
}

QString chooseSqlServerDriver(const QStringList& installed) {
    const QString driver = firstInstalled(sqlServerDriverPreference(), installed);
    return driver.isEmpty() ? QStringLiteral("SQL Server") : driver;
}

QStringList accessDriverPreference() {
    return {QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)"),
            QStringLiteral("Microsoft Access Driver (*.mdb)")};
}

QString chooseAccessDriver(const QStringList& installed) {
    return firstInstalled(accessDriverPreference(), installed);
}

QString sqlServerConnectionString(const SqlServerLogin& login, const QString& driver) {
    QString text =
        QStringLiteral("Driver=%1;Server=%2;Database=%3;UID=%4;PWD=%5;")
            .arg(odbcQuoted(driver), odbcQuoted(login.server), odbcQuoted(login.database),
                 odbcQuoted(login.user), odbcQuoted(login.password));
    // Driver 18 encrypts and checks the server's certificate by default;
    // school servers seldom have one that a PC trusts, so the connection is
    // encrypted without the check, as Driver 17 did.
    if (driver == QLatin1String("ODBC Driver 18 for SQL Server"))
        text += QStringLiteral("TrustServerCertificate=yes;");
    return text;
}

QString odbcDriverOf(const QString& connectionString) {
    const qsizetype start =
        connectionString.indexOf(QLatin1String("Driver="), 0, Qt::CaseInsensitive);
    if (start < 0) return QString();
    const qsizetype valueStart = start + 7;
    if (connectionString.mid(valueStart, 1) == QLatin1String("{")) {
        QString value;
        for (qsizetype i = valueStart + 1; i < connectionString.size(); ++i) {
            const QChar c = connectionString.at(i);
            if (c == u'}') {
                if (connectionString.mid(i + 1, 1) != QLatin1String("}")) return value;
                ++i;
            }
            value += c;
        }
        return value;
    }
    const qsizetype end = connectionString.indexOf(u';', valueStart);
    return connectionString.mid(valueStart, end < 0 ? -1 : end - valueStart);
}

DbError missingAccessDriverError(const QString& file) {
#ifdef Q_OS_WIN
    return {QStringLiteral("找不到 Microsoft Access ODBC 驅動程式 (%1), 無法開啟 %2。"
                           "請安裝 Microsoft Access Database Engine (位元數與本程式相同), "
                           "或改用 32 位元版 (win32) 的小幫手。")
                .arg(accessDriverPreference().join(QStringLiteral(" 或 ")),
                     QDir::toNativeSeparators(file)),
            kMissingDriverState};
#else
    return {QStringLiteral("%1 是 Access 資料庫, 這台電腦沒有可開啟它的 "
                           "Microsoft Access ODBC 驅動程式")
                .arg(QDir::toNativeSeparators(file)),
            kMissingDriverState};
#endif
}

bool isMissingDriverError(const DbError& error) { return error.nativeCode == kMissingDriverState; }

}  // namespace korvex
