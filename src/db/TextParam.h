#pragma once

#include <QString>
#include <QVariant>

namespace korvex {

// A text value to bind: never NULL. A null QString would be bound as NULL;
// the databases get the empty text instead, as every text column the
// program writes expects.
inline QVariant textParam(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

}  // namespace korvex
