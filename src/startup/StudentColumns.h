#pragma once

#include <QStringList>

namespace korvex {

// The statements that give the grading program's student table `name` the
// contact columns the student import fills (address, father, zipcode,
// addzone), one column per statement: the Access driver adds one column at a
// time, and a table that has some of them already gets the others.
QStringList studentColumnStatements();

}  // namespace korvex
