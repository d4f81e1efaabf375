#pragma once

namespace korvex {

struct AppContext;

// Asks which teachers, then writes one protected score-entry workbook per
// teacher into the program folder.
void MakeScoreWorkbooks(AppContext& context);

}  // namespace korvex
