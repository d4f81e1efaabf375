#pragma once

#include <QString>
#include <optional>

namespace korvex {

// The exam slot: which of the six periodical exams of a term the settings
// choose (SEXAMNO). It goes into table and column names (periodical3,
// 考試成績3, 考試比例3), so it is checked to be one digit 1 to 6 before any
// name is built from it; anything else gives nothing.
std::optional<int> examSlot(const QString& examNo);

QString rosterTableName(int slot);   // "periodical" + slot
QString scoreColumnName(int slot);   // "考試成績" + slot
QString weightColumnName(int slot);  // "考試比例" + slot

}  // namespace korvex
