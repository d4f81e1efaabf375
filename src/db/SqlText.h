#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace korvex {

// Splits SQL text at its top-level commas: those outside parentheses and
// outside quoted text ('…', "…" and […]). The parts come back trimmed; an
// empty last part is dropped. "a nvarchar(5), b int" gives "a nvarchar(5)"
// and "b int".
QStringList splitTopLevel(const QString& text);

// `ALTER TABLE t ADD [COLUMN] a …, b …` as one `ALTER TABLE t ADD COLUMN …`
// per column, each definition rewritten by `column`; nothing when `sql` is
// not such a statement. Neither Jet nor SQLite adds several columns at once.
std::optional<QStringList> alterAddPerColumn(const QString& sql,
                                             const std::function<QString(const QString&)>& column);

}  // namespace korvex
