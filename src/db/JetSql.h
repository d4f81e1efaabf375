#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// Turns one statement, written as SQL Server takes it, into Jet SQL as the
// Microsoft Access ODBC driver takes it (ANSI-89 mode):
// - `ALTER TABLE t ADD a nvarchar(n), b ...` becomes one
//   `ALTER TABLE t ADD COLUMN a TEXT(n)` per column: the driver refuses
//   several columns at once and knows no `nvarchar`;
// - the column types become Jet's: `nvarchar(n)`, `varchar(n)`, `nchar(n)`,
//   `char(n)` are `TEXT(n)` (`MEMO` past 255 characters or for `max`),
//   `int` is `INTEGER`, `float` is `DOUBLE`, `datetime` is `DATETIME`; a bare
//   `NULL` goes, since Jet columns take NULL anyway;
// - `dbo.` goes and `getdate()` becomes `Now()`;
// - the column `abs` is written `[abs]`: Jet has a built-in function of
//   that name.
// Everything else passes unchanged: string `+`, `LEN`, `RTRIM` and the
// ODBC pattern characters `%` and `_` of LIKE (which the driver turns into
// Jet's `*` and `?`) are Jet's too. Quoted text and `?` placeholders are
// never touched.
QStringList jetStatements(const QString& sql);

}  // namespace korvex
