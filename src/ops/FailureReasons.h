#pragma once

#include <QString>
#include <QStringList>

#include "db/DbError.h"

namespace korvex {

class Connection;

// Which of the two databases a failure concerns, as the user knows them.
enum class DatabaseRole { School, Exam };

QString databaseLabel(DatabaseRole role);  // "校務行政資料庫", "考試資料庫 exam.mdb"

// The reason of a failed database call in the program's words, naming the
// database and, after it, the engine's or driver's own text: another program
// using it, read-only, damaged, disk full, or just the driver's text.
QString failureReason(const DbError& error, DatabaseRole role);

// The reason of the connection's pending error; a generic text when none is
// pending.
QString failureReason(const Connection& connection, DatabaseRole role);

// Why exam.mdb could not be had for an operation alone: another program
// (the grading program, or a colleague's PC) is using it; `holders` are the
// users its lock file names ("PC-01 (Admin)"), if any.
QString examInUseReason(const QStringList& holders);

// A message with the reason on a line of its own after it.
QString withReason(const QString& message, const QString& reason);

}  // namespace korvex
