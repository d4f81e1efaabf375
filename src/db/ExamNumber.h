#pragma once

#include <QString>
#include <optional>

namespace korvex {

// The exam number setting goes into table and column names (periodical3,
// 考試成績3, 考試比例3), so it is checked to be one digit 1 to 6 before any
// name is built from it; anything else gives nothing.
std::optional<int> validExamNumber(const QString& examNo);

QString rosterTableName(int exam);   // "periodical" + exam
QString scoreColumnName(int exam);   // "考試成績" + exam
QString weightColumnName(int exam);  // "考試比例" + exam

}  // namespace korvex
