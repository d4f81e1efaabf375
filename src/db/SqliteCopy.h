#pragma once

#include <QString>

namespace korvex {

class Connection;

// Whole copies of an open SQLite database, safe while other programs use it.

// Writes a consistent copy of the database open on `connection` to the new
// file `target`: one snapshot, read while other programs may go on writing.
// The connection must have no transaction open. False, with the reason, when
// the copy cannot be written (the target is removed then).
bool copySqliteDatabase(Connection& connection, const QString& target, QString* error);

// Replaces the whole content of the database open on `connection` with the
// database in the file `source`, in one write transaction: every other
// program sees either the old content or the new, never a mixture, and a
// crash half-way leaves the old content. False, with the reason, when the
// source cannot be read or the database cannot be written.
bool restoreSqliteDatabase(Connection& connection, const QString& source, QString* error);

}  // namespace korvex
