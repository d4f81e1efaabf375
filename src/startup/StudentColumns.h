#pragma once

#include <QString>
#include <vector>

namespace korvex {

// The statements that give the grading program's student table `name` the
// contact columns the student import fills (address, father, zipcode,
// addzone), one column per statement: the Access driver adds one column at a
// time, and a table that has some of them already gets the others.
struct StudentColumn {
    QString name;
    QString statement;  // the ALTER TABLE that adds it
};
std::vector<StudentColumn> studentColumns();

}  // namespace korvex
