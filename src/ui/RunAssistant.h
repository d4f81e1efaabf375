#pragma once

#include <QString>

namespace korvex {

// Runs the desktop program on the program folder `folder` (from --folder;
// empty for the executable's folder) and returns its exit status: 1 when
// start-up ended the program (no exam.mdb, no connection, no login), else
// the event loop's status once the window is closed.
int runAssistant(const QString& folder);

}  // namespace korvex
