#include "core/ValueRules.h"

#include <array>
#include <charconv>
#include <cmath>

namespace korvex {

namespace {

// The shortest digits that read back as the same number, in plain decimal
// notation: 0.1f gives "0.1" (not the double 0.10000000149011612), 1e-05
// gives "0.00001".
template <typename Number>
QString shortestFixed(Number value) {
    std::array<char, 400> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc()) return QString::number(double(value), 'g', 17);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

}  // namespace

QString textOf(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QString();
    switch (value.typeId()) {
        case QMetaType::Double:
            return shortestFixed(value.toDouble());
        case QMetaType::Float:
            return shortestFixed(value.toFloat());
        default:
            return value.toString();
    }
}

QString withoutExponent(const QString& number) {
    const qsizetype e = number.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (e < 0) return number;
    bool ok = false;
    const int exponent = number.mid(e + 1).toInt(&ok);
    if (!ok) return number;
    QString mantissa = number.left(e);
    QString sign;
    if (mantissa.startsWith(u'-') || mantissa.startsWith(u'+')) {
        if (mantissa.startsWith(u'-')) sign = QStringLiteral("-");
        mantissa.remove(0, 1);
    }
    // The digits and where the decimal point stands among them.
    qsizetype point = mantissa.indexOf(u'.');
    if (point < 0) point = mantissa.size();
    QString digits = mantissa;
    digits.remove(u'.');
    if (digits.isEmpty()) return number;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return number;
    }
    point += exponent;
    if (point <= 0) {
        digits.prepend(QString(-point, u'0'));
        point = 0;
    } else if (point > digits.size()) {
        digits.append(QString(point - digits.size(), u'0'));
    }
    QString whole = digits.left(point);
    QString fraction = digits.mid(point);
    while (fraction.endsWith(u'0')) fraction.chop(1);
    while (whole.size() > 1 && whole.startsWith(u'0')) whole.remove(0, 1);
    if (whole.isEmpty()) whole = QStringLiteral("0");
    return sign + whole + (fraction.isEmpty() ? QString() : u'.' + fraction);
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
    // Collect the characters that can form a decimal number, skipping blanks,
    // TABs and line feeds wherever they stand, and stop at the first that
    // cannot. There is no exponent: "1e1" reads as 1, as a group code or a
    // weight is meant.
    QByteArray number;
    bool sawDigit = false, sawPoint = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') continue;
        if (c >= u'0' && c <= u'9') {
            number.append(char(c.unicode()));
            sawDigit = true;
        } else if ((c == u'+' || c == u'-') && number.isEmpty()) {
            number.append(char(c.unicode()));
        } else if (c == u'.' && !sawPoint) {
            number.append('.');
            sawPoint = true;
        } else {
            break;
        }
    }
    if (!sawDigit) return 0.0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    // Only a number too long for a double fails here; it reads as 0.
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
