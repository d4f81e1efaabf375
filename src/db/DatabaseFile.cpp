#include "db/DatabaseFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

namespace korvex {
namespace {

// Bytes 4 to 18 of a Jet or ACE file name its engine.
bool isAccessHeader(const QByteArray& head) {
    const QByteArray name = head.mid(4, 15);
    return name == QByteArrayLiteral("Standard Jet DB") ||
           name == QByteArrayLiteral("Standard ACE DB");
}

}  // namespace

DatabaseFileKind databaseFileKind(const QString& file) {
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly)) return DatabaseFileKind::Missing;
    const QByteArray head = f.read(32);
    if (head.startsWith(QByteArray("SQLite format 3\0", 16))) return DatabaseFileKind::Sqlite;
    if (isAccessHeader(head)) return DatabaseFileKind::Access;
    return DatabaseFileKind::Unknown;
}

}  // namespace korvex
