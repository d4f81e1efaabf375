#pragma once

#include <QString>

namespace korvex {

class CheckReport;
struct AppContext;

// 環境檢查: proves the program on this PC's engines without changing
// either database. Writes the report into the program folder, then shows
// it; a failed line counts as a failure (korvex-batch ends with status 3).
void runSelfCheck(AppContext& context);

// The checks alone, in their order, for whoever shows the report its own
// way.
CheckReport selfCheckReport(AppContext& context);

}  // namespace korvex
