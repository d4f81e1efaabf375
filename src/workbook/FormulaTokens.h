#pragma once

#include <QByteArray>
#include <QString>

namespace korvex::xls {

// Parses a cell formula in A1 notation, without the leading "=", into the
// token bytes of a BIFF8 FORMULA record (reverse Polish order). Handles
// numbers, cell references with "$" for absolute parts, + - * /, unary
// minus, parentheses and the functions of a small table (ROUND). On error
// the result is empty and `error` says what is wrong.
QByteArray formulaTokens(const QString& formula, QString* error = nullptr);

// "A1"-style name of a cell, rows and columns from 0: (5, 27) -> "AB6".
QString cellName(int row, int col);
// Column letters, from 0: 27 -> "AB".
QString columnName(int col);

}  // namespace korvex::xls
