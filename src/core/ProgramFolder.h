#pragma once

#include <QString>

namespace korvex {

// The program folder: `given` (the --folder option of the executables) when
// it is not empty, else `executableFolder`. A relative folder is taken from
// the current folder; the result has no trailing separator.
QString programFolder(const QString& given, const QString& executableFolder);

// The path of file `name` in `folder`, found whatever its letter case as
// Windows would find it (a folder copied from Windows may hold
// "assistant.ini"); the exact name when it exists or when no file matches.
QString programFile(const QString& folder, const QString& name);

}  // namespace korvex
