#include "db/ExamNumber.h"

namespace korvex {

std::optional<int> validExamNumber(const QString& examNo) {
    if (examNo.size() != 1) return std::nullopt;
    const QChar c = examNo.at(0);
    if (c < u'1' || c > u'6') return std::nullopt;
    return c.unicode() - u'0';
}

QString rosterTableName(int exam) { return QStringLiteral("periodical%1").arg(exam); }
QString scoreColumnName(int exam) { return QStringLiteral("考試成績%1").arg(exam); }
QString weightColumnName(int exam) { return QStringLiteral("考試比例%1").arg(exam); }

}  // namespace korvex
