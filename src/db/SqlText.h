#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

namespace korvex {

// The one scanner of SQL text: calls `piece` with each stretch of `sql` in
// order, each either outside quotes or one whole quoted text ('…', "…" or
// […], the quotes included). Text inside quotes is never SQL to rewrite:
// every rewrite of statements goes through this.
void forEachSqlPiece(const QString& sql,
                     const std::function<void(QStringView, bool quoted)>& piece);

// `sql` with `edit` applied to each stretch outside quotes; quoted text is
// kept as it stands.
QString rewriteOutsideQuotes(const QString& sql, const std::function<QString(QString)>& edit);

// What neither SQLite nor Jet knows of SQL Server's text, in a stretch
// outside quotes: the schema prefix `dbo.` goes, and `getdate()` becomes
// `now`, the engine's own current date and time.
QString withoutServerIdioms(QString plain, const QString& now);

// Splits SQL text at its top-level commas: those outside parentheses and
// outside quoted text. The parts come back trimmed; an empty last part is
// dropped. "a nvarchar(5), b int" gives "a nvarchar(5)" and "b int".
QStringList splitTopLevel(const QString& text);

// `ALTER TABLE t ADD [COLUMN] a …, b …` as one `ALTER TABLE t ADD COLUMN …`
// per column, each definition rewritten by `column`; nothing when `sql` is
// not such a statement. Neither Jet nor SQLite adds several columns at once.
std::optional<QStringList> alterAddPerColumn(const QString& sql,
                                             const std::function<QString(const QString&)>& column);

}  // namespace korvex
