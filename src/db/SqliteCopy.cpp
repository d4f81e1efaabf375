#include "db/SqliteCopy.h"

#include <sqlite3.h>
#include <QFile>
#include <QSqlDriver>

#include "db/Connection.h"
#include "db/SqliteHandle.h"
#include "db/SqliteUri.h"

namespace korvex {
namespace {

bool fail(Connection& connection, int code, const QString& text) {
    connection.raise({text, QString::number(code), sqliteErrorKind(code)});
    return false;
}

}  // namespace

bool copySqliteDatabase(Connection& connection, const QString& target) {
    if (connection.dialect() != SqlDialect::Sqlite)
        return fail(connection, SQLITE_MISUSE, QStringLiteral("不是 SQLite 資料庫"));
    QFile::remove(target);
    // VACUUM INTO reads one snapshot of the database and writes it, compact,
    // to a new file; it does not disturb other readers or writers.
    if (connection.execute(QStringLiteral("VACUUM INTO ?"), {target})) return true;
    QFile::remove(target);
    return false;
}

bool restoreSqliteDatabase(Connection& connection, const QString& source) {
    sqlite3* destination =
        connection.dialect() == SqlDialect::Sqlite ? sqliteHandle(connection.database()) : nullptr;
    if (!destination) return fail(connection, SQLITE_MISUSE, QStringLiteral("資料庫未連結"));

    sqlite3* from = nullptr;
    bool uri = false;
    const QString name = readOnlySqliteName(source, &uri);
    // SQLite takes file names in UTF-8 on every system.
    const QByteArray path = name.toUtf8();
    int code = sqlite3_open_v2(path.constData(), &from,
                               SQLITE_OPEN_READONLY | (uri ? SQLITE_OPEN_URI : 0), nullptr);
    // The copy must be a readable database before anything is replaced.
    if (code == SQLITE_OK)
        code = sqlite3_exec(from, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        const QString why = QString::fromUtf8(from ? sqlite3_errmsg(from) : sqlite3_errstr(code));
        sqlite3_close(from);
        return fail(connection, code, why);
    }
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", from, "main");
    if (!backup) {
        code = sqlite3_extended_errcode(destination);
        const QString why = QString::fromUtf8(sqlite3_errmsg(destination));
        sqlite3_close(from);
        return fail(connection, code, why);
    }
    // All pages in one step: one write transaction on the destination.
    code = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    sqlite3_close(from);
    // Statements prepared before refer to the old schema.
    connection.setCommandTimeout(connection.commandTimeout());
    if (code != SQLITE_DONE) return fail(connection, code, QString::fromUtf8(sqlite3_errstr(code)));
    return true;
}

}  // namespace korvex
