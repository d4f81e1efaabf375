#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace korvex {

// One JSON object on one line, its members in the given order, every value
// a string. Text is written as UTF-8; quotes, backslashes and control
// characters are escaped.
QString jsonLine(const QList<QPair<QString, QString>>& members);

}  // namespace korvex
