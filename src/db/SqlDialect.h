#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The SQL flavour a connection speaks. Statements are written once, in the
// dialect of SQL Server and Access; SQLite receives equivalents.
enum class SqlDialect { SqlServer, Access, Sqlite };

// Turns one statement into what the engine of `dialect` runs: for SQLite
// string `+` becomes `||`, `LEN(x)` becomes `length(rtrim(x))`, `getdate()`
// becomes `datetime('now')`, `dbo.` goes, and an `ALTER TABLE ... ADD` of
// several columns becomes one statement per column, each `nvarchar(n)` or
// `varchar(n)` column carrying a length check so that a too-long value is
// refused as SQL Server refuses it. Text inside quotes is never touched, nor
// are `?` placeholders. Access receives Jet SQL (see jetStatements); SQL
// Server gets the statement unchanged.
QStringList translateStatement(const QString& sql, SqlDialect dialect);

}  // namespace korvex
