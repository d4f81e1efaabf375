#pragma once

#include <vector>

#include "ops/FailureReasons.h"

namespace korvex {

class CheckReport;
class Connection;
struct KnownTable;

// One line per table: present with every column the program uses, and each
// number column of a type that holds numbers; a failure names what is
// missing, a warning a column whose type would turn numbers into text.
// False when a table is missing or cannot be read.
bool checkKnownTables(Connection& connection, DatabaseRole role,
                      const std::vector<KnownTable>& tables, CheckReport& report);

}  // namespace korvex
