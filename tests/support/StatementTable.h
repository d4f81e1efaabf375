#pragma once

#include <QList>
#include <QString>

namespace korvex::test {

// A table of docs/: every statement the program sends to one database, as
// written (SQL Server's form) and as the engine of the other column
// receives it (several statements separated by "<br>", "—" for none):
// docs/access-statements.md (the Access driver, Jet SQL) and
// docs/school-statements.md (the SQLite stand-in of the school database).
struct ListedStatement {
    QString written;
    QString sent;
};
QList<ListedStatement> readStatementTable(const QString& document, QString* error);

// A statement as the tables list it: blanks collapsed, the exam's roster
// table named periodicalN and its columns 考試成績N and 考試比例N, and the
// rows of a batched update's values shown once, as "(VALUES (?,?,?) …)".
QString tableForm(const QString& statement);

}  // namespace korvex::test
