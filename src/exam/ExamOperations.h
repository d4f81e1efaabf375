#pragma once

namespace korvex {

struct AppContext;

// The exam menu: build or refresh the roster of the configured exam in
// exam.mdb, and send its graded scores back to the school database.
void ImportExamRoster(AppContext& context);
void ExportScores(AppContext& context);

}  // namespace korvex
