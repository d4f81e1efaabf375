#include "import/GroupCodes.h"

#include <cmath>

#include "core/ValueRules.h"

namespace korvex {
namespace {

bool beginsWithTen(const QString& code) { return code.left(2) == QLatin1String("10"); }

// The character at 1-based `position`, empty beyond either end.
QString characterAt(const QString& text, long long position) {
    if (position < 1 || position > text.size()) return QString();
    return text.mid(qsizetype(position - 1), 1);
}

}  // namespace

QString groupNumberCode(const QString& groupNumber) {
    // Fractions round half away from zero, as the "00" format rounds them.
    const double rounded = std::round(leadingNumber(groupNumber));
    if (std::fabs(rounded) < 1e15) return zeroPadded(static_cast<long long>(rounded), 2);
    return QString::number(rounded, 'f', 0);
}

QString classGroupCode(const QString& classCode, const QString& classGroup,
                       const QString& shortCode, const ShortCodeLookup& lookup) {
    const QString code = rtrimBlanks(classCode);
    if (beginsWithTen(code)) {
        // The group's first character as stored: a leading blank stays.
        if (!rtrimBlanks(classGroup).isEmpty()) return u'0' + classGroup.left(1);
        return lookup(code.left(3));
    }
    return u'1' + shortCode.mid(1, 1);
}

QString studentGroupCode(const QString& department, const QString& grade, const QString& semester,
                         const QString& groups, const QString& classShortCode,
                         const ShortCodeLookup& lookup) {
    if (!beginsWithTen(department)) return u'1' + classShortCode.mid(1, 1);

    double term = 2.0 * (leadingNumber(grade) - 1.0) + leadingNumber(semester);
    // Positions past the end of the group string hold nothing; start at most
    // one position beyond it (keeping any fraction) instead of counting down
    // through them.
    if (term > double(groups.size()) + 1.0) term -= std::floor(term - double(groups.size()) - 1.0);
    for (double position = term; position >= 1.0; position -= 1.0) {
        // A fractional position names the character it rounds to.
        const QString c = characterAt(groups, static_cast<long long>(roundHalfEven(position)));
        if (leadingNumber(c) > 0) return u'0' + c;
    }
    return lookup(department);
}

}  // namespace korvex
