#pragma once

#include <QString>

namespace korvex {

// The system's reason for a failed file operation, as the user reads it: the
// common causes in the program's words, the system's own text after them
// ("磁碟已滿 (No space left on device)"). A text the program has no words for
// comes back as it is (on a Chinese Windows it is Chinese already).
QString fileErrorText(const QString& systemText);

// Why nothing can be written into `folder`: it does not exist, it is
// read-only, its disk is full, or the system's reason for a failed test
// write. Empty when a file can be written there.
QString folderWriteProblem(const QString& folder);

}  // namespace korvex
