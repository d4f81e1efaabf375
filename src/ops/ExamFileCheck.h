#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

class Connection;

// Whether a database is one the grading program wrote: every table the
// program touches there, with its columns, and at least one roster.
namespace examFileCheck {

enum class Verdict {
    Usable,
    Missing,          // no such file, or it cannot be read
    Damaged,          // not a database, or a damaged one
    NotExamDatabase,  // a database, but not the grading program's
};

struct Finding {
    Verdict verdict = Verdict::Usable;
    QString reason;  // in the program's words; empty when usable
};

// The tables and columns the grading program's database must have that the
// database open on `exam` lacks ("name.examno", "periodical1 到 periodical6");
// empty when none is missing.
QStringList missingParts(Connection& exam);

// The database open on `exam`, judged by its tables.
Finding inspectOpen(Connection& exam);

// The file, opened only to be read (nothing is written beside it): that it
// is a database, whole (SQLite's quick check), and the grading program's.
// An Access file is judged by its header alone where no Access driver can
// open it.
Finding inspectFile(const QString& file);

}  // namespace examFileCheck
}  // namespace korvex
