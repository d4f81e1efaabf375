#include "db/ConnectionStrings.h"

#include <QDir>

namespace korvex {

QString odbcQuoted(const QString& value) {
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString freeTdsQuoted(const QString& value) { return u'{' + value + u'}'; }

QString accessConnectionString(const QString& file, const QString& driver) {
    return QStringLiteral("Driver=%1;DBQ=%2;")
        .arg(odbcQuoted(driver), odbcQuoted(QDir::toNativeSeparators(file)));
}

}  // namespace korvex
