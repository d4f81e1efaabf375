#pragma once

#include <QString>
#include <QVariantList>

namespace korvex {

// The statements the score workbooks read from the school database, and the
// names derived from their rows. Values are bound parameters, never text of
// the statement.

struct BoundQuery {
    QString sql;
    QVariantList params;
};

// The courses of the teachers the answer names: a pattern when it ends in
// "%", every teacher for "All" in any case, otherwise one teacher code. Rows
// come by teacher code, then by class short code descending. The answer has
// its trailing blanks removed already.
BoundQuery courseQuery(const QString& answer);

// The students of every course of those teachers in one term, in one read:
// `cno`, `subjno` (the course's class and subject, as courseKey takes
// them), `cname`, `seatno`; by course, then by seat number.
BoundQuery courseStudentsQuery(const QString& answer, const QString& year, const QString& semester);

// A course as the school database matches its rows: class and subject code
// with trailing blanks ignored.
QString courseKey(const QString& classCode, const QString& subjectCode);

// "T012-王小明": teacher code and name, each trimmed of blanks at both ends.
QString teacherKey(const QString& code, const QString& name);

// The file name of a teacher's workbook: the teacher key with ".xls". A
// character that Windows or Linux refuse in a file name is replaced by its
// full-width form (／ ＼ ： ＊ ？ ＂ ＜ ＞ ｜), a control character by "＿", so
// every key gives a file and the name still reads like the key.
QString teacherFileName(const QString& key);

// "94 學年度  第 1 學期學生成績表 101-國文"
QString courseTitle(const QString& year, const QString& semester, const QString& sheetName);

}  // namespace korvex
