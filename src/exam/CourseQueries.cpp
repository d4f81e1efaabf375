#include "exam/CourseQueries.h"

#include "core/ValueRules.h"

namespace korvex {

namespace {

// Which teachers' courses the answer names, as a condition on sbcourse: a
// pattern when it ends in "%", every teacher for "All" in any case,
// otherwise one teacher code. The pattern test comes first: "ALL%" is a
// pattern.
BoundQuery teacherCondition(const QString& answer) {
    if (answer.endsWith(QLatin1Char('%')))
        return {QStringLiteral("len(rtrim(sbcourse.教師碼))>0 and rtrim(sbcourse.教師碼) like ?"),
                {answer}};
    if (answer.toUpper() == QLatin1String("ALL"))
        return {QStringLiteral("len(rtrim(sbcourse.教師碼))>0"), {}};
    return {QStringLiteral("rtrim(sbcourse.教師碼)=?"), {answer}};
}

}  // namespace

BoundQuery courseQuery(const QString& answer) {
    const BoundQuery teachers = teacherCondition(answer);
    return {QStringLiteral(
                "SELECT z_class.簡碼 AS clsno, z_class.班級簡稱 AS clsname, sbcourse.科目碼 AS "
                "subjno, z_course.科目簡稱 AS subjname, sbcourse.教師碼 AS tchno, z_teach.姓名 AS "
                "tchname,  sbcourse.班級碼 as cno, "
                "sbcourse.考試比例1 AS ratio1, sbcourse.考試比例2 AS ratio2,"
                "sbcourse.考試比例3 AS ratio3, sbcourse.考試比例4 AS ratio4,"
                "sbcourse.考試比例5 AS ratio5, sbcourse.考試比例6 AS ratio6 "
                "FROM sbcourse INNER JOIN z_class ON sbcourse.班級碼 = z_class.班級碼 "
                "INNER JOIN z_course ON sbcourse.科目碼 = z_course.科目碼 "
                "INNER JOIN z_teach ON sbcourse.教師碼 = z_teach.教師碼  where ") +
                teachers.sql + QStringLiteral(" order by sbcourse.教師碼, z_class.簡碼 desc"),
            teachers.params};
}

BoundQuery courseStudentsQuery(const QString& answer, const QString& year,
                               const QString& semester) {
    const BoundQuery teachers = teacherCondition(answer);
    return {QStringLiteral(
                "SELECT sbscore.班級碼 AS cno, sbscore.科目碼 AS subjno, rtrim(sastuden.姓名) AS "
                "cname, sastuden.在學座號 AS seatno "
                "FROM (sbscore INNER JOIN sastuden ON sbscore.身份證號 = sastuden.身份證號) "
                "WHERE (sbscore.學年度 = ?) AND (sbscore.學期別 = ?) AND EXISTS (SELECT 1 FROM "
                "sbcourse WHERE sbcourse.班級碼 = sbscore.班級碼 AND sbcourse.科目碼 = "
                "sbscore.科目碼 AND ") +
                teachers.sql +
                QStringLiteral(") ORDER BY sbscore.班級碼, sbscore.科目碼, sastuden.在學座號"),
            QVariantList{year, semester} + teachers.params};
}

QString courseKey(const QString& classCode, const QString& subjectCode) {
    return rtrimBlanks(classCode) + u'|' + rtrimBlanks(subjectCode);
}

QString teacherKey(const QString& code, const QString& name) {
    return trimBlanks(code) + QLatin1Char('-') + trimBlanks(name);
}

QString teacherFileName(const QString& key) {
    QString name;
    name.reserve(key.size() + 4);
    for (QChar c : key) {
        switch (c.unicode()) {
            case '/':
                name += QChar(0xFF0F);
                break;
            case '\\':
                name += QChar(0xFF3C);
                break;
            case ':':
                name += QChar(0xFF1A);
                break;
            case '*':
                name += QChar(0xFF0A);
                break;
            case '?':
                name += QChar(0xFF1F);
                break;
            case '"':
                name += QChar(0xFF02);
                break;
            case '<':
                name += QChar(0xFF1C);
                break;
            case '>':
                name += QChar(0xFF1E);
                break;
            case '|':
                name += QChar(0xFF5C);
                break;
            default:
                name += c.unicode() < 0x20 || c.unicode() == 0x7F ? QChar(0xFF3F) : c;
        }
    }
    return name + QStringLiteral(".xls");
}

QString courseTitle(const QString& year, const QString& semester, const QString& sheetName) {
    return year + QStringLiteral(" 學年度  第 ") + semester + QStringLiteral(" 學期學生成績表 ") +
           sheetName;
}

}  // namespace korvex
