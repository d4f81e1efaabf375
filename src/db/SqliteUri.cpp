#include "db/SqliteUri.h"

#include <QFileInfo>
#include <QUrl>

namespace korvex {

QString readOnlySqliteName(const QString& file, bool* isUri) {
    if (QFileInfo::exists(file + QStringLiteral("-wal"))) {
        *isUri = false;
        return file;
    }
    *isUri = true;
    return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?immutable=1");
}

}  // namespace korvex
