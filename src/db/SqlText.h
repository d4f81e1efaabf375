#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// Splits SQL text at its top-level commas: those outside parentheses and
// outside quoted text ('…', "…" and […]). The parts come back trimmed; an
// empty last part is dropped. "a nvarchar(5), b int" gives "a nvarchar(5)"
// and "b int".
QStringList splitTopLevel(const QString& text);

}  // namespace korvex
