#pragma once

#include <QString>

namespace korvex {

class CheckReport;
struct AppContext;
struct CheckTiming;

// The school database: connected, its engine and version, its collation,
// the tables and columns the program uses, the account's rights for what
// the program writes (tried in a transaction that is rolled back), and the
// round trip of a statement.
void checkSchool(AppContext& context, CheckReport& report, CheckTiming& timing);

// Whether a SQL Server collation keeps Chinese text given without N: only a
// Chinese code page does (Chinese_Taiwan_Stroke_CI_AS, Chinese_PRC_…).
bool isChineseCollation(const QString& collation);

}  // namespace korvex
