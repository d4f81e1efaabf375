#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace korvex {

class Connection;

// Copies of exam.mdb taken before an operation deletes or replaces its rows,
// in the folder backup/ beside it, named by date, time and operation:
// backup/exam-20261208-101500-roster.mdb. The newest kBackupsKept are kept.
namespace examBackups {

inline constexpr int kBackupsKept = 20;

struct Copy {
    QString path;
    QDateTime taken;
    QString operation;  // the operation's korvex-batch name, "restore", or empty
};

// backup/ beside the exam database file.
QString folderFor(const QString& examFile);

// Takes a consistent copy of the exam database open on `exam` (no
// transaction may be open on it), then removes the oldest copies beyond the
// ones kept. The copy's path, or empty with `error` set.
QString take(Connection& exam, const QString& operation, QString* error);

// The copies beside `examFile`, newest first.
QList<Copy> list(const QString& examFile);

// How many rows the copy's tables hold, for the user to tell copies apart:
// "學生 4085, 教師 200, 考試科目 1452, 考試資料 35666"; empty when the copy
// cannot be read.
QString rowCounts(const QString& copyPath);

// Puts the copy in place of the exam database file `examFile`, which no
// connection has open (it is damaged): the damaged file is kept as
// `keepAs`, then the copy takes its name. False with `error` set when it
// could not; the damaged file is then where it was.
bool putBack(const QString& examFile, const QString& copyPath, const QString& keepAs,
             QString* error);

// Puts the copy back into the exam database open on `exam`, replacing all of
// its content at once. False with `error` set when it could not.
bool restore(Connection& exam, const QString& copyPath, QString* error);

}  // namespace examBackups
}  // namespace korvex
