#include "app/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace korvex {

QString programFolder(const QStringList& arguments, const QString& executableFolder) {
    QString folder = executableFolder;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--folder") && i + 1 < arguments.size())
            folder = arguments.at(++i);
        else if (argument.startsWith(QLatin1String("--folder=")))
            folder = argument.mid(int(qstrlen("--folder=")));
    }
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString programFile(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact)) return exact;
    // Sorted, so that the same file is taken every time should several exist.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& candidate : names)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(candidate);
    return exact;
}

}  // namespace korvex
