#include "core/ValueRules.h"

#include <cmath>

namespace korvex {

QString textOf(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QString();
    return value.toString();
}

QString rtrimBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ') --end;
    return text.left(end);
}

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    const QString right = rtrimBlanks(text);
    while (begin < right.size() && right.at(begin) == u' ') ++begin;
    return right.mid(begin);
}

double leadingNumber(const QString& text) {
    // Collect the characters that can form a number, skipping blanks, TABs and
    // line feeds wherever they stand, and stop at the first that cannot.
    QByteArray number;
    bool sawDigit = false, sawPoint = false, sawExponent = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') continue;
        if (c >= u'0' && c <= u'9') {
            number.append(char(c.unicode()));
            sawDigit = true;
        } else if ((c == u'+' || c == u'-') && (number.isEmpty() || number.endsWith('e'))) {
            number.append(char(c.unicode()));
        } else if (c == u'.' && !sawPoint && !sawExponent) {
            number.append('.');
            sawPoint = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && sawDigit && !sawExponent) {
            number.append('e');
            sawExponent = true;
        } else {
            break;
        }
    }
    // Drop an incomplete exponent ("12e", "12e-") so that strtod reads the mantissa.
    while (!number.isEmpty() &&
           (number.endsWith('e') || number.endsWith('+') || number.endsWith('-')))
        number.chop(1);
    if (!sawDigit || number.isEmpty()) return 0.0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

QString zeroPadded(long long value, int digits) {
    const QString body = QString::number(value < 0 ? -value : value).rightJustified(digits, u'0');
    return value < 0 ? u'-' + body : body;
}

QString progressText(long long counter, long long maximum) {
    return zeroPadded(counter, 6) + u'/' + zeroPadded(maximum, 6);
}

}  // namespace korvex
