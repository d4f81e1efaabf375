#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The program folder: the folder given with `--folder DIR` (or
// `--folder=DIR`), else `executableFolder`. Relative folders are taken from
// the current folder; the result has no trailing separator.
QString programFolder(const QStringList& arguments, const QString& executableFolder);

// The path of file `name` in `folder`, found whatever its letter case as
// Windows would find it (a folder copied from Windows may hold
// "assistant.ini"); the exact name when it exists or when no file matches.
QString programFile(const QString& folder, const QString& name);

}  // namespace korvex
