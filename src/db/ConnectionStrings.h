#pragma once

#include <QString>

namespace korvex {

// One value of an ODBC connection string, wrapped in braces with every '}'
// doubled, so that ';', '=', '{', '}' and blanks inside it stay part of the
// value: "a;b}c" becomes "{a;b}}c}". This is the rule of the Windows driver
// manager and Microsoft's drivers.
QString odbcQuoted(const QString& value);

// The same for FreeTDS, which reads a braced value as it stands up to the
// first "};" and does not undouble "}}": the value is wrapped in braces
// unchanged. A value holding "};" cannot be passed to it at all.
QString freeTdsQuoted(const QString& value);

// The ODBC connection string for an Access file through `driver`, one of
// Microsoft's Access drivers.
QString accessConnectionString(const QString& file, const QString& driver);

}  // namespace korvex
