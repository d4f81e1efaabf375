#pragma once

#include <QString>

#include "sample/SchoolPlan.h"
#include "sample/SchoolWriter.h"

namespace korvex {

// A complete program folder for the demo, the tests and the benchmarks:
// exam.mdb (SQLite, the grading program's empty tables), school.sqlite (a
// school administration database full of realistic data) and ASSISTANT.INI
// pointing at it. The same options give the same data.
class SampleSchool {
public:
    using Options = sample::SampleOptions;
    using Counts = sample::SampleCounts;

    // Creates `folder` if needed. Refuses, writing nothing, when the folder
    // already holds exam.mdb (any letter case), school.sqlite or
    // ASSISTANT.INI, so that no real data is ever overwritten. On any other
    // failure the files it had begun are removed again.
    static bool create(const QString& folder, const Options& options, Counts* counts = nullptr,
                       QString* error = nullptr);

    // The one line printed after a successful create.
    static QString summary(const QString& folder, const Options& options, const Counts& counts);

    static QString schoolFileName() { return QStringLiteral("school.sqlite"); }
};

}  // namespace korvex
