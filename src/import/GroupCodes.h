#pragma once

#include <QString>
#include <functional>

namespace korvex {

// The two-character codes of groups and departments that classes (class.dep)
// and students (name.gro) carry in the exam database: "0" and a group digit
// for a class or student of a department whose code begins with 10 and that
// has a group, the department's short code when it has none, and "1" and
// the second character of the class short code for every other department.

// Finds a department's short code by its department code ("00" when unknown).
using ShortCodeLookup = std::function<QString(const QString& departmentCode)>;

// A group number as its code: the text's leading number, rounded to a whole
// number, with at least two digits (1 -> "01", 123 -> "123", "" or "x" -> "00").
QString groupNumberCode(const QString& groupNumber);

// class.dep of a class: `classCode` is 班級碼, `classGroup` 班級類組 and
// `shortCode` 簡碼, all as stored (NULL as the empty text).
QString classGroupCode(const QString& classCode, const QString& classGroup,
                       const QString& shortCode, const ShortCodeLookup& lookup);

// name.gro of a student: `department` 在學科別, `grade` 在學年級, `semester`
// 在學學期, `groups` 學期類組別 (one group digit per semester of the student's
// career, first semester first) and `classShortCode` the class short code.
// The group is the latest one up to the current term (2 × (grade − 1) +
// semester) that is above 0.
QString studentGroupCode(const QString& department, const QString& grade, const QString& semester,
                         const QString& groups, const QString& classShortCode,
                         const ShortCodeLookup& lookup);

}  // namespace korvex
