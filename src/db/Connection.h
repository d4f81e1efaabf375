#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

#include "db/DbError.h"
#include "db/SqlDialect.h"

namespace korvex {

// One open database: a QSqlDatabase with its SQL dialect and its pending
// error. Calls never throw: a failing call has no effect, records the pending
// error and appends to the connection's error list; the caller looks at the
// pending error only where its steps say so, and clears it.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing SQLite file; a missing file fails (it is never
    // created empty). WAL journal, synchronous=NORMAL and a busy timeout.
    bool openSqlite(const QString& file);
    // Opens an ODBC connection string; `dialect` says what the data source speaks.
    bool openOdbc(const QString& connectionString, SqlDialect dialect);
    void close();
    bool isOpen() const;

    SqlDialect dialect() const { return m_dialect; }
    QString databaseName() const;

    // How long a statement may wait (seconds): for SQLite the busy timeout,
    // for ODBC the statement time-out.
    void setCommandTimeout(int seconds);
    int commandTimeout() const { return m_commandTimeout; }

    // --- error model
    bool errorPending() const { return m_pending.has_value(); }
    const std::optional<DbError>& pendingError() const { return m_pending; }
    void clearError() { m_pending.reset(); }
    void raise(const DbError& error);
    // The list of provider errors collected on this connection.
    const QStringList& errorList() const { return m_errorList; }
    void clearErrorList() { m_errorList.clear(); }

    // --- statements. Values are bound to `?` placeholders, never spliced.
    bool execute(const QString& sql, const QVariantList& params = {});
    // Rows the last successful execute changed, as the engine reports them;
    // -1 when the last execute failed or the driver cannot tell.
    int rowsAffected() const { return m_rowsAffected; }
    bool beginTransaction();
    bool commitTransaction();
    bool rollbackTransaction();
    bool inTransaction() const { return m_inTransaction; }

    // Runs `sql` in a transaction of its own: committed if no error is
    // pending afterwards, otherwise rolled back and the error cleared; the
    // error list is cleared either way. Returns whether it was committed.
    // An error left pending by earlier work is cleared first: only the
    // statement's own outcome decides whether it is kept.
    bool executeGuarded(const QString& sql, const QVariantList& params = {});

    // The same frame around several statements: `body` runs inside one
    // transaction, committed if no error is pending at its end, otherwise
    // rolled back and the error cleared. Returns whether it was committed.
    // As with executeGuarded, an earlier pending error is cleared first.
    // When no transaction can be begun, `body` does not run at all: its
    // statements would otherwise be kept one by one with nothing to undo them.
    template <typename Body>
    bool guardedBatch(Body&& body) {
        clearError();
        if (!beginTransaction()) {
            clearError();
            clearErrorList();
            return false;
        }
        body();
        return endGuarded();
    }

    // Runs a SELECT and hands back the executed query, or nothing (pending
    // error set). Used by OpenRecordset.
    std::optional<QSqlQuery> select(const QString& sql, const QVariantList& params);

    QSqlDatabase database() const;

    // Called with the text of every statement a connection is asked to run
    // (before the dialect's changes); the tests list what reaches a database
    // with it. None by default.
    using StatementObserver = std::function<void(const Connection&, const QString&)>;
    static void setStatementObserver(StatementObserver observer);

    // How many attempts the last OpenRecordset on this connection made (1 to 11).
    int lastOpenAttempts() const { return m_openAttempts; }
    void recordOpenAttempts(int attempts) { m_openAttempts = attempts; }

private:
    bool endGuarded();
    void applyCommandTimeout(QSqlQuery& query) const;
    bool open(QSqlDatabase& db);
    QSqlQuery* prepared(const QString& statement);
    void raiseFrom(const class QSqlError& error);

    QString m_name;
    SqlDialect m_dialect = SqlDialect::Sqlite;
    int m_commandTimeout = 30;
    int m_openAttempts = 0;
    int m_rowsAffected = -1;
    bool m_inTransaction = false;
    std::optional<DbError> m_pending;
    QStringList m_errorList;
    // Prepared statements by their text: the operations run the same
    // statement once per row, so preparing it once saves most of the cost.
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements;
};

// The ODBC statement handle (an SQLHSTMT) of a query prepared through QODBC,
// or null for a query of another driver.
void* odbcStatementHandle(const QSqlQuery& query);

// Whether the file begins with the SQLite header.
bool isSqliteFile(const QString& file);

}  // namespace korvex
