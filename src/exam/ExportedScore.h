#pragma once

#include <QVariant>

namespace korvex {

// The score the export writes for one roster row: -9 for an absent student
// (`abs`, read by its leading number, greater than 0), otherwise the graded
// score `score2` read the same way and rounded to a whole number, halves to
// the even neighbour. A NULL or non-numeric value reads as 0. A floating-point
// value is read from its text with 15 significant digits, so that noise in
// the last digits does not move a half point.
double exportedScore(const QVariant& absence, const QVariant& score2);

// The score as the value bound into the update: a whole number, so that it
// reaches the school database without a decimal point.
QVariant exportedScoreValue(double score);

}  // namespace korvex
