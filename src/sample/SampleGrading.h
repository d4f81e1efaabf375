#pragma once

#include <QString>
#include <cstdint>

namespace korvex {

struct GradeCounts {
    int rows = 0;      // roster rows found
    int graded = 0;    // rows given a score or an absence, marked upload=1
    int absent = 0;    // of those, absent (abs 1)
    int ungraded = 0;  // rows left as they were (answer sheet not read yet)
};

// Plays the grading program on the roster of one exam (periodical1 to 6) of
// the SQLite exam.mdb in `folder`: most rows get a score (score and score2,
// some with a half point), some students are absent (abs 1, score 0), about
// one row in a hundred stays ungraded, and every graded row is marked
// upload=1, waiting for export. Each row's result depends only on the seed,
// the exam, the student id and the subject, not on the order of the rows.
// False with a message when the folder has no SQLite exam.mdb, the exam
// number is not 1 to 6, the roster is empty or the database refuses.
bool gradeSample(const QString& folder, int exam, std::uint64_t seed, GradeCounts* counts = nullptr,
                 QString* error = nullptr);

}  // namespace korvex
