#include "exam/ExportedScore.h"

#include <cmath>

#include "core/ValueRules.h"

namespace korvex {
namespace {

// A number as the grading program's scores have always been read: as text
// with at most 15 significant digits (7 for a single-precision column), the
// way the Basic runtime printed a number. A score summed from half and tenth
// points can come out as 72.50000000000001 or 73.49999999999999; read this
// way it is the 72.5 or 73.5 the teacher sees, and rounds as that. The text
// is plain decimal notation: a tiny value reads as 0.00001, never as the
// "1e-05" that would read back as 1.
QString numberText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QString();
    switch (value.typeId()) {
        case QMetaType::Double:
            return withoutExponent(QString::number(value.toDouble(), 'g', 15));
        case QMetaType::Float:
            return withoutExponent(QString::number(double(value.toFloat()), 'g', 7));
        default:
            return textOf(value);
    }
}

}  // namespace

double exportedScore(const QVariant& absence, const QVariant& score2) {
    if (leadingNumber(numberText(absence)) > 0) return -9;
    return roundHalfEven(leadingNumber(numberText(score2)));
}

QVariant exportedScoreValue(double score) {
    // Any real score fits; an absurd one is passed on as it is rather than
    // overflowing the integer.
    if (std::isfinite(score) && std::fabs(score) < 1e15) return QVariant(qlonglong(score));
    return QVariant(score);
}

}  // namespace korvex
