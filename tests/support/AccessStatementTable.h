#pragma once

#include <QList>
#include <QString>

namespace korvex::test {

// docs/access-statements.md: every statement the program sends to exam.mdb,
// as written (SQL Server's form) and as the Access driver receives it (Jet
// SQL, several statements separated by "<br>").
struct AccessStatement {
    QString written;
    QString jet;
};
QList<AccessStatement> readAccessStatementTable(QString* error);

// A statement as the table lists it: blanks collapsed and the exam's roster
// table named periodicalN.
QString tableForm(const QString& statement);

}  // namespace korvex::test
