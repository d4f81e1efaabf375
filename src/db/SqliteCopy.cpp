#include "db/SqliteCopy.h"

#include <sqlite3.h>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include "db/Connection.h"

namespace korvex {
namespace {

// The engine's handle behind Qt's SQLite driver; the driver and this
// program share one SQLite library, so the handle can be used directly.
sqlite3* handleOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

}  // namespace

bool copySqliteDatabase(Connection& connection, const QString& target, QString* error) {
    if (!connection.isOpen() || connection.dialect() != SqlDialect::Sqlite)
        return fail(error, QStringLiteral("資料庫未連結"));
    QFile::remove(target);
    QSqlQuery vacuum(connection.database());
    // VACUUM INTO reads one snapshot of the database and writes it, compact,
    // to a new file; it does not disturb other readers or writers.
    if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
        return fail(error, vacuum.lastError().text());
    vacuum.addBindValue(target);
    if (!vacuum.exec()) {
        const QString why = vacuum.lastError().text();
        QFile::remove(target);
        return fail(error, why);
    }
    return true;
}

bool restoreSqliteDatabase(Connection& connection, const QString& source, QString* error) {
    if (!connection.isOpen() || connection.dialect() != SqlDialect::Sqlite)
        return fail(error, QStringLiteral("資料庫未連結"));
    sqlite3* destination = handleOf(connection.database());
    if (!destination) return fail(error, QStringLiteral("無法取得 SQLite 連結"));

    sqlite3* from = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(source).constData(), &from, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(from ? sqlite3_errmsg(from) : "out of memory");
        sqlite3_close(from);
        return fail(error, why);
    }
    // The copy must be a database before anything is replaced.
    int check = sqlite3_exec(from, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (check != SQLITE_OK) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(from));
        sqlite3_close(from);
        return fail(error, why);
    }
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", from, "main");
    if (!backup) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(destination));
        sqlite3_close(from);
        return fail(error, why);
    }
    // All pages in one step: one write transaction on the destination.
    const int stepped = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    QString why;
    if (stepped != SQLITE_DONE) why = QString::fromUtf8(sqlite3_errstr(stepped));
    sqlite3_close(from);
    // Statements prepared before refer to the old schema.
    connection.setCommandTimeout(connection.commandTimeout());
    if (!why.isEmpty()) return fail(error, why);
    return true;
}

}  // namespace korvex
