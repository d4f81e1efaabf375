#pragma once

#include <QString>

namespace korvex {

// Codes the school database and the grading program share.

// A student's exam number: the 3-character class short code followed by the
// 2-character seat ("2A1" and "07" give "2A107"). The grading program finds
// an answer sheet's student by it.
QString studentExamNumber(const QString& classShortCode, const QString& seat);

// The class short code and the seat an exam number is made of: its first
// three characters and the two after them (shorter numbers give shorter or
// empty parts).
struct ExamNumberParts {
    QString classShortCode;
    QString seat;
};
ExamNumberParts splitExamNumber(const QString& examNumber);

// The placeholder teacher of every subject that has no teacher: the teacher
// table holds it, and the courses and roster rows of such subjects name it.
inline const QString kUnassignedTeacher = QStringLiteral("ZZZZ");
inline const QString kUnassignedTeacherName = QStringLiteral("未設定");

}  // namespace korvex
