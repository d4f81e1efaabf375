#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace korvex {

class Connection;

// The columns of `table`, as a statement that reads no row finds them (one
// round trip, the same on every engine); nothing when the table cannot be
// read (the connection's pending error says why).
std::optional<QStringList> tableColumns(Connection& connection, const QString& table);

// Whether `columns` holds `column`, whatever the letter case.
bool hasColumn(const QStringList& columns, const QString& column);

}  // namespace korvex
