#include "sample/SampleGrading.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVector>
#include <algorithm>
#include <cmath>

#include "core/ExamSlot.h"
#include "core/ValueRules.h"
#include "db/Connection.h"
#include "db/DatabaseFile.h"
#include "sample/SampleRandom.h"

namespace korvex {
namespace {

using sample::mixUnit;

QString examDatabase(const QString& folder) {
    const QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString& n : names)
        if (n.compare(QLatin1String("exam.mdb"), Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(n);
    return {};
}

struct Mark {
    qint64 row;
    double score;
    bool absent;
};

// The score a student gets in a subject: the student's ability, the
// subject's difficulty in this exam and a bit of luck; a sixth of the
// answers earn a half point.
double scoreFor(std::uint64_t seed, const QString& sid, const QString& key, const QString& sub) {
    const double ability = 40.0 + 55.0 * mixUnit(seed, QStringLiteral("s|") + sid);
    const double difficulty = (mixUnit(seed, QStringLiteral("d|") + sub) - 0.5) * 24.0;
    double luck = 0;
    for (int i = 0; i < 3; ++i) luck += mixUnit(seed, QStringLiteral("n%1|").arg(i) + key);
    luck = (luck - 1.5) * 2.0 * 8.0;
    const double raw = std::clamp(ability + difficulty + luck, 0.0, 100.0);
    if (raw < 99.5 && mixUnit(seed, QStringLiteral("h|") + key) < 0.16)
        return std::floor(raw) + 0.5;
    return std::round(raw);
}

}  // namespace

bool gradeSample(const QString& folder, int exam, std::uint64_t seed, GradeCounts* counts,
                 QString* error) {
    auto fail = [&](const QString& message) {
        if (error) *error = message;
        return false;
    };
    if (!examSlot(QString::number(exam)))
        return fail(QStringLiteral("考試編號必須是 1 到 6: %1").arg(exam));
    const QString file = examDatabase(folder);
    if (file.isEmpty()) return fail(QStringLiteral("資料夾中沒有 exam.mdb: %1").arg(folder));
    if (databaseFileKind(file) != DatabaseFileKind::Sqlite)
        return fail(QStringLiteral("exam.mdb 不是 SQLite 資料庫, 無法評分: %1").arg(file));

    const QString table = rosterTableName(exam);
    const std::uint64_t examSeed = seed * 0x100000001B3ULL + std::uint64_t(exam);
    GradeCounts result;
    QString message;
    const QString name = QStringLiteral("korvex-grade-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            message = QStringLiteral("無法開啟 exam.mdb: %1").arg(db.lastError().text());
        } else {
            QVector<Mark> marks;
            QSqlQuery read(db);
            read.setForwardOnly(true);
            if (!read.exec(
                    QStringLiteral("SELECT rowid, sid, sub FROM %1 ORDER BY rowid").arg(table))) {
                message = QStringLiteral("無法讀取 %1: %2").arg(table, read.lastError().text());
            } else {
                while (read.next()) {
                    ++result.rows;
                    const QString sid = trimBlanks(textOf(read.value(1)));
                    const QString sub = trimBlanks(textOf(read.value(2)));
                    const QString key = sid + u'|' + sub;
                    if (mixUnit(examSeed, QStringLiteral("u|") + key) < 0.01) {
                        ++result.ungraded;
                        continue;
                    }
                    const bool absent = mixUnit(examSeed, QStringLiteral("a|") + sid) < 0.02 ||
                                        mixUnit(examSeed, QStringLiteral("r|") + key) < 0.004;
                    marks.push_back({read.value(0).toLongLong(),
                                     absent ? 0.0 : scoreFor(examSeed, sid, key, sub), absent});
                }
                read.finish();
                if (result.rows == 0)
                    message = QStringLiteral("%1 沒有任何考生資料, 請先匯入考試資料!").arg(table);
            }
            if (message.isEmpty()) {
                db.transaction();
                QSqlQuery write(db);
                bool ok = write.prepare(
                    QStringLiteral(
                        "UPDATE %1 SET score = ?, score2 = ?, abs = ?, upload = 1 WHERE rowid = ?")
                        .arg(table));
                for (int i = 0; ok && i < marks.size(); ++i) {
                    const Mark& m = marks[i];
                    write.bindValue(0, m.score);
                    write.bindValue(1, m.score);
                    write.bindValue(2, m.absent ? 1 : 0);
                    write.bindValue(3, m.row);
                    ok = write.exec();
                    if (ok) {
                        ++result.graded;
                        if (m.absent) ++result.absent;
                    }
                }
                if (ok) ok = db.commit();
                if (!ok) {
                    message = QStringLiteral("無法寫入 %1: %2")
                                  .arg(table, write.lastError().isValid() ? write.lastError().text()
                                                                          : db.lastError().text());
                    db.rollback();
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!message.isEmpty()) return fail(message);
    if (counts) *counts = result;
    return true;
}

}  // namespace korvex
