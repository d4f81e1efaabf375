#pragma once

#include <sqlite3.h>
#include <QSqlDatabase>

namespace korvex {

// The engine's handle behind Qt's SQLite driver, or null for a database of
// another driver. The driver and this program share one SQLite library, so
// the handle can be used directly.
sqlite3* sqliteHandle(const QSqlDatabase& db);

}  // namespace korvex
