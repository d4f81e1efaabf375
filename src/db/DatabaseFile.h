#pragma once

#include <QString>

namespace korvex {

// What a database file holds, judged by its first bytes: the SQLite header,
// or the engine name a Jet (Access 97 to 2003) or ACE (Access 2007 and
// later) file carries.
enum class DatabaseFileKind { Missing, Sqlite, Access, Unknown };
DatabaseFileKind databaseFileKind(const QString& file);

}  // namespace korvex
