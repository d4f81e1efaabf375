#pragma once

#include <QString>
#include <QVariant>

namespace korvex {

// Text and number rules the school database and the grading program agree on.
// Codes are fixed-width text, padded with blanks; numbers are read leniently
// from text the way the old Basic runtime read them.

// A database NULL reads as the empty text; a number reads in plain decimal
// notation, never with an exponent (0.00001, not 1e-05), so that
// leadingNumber reads it back as the same number.
QString textOf(const QVariant& value);

// A number written with an exponent ("-1.5e-05", "1E+20") rewritten in plain
// decimal notation ("-0.000015", "100000000000000000000"), the same digits;
// any other text comes back unchanged.
QString withoutExponent(const QString& number);

// Removes trailing blanks (U+0020 only); leading blanks stay.
QString rtrimBlanks(const QString& text);
// Removes leading and trailing blanks (U+0020 only).
QString trimBlanks(const QString& text);

// The numeric value of the text's leading decimal number: blanks are skipped
// anywhere, one sign, digits with one decimal point, no exponent ("1e1" reads
// as 1); a text that does not begin with a number reads as 0.
double leadingNumber(const QString& text);

// Rounds to a whole number, halves to the even neighbour (84.5 -> 84, 85.5 -> 86).
double roundHalfEven(double value);

// Writes a whole number with at least `digits` digits, padded with leading
// zeros; the integer part is never cut (width 2: 7 -> "07", 123 -> "123"),
// a negative number keeps its sign in front (-7 -> "-07").
QString zeroPadded(long long value, int digits);

// The busy display's progress text: counter and maximum with six digits each,
// "000012/000345".
QString progressText(long long counter, long long maximum);

}  // namespace korvex
