#pragma once

#include <QString>

#include "sample/SchoolPlan.h"

namespace korvex::sample {

// What was written, for the summary line and the tests.
struct SampleCounts {
    int departments = 0;
    int classes = 0;
    int studentRows = 0;  // every row of sastuden
    int enrolled = 0;     // the enrolled students asked for
    int extended = 0;     // 延修
    int graduated = 0;    // 畢業
    int left = 0;         // 轉出, 休學, 退學
    int subjects = 0;     // z_course
    int teachers = 0;
    int classSubjects = 0;     // sbcourse
    int currentScoreRows = 0;  // sbscore of the current term
    int scoreRows = 0;         // sbscore of both terms
    int totalRows = 0;         // every row written to school.sqlite
};

// Writes the plan into an open, empty school database (the tables of
// schoolSchema()) in one transaction. False with a message on failure, in
// which case nothing stays written.
bool writeSchoolDatabase(const QString& connectionName, const SchoolPlan& plan,
                         SampleCounts& counts, QString* error);

}  // namespace korvex::sample
