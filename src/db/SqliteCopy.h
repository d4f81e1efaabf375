#pragma once

#include <QString>

namespace korvex {

class Connection;

// Whole copies of an open SQLite database, safe while other programs use it.
// A failure leaves its reason as the connection's pending error.

// Writes a consistent copy of the database open on `connection` to the new
// file `target`: one snapshot, read while other programs may go on writing.
// The connection must have no transaction open.
bool copySqliteDatabase(Connection& connection, const QString& target);

// Replaces the whole content of the database open on `connection` with the
// database in the file `source`, in one write transaction: every other
// program sees either the old content or the new, never a mixture, and a
// crash half-way leaves the old content.
bool restoreSqliteDatabase(Connection& connection, const QString& source);

}  // namespace korvex
