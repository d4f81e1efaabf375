#include "app/ProgramFolder.h"

#include <QDir>

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

}  // namespace korvex
