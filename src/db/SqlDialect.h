#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The SQL flavour a connection speaks. Statements are written once, in the
// dialect of SQL Server and Access; SQLite receives equivalents.
enum class SqlDialect { SqlServer, Access, Sqlite };

// Turns one statement into what the engine of `dialect` runs: for SQLite
// string `+` becomes `||`, `LEN(x)` becomes `length(rtrim(x))`, `getdate()`
// becomes `datetime('now')`, `dbo.` goes, the batched update
// `UPDATE t SET … FROM t INNER JOIN (VALUES …) AS v(…) ON … WHERE …` takes
// SQLite's form of an update from a subquery, and an `ALTER TABLE ... ADD` of
// several columns becomes one statement per column, each `nvarchar(n)` or
// `varchar(n)` column carrying a length check so that a too-long value is
// refused as SQL Server refuses it. Text inside quotes is never touched, nor
// are `?` placeholders. Access receives Jet SQL (see jetStatements); SQL
// Server gets the statement unchanged.
QStringList translateStatement(const QString& sql, SqlDialect dialect);

// What the engines do differently around the statements, for Connection.

// The statement that begins a write transaction, when the driver's own
// begin does not do what the program needs: SQLite takes the write lock at
// the start ("BEGIN IMMEDIATE"), waited for through its busy timeout, so that
// a transaction that read first never fails later because another program
// wrote meanwhile. Empty: the driver's begin.
QString beginWriteStatement(SqlDialect dialect);

// The statement that sets how long a statement waits for a database another
// program holds (SQLite's busy timeout); empty where each statement carries
// its own time-out (ODBC).
QString busyTimeoutStatement(SqlDialect dialect, int seconds);

// Whether the engine's error codes are SQLite's result codes (otherwise an
// ODBC driver's texts tell what a failure means).
bool reportsSqliteCodes(SqlDialect dialect);

// Whether one INSERT may carry many rows (`VALUES (…), (…)`): SQLite and
// SQL Server take it, Jet takes one row per statement.
bool insertsManyRows(SqlDialect dialect);

}  // namespace korvex
