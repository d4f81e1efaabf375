#include "exam/ExportedScore.h"

#include <cmath>

#include "db/ValueRules.h"

namespace korvex {

double exportedScore(const QVariant& absence, const QVariant& score2) {
    if (leadingNumber(textOf(absence)) > 0) return -9;
    return roundHalfEven(leadingNumber(textOf(score2)));
}

QVariant exportedScoreValue(double score) {
    // Any real score fits; an absurd one is passed on as it is rather than
    // overflowing the integer.
    if (std::isfinite(score) && std::fabs(score) < 1e15) return QVariant(qlonglong(score));
    return QVariant(score);
}

}  // namespace korvex
