#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The tables of the school administration database as this program uses
// them, as SQLite statements. The two short-code columns (z_dept.科別簡碼,
// z_class.簡碼) are not here: start-up adds them.
QStringList schoolSchema();

// The grading program's tables in exam.mdb (dep, class, name, subject,
// teacher, course, periodical1 to periodical6), as SQLite statements. The
// four contact columns of `name` are not here: start-up adds them.
QStringList examSchema();

// Creates a new SQLite file at `path` holding the given tables; false when
// the file exists already or cannot be written.
bool createSqliteDatabase(const QString& path, const QStringList& schema, QString* error = nullptr);

}  // namespace korvex
