#pragma once

#include <QString>
#include <memory>

namespace korvex {

class Connection;
class Recordset;

// The departments' short codes (z_dept: 科別碼 -> 科別簡碼), read once per run
// for the classes and students whose group code comes from their department.
class DepartmentLookup {
public:
    DepartmentLookup();
    ~DepartmentLookup();

    // Reads the set; false when it cannot be read. A run does not go on
    // without it, so that no code is taken from a set that was never read.
    bool open(Connection& school);

    // The short code of department `departmentCode` as stored (NULL gives
    // the empty text), or "00" when the set is empty or does not hold it.
    QString shortCode(const QString& departmentCode);

private:
    std::unique_ptr<Recordset> m_set;
};

}  // namespace korvex
