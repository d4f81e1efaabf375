#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace korvex {

// The tables and columns the program reads or writes in each database, as
// the school database and the grading program define them: what the
// self-check looks for, and what makes a file a grading database at all.
struct KnownColumn {
    QString name;
    enum class Kind { Text, Number } kind = Kind::Text;
};
struct KnownTable {
    QString name;
    std::vector<KnownColumn> columns;
};

// The school's tables; z_dept.科別簡碼 and z_class.簡碼 are the program's
// own, added at the first start, and are not among them.
const std::vector<KnownTable>& schoolTables();

// The grading program's tables the program touches. The roster tables
// periodical1 to periodical6 come from rosterTable(); the contact columns of
// `name` (address, zipcode, addzone, father) are the program's own.
const std::vector<KnownTable>& examTables();
KnownTable rosterTable(int slot);

}  // namespace korvex
