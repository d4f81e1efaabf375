#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The program folder: the folder given with `--folder DIR` (or
// `--folder=DIR`), else `executableFolder`. Relative folders are taken from
// the current folder; the result has no trailing separator.
QString programFolder(const QStringList& arguments, const QString& executableFolder);

}  // namespace korvex
