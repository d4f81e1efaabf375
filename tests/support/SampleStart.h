#pragma once

#include <QString>

namespace korvex {
struct AppContext;
}

namespace korvex::test {

// Creates a sample school of `students` in `folder` and brings `context` to
// where start-up leaves it before the login: the settings read, the school
// connected with its term, the short codes in place. exam.mdb is left to
// the caller (SQLite directly, or through ODBC as an Access file). False
// with a gtest failure when any step fails.
bool startSampleSchool(AppContext& context, const QString& folder, int students, int seed);

}  // namespace korvex::test
