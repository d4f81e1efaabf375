#include "core/SchoolCodes.h"

namespace korvex {

QString studentExamNumber(const QString& classShortCode, const QString& seat) {
    return classShortCode + seat;
}

ExamNumberParts splitExamNumber(const QString& examNumber) {
    return {examNumber.left(3), examNumber.mid(3, 2)};
}

}  // namespace korvex
