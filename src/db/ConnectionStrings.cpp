#include "db/ConnectionStrings.h"

#include <QDir>

namespace korvex {

QString odbcQuoted(const QString& value) {
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString freeTdsQuoted(const QString& value) { return u'{' + value + u'}'; }

QString accessConnectionString(const QString& file) {
    // The ACE driver's name, registered by both its 32- and 64-bit builds;
    // it opens the old Jet files as well.
    return QStringLiteral("Driver={Microsoft Access Driver (*.mdb, *.accdb)};DBQ=%1;")
        .arg(odbcQuoted(QDir::toNativeSeparators(file)));
}

}  // namespace korvex
