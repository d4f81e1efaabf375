#pragma once

#include <QString>

namespace korvex {

struct AppContext;

// Menu item 7 of the base-data menu: asks which teachers, then writes one
// protected score-entry workbook per teacher into the program folder.
void MakeScoreWorkbooks(AppContext& context);

// Start-up writes the two workbook templates (scorep.xls, scoret.xls) into
// the program folder at every start, replacing what is there. False (with a
// reason) when a file cannot be deleted or written.
bool WriteWorkbookTemplates(const QString& appPath, QString* error = nullptr);

}  // namespace korvex
