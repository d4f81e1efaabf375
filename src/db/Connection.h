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
#include <vector>

#include "db/DbError.h"
#include "db/SqlDialect.h"

namespace korvex {

// One open database: a QSqlDatabase with its SQL dialect and its pending
// error. Calls never throw: a failing call has no effect and records the
// pending error; the caller looks at the pending error only where its steps
// say so, and clears it.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Shared: other programs may use the database at the same time.
    // Exclusive: nobody else can open it while this connection is open, and
    // the engine takes no locks row by row (Jet's lock limit does not apply);
    // the open fails, as busy, while another program has it open (SQLite:
    // while another program is reading or writing it).
    enum class Access { Shared, Exclusive };

    // Opens an existing SQLite file; a missing file fails (it is never
    // created empty), and so does a damaged one. WAL journal,
    // synchronous=NORMAL and a busy timeout. Read-only: the file is only
    // read, never changed (not even its journal mode).
    bool openSqlite(const QString& file, bool readOnly = false, Access access = Access::Shared);
    // Opens an ODBC connection string; `dialect` says what the data source
    // speaks, `file` the database file behind it, if any. An exclusive open
    // asks the driver for it with "Exclusive=1" (the Access driver's
    // keyword).
    bool openOdbc(const QString& connectionString, SqlDialect dialect,
                  const QString& file = QString(), Access access = Access::Shared);
    void close();
    bool isOpen() const;

    // Closes the connection and opens the same database again with
    // `access`: how an operation takes exam.mdb for itself and gives it
    // back. False (pending error set, connection closed) when it cannot.
    bool reopen(Access access);
    Access access() const { return m_spec.access; }

    SqlDialect dialect() const { return m_dialect; }
    // The database file (SQLite, Access), empty for a server.
    const QString& file() const { return m_file; }
    // The file it was last opened on, also once closed.
    const QString& lastFile() const { return m_spec.file; }
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
    // Records a driver's error, judged by what it means (busy, read-only,
    // damaged, disk full).
    void raiseFrom(const QSqlError& error);

    // --- statements. Values are bound to `?` placeholders, never spliced.
    bool execute(const QString& sql, const QVariantList& params = {});
    // Rows the last successful execute changed, as the engine reports them;
    // -1 when the last execute failed or the driver cannot tell.
    int rowsAffected() const { return m_rowsAffected; }
    bool beginTransaction();
    bool commitTransaction();
    bool rollbackTransaction();
    bool inTransaction() const { return m_inTransaction; }

    // Runs one statement inside the open transaction so that its failure
    // undoes that statement alone: what the transaction wrote before stays
    // and the transaction goes on, as every engine of the program does by
    // itself. Refused: the statement failed, the pending error says why.
    // Lost: the engine ended the whole transaction with the failure (a full
    // disk, say); nothing of it is kept.
    enum class Contained { Done, Refused, Lost };
    Contained executeContained(const QString& sql, const QVariantList& params = {});

    // Runs `sql` in a transaction of its own: committed if no error is
    // pending afterwards, otherwise rolled back and the error cleared.
    // Returns whether it was committed.
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

private:
    bool endGuarded();
    // Whether the open transaction is still open after a failed statement.
    bool transactionSurvived();
    void applyCommandTimeout(QSqlQuery& query) const;
    bool open(QSqlDatabase& db);
    const std::vector<std::shared_ptr<QSqlQuery>>* prepared(const QString& sql);
    QStringList translated(const QString& sql);

    // How the connection was opened, kept after close() for reopen().
    struct OpenSpec {
        bool odbc = false;
        QString target;  // the SQLite file or the ODBC connection string
        QString file;
        bool readOnly = false;
        Access access = Access::Shared;
    };
    bool takeSqliteLock(QSqlDatabase& db);

    QString m_name;
    QSqlDatabase m_db;  // kept, so that no statement looks the connection up by name
    QString m_file;
    OpenSpec m_spec;
    SqlDialect m_dialect = SqlDialect::Sqlite;
    int m_commandTimeout = 30;
    int m_rowsAffected = -1;
    bool m_inTransaction = false;
    std::optional<DbError> m_pending;
    // Prepared statements by their text: the operations run the same
    // statement once per row, so preparing it once saves most of the cost.
    QHash<QString, std::vector<std::shared_ptr<QSqlQuery>>> m_statements;
    // Statements in the dialect's words, by their text as written.
    QHash<QString, QStringList> m_translations;
};

// The ODBC statement handle (an SQLHSTMT) of a query prepared through QODBC,
// or null for a query of another driver.
void* odbcStatementHandle(const QSqlQuery& query);

}  // namespace korvex
