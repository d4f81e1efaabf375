#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace korvex {

QString programFolder(const QString& given, const QString& executableFolder) {
    const QString folder = given.isEmpty() ? executableFolder : given;
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString programFile(const QString& folder, const QString& name) {
    const QDir dir(folder);
    QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact)) return exact;
    // Sorted, so that the same file is taken every time should several exist.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& candidate : names)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(candidate);
    return exact;
}

}  // namespace korvex
