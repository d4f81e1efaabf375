#pragma once

#include <QString>

namespace korvex {

// How a database file is opened only to be read, so that nothing is left
// beside it: SQLite opens a database in WAL mode with a -shm and a -wal file
// next to it even to read, unless told that nobody changes the file
// (immutable). That is only true when no -wal file is there already (no
// program has it open, none died with changes not yet in the file); then the
// file is read as it stands. Otherwise the plain path is given and SQLite
// reads the changes of the -wal file too.
QString readOnlySqliteName(const QString& file, bool* isUri);

}  // namespace korvex
