#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace korvex {

class Connection;

// The indexes of `table`, each as its columns in key order; nothing when
// the engine cannot say (the connection's pending error then says why).
// SQLite answers from its catalogue, an ODBC database (Access) from the
// driver's SQLStatistics: neither sends a statement that reads rows.
std::optional<std::vector<QStringList>> tableIndexes(Connection& connection, const QString& table);

// Whether one of `indexes` begins with exactly `columns`, in any order and
// whatever the letter case: such an index finds a row by those columns.
bool hasIndexOn(const std::vector<QStringList>& indexes, const QStringList& columns);

}  // namespace korvex
