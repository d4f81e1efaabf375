#include "core/ExamSlot.h"

namespace korvex {

std::optional<int> examSlot(const QString& examNo) {
    if (examNo.size() != 1) return std::nullopt;
    const QChar c = examNo.at(0);
    if (c < u'1' || c > u'6') return std::nullopt;
    return c.unicode() - u'0';
}

QString rosterTableName(int slot) { return QStringLiteral("periodical%1").arg(slot); }
QString scoreColumnName(int slot) { return QStringLiteral("考試成績%1").arg(slot); }
QString weightColumnName(int slot) { return QStringLiteral("考試比例%1").arg(slot); }

}  // namespace korvex
