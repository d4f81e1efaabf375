#include "exam/ExamStatements.h"

#include "core/ExamSlot.h"
#include "settings/Settings.h"

namespace korvex {

BoundQuery rosterSourceQuery(int slot, const Settings& settings) {
    return {QStringLiteral(
                "SELECT sbscore.身份證號 AS sid, sbscore.科目碼 AS sub, sbcourse.教師碼 AS tchno "
                "FROM (sbscore INNER JOIN sbcourse ON sbscore.科目碼 = sbcourse.科目碼 AND "
                "sbscore.班級碼 = sbcourse.班級碼) "
                "WHERE (sbscore.學年度 = ?) AND (sbscore.學期別 = ?) AND (sbcourse.") +
                weightColumnName(slot) + QStringLiteral(" > 0) "),
            {settings.year, settings.semester}};
}

QString rosterClearing(int slot) { return QStringLiteral("delete from ") + rosterTableName(slot); }

QString rosterMarkUnconfirmed(int slot) {
    return QStringLiteral("update ") + rosterTableName(slot) + QStringLiteral(" set examsnot='1'");
}

QString rosterStaleDeletion(int slot) {
    return QStringLiteral("delete from ") + rosterTableName(slot) +
           QStringLiteral(" where examsnot='1'");
}

QString rosterInsert(int slot) {
    return QStringLiteral("insert into ") + rosterTableName(slot) +
           QStringLiteral(
               "(sid,class,seat,examno,namec,sub,tchno,gro,examsnot,score,"
               "score1,score2,spec) values (?,?,?,?,?,?,?,?,'0',0,0,0,0)");
}

QString rosterInsertRows(int slot, int rows) {
    QString sql = rosterInsert(slot);
    const QString row = sql.mid(sql.lastIndexOf(QLatin1String(" values ")) + 8);
    for (int i = 1; i < rows; ++i) sql += u',' + row;
    return sql;
}

QString rosterUpdate(int slot) {
    return QStringLiteral("update ") + rosterTableName(slot) +
           QStringLiteral(
               " set examsnot='0',class=?,seat=?,examno=?,namec=?,tchno=?,gro=? "
               "where sid=? and sub=?");
}

BoundQuery scoreKeysQuery(const Settings& settings) {
    return {
        QStringLiteral("SELECT 身份證號 AS sid, 科目碼 AS sub FROM sbscore WHERE 學年度 = ? AND "
                       "學期別 = ?"),
        {settings.year, settings.semester}};
}

std::unique_ptr<BatchedUpdate> scoreUpdate(Connection& school, int slot, const Settings& settings) {
    return std::make_unique<BatchedUpdate>(
        school, QStringLiteral("sbscore"), scoreColumnName(slot),
        QStringList{QStringLiteral("身份證號"), QStringLiteral("科目碼")},
        QStringLiteral("sbscore.學年度 = ? AND sbscore.學期別 = ?"),
        QVariantList{settings.year, settings.semester});
}

QString exportedRowFlag(int slot, bool score2Null, bool absNull) {
    QString sql = QStringLiteral("update ") + rosterTableName(slot) +
                  QStringLiteral(" set upload=2 where sid=? and sub=? and upload*1=1");
    sql += score2Null ? QStringLiteral(" and score2 is null") : QStringLiteral(" and score2=?");
    sql += absNull ? QStringLiteral(" and abs is null") : QStringLiteral(" and abs=?");
    return sql;
}

}  // namespace korvex
