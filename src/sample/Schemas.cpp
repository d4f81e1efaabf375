#include "sample/Schemas.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace korvex {
namespace {

// A text column of SQL Server's nvarchar(n): longer values are refused.
QString sized(const QString& column, int length) {
    return QStringLiteral("%1 TEXT CHECK (length(%1) <= %2)").arg(column).arg(length);
}

// A numeric column of SQL Server: a number, or text that reads as one, is
// stored as a number; other text ('abc', '30%', '') is refused, as the
// server refuses to convert it.
QString numeric(const QString& column) {
    return QStringLiteral("%1 REAL CHECK (typeof(%1) IN ('integer', 'real', 'null'))").arg(column);
}

}  // namespace

QStringList schoolSchema() {
    QStringList s;
    s << QStringLiteral(
             "CREATE TABLE sastuden (學號 TEXT, %1, %2, %3, %4, 在學狀態 TEXT DEFAULT '', "
             "在學學期 TEXT, 姓名 TEXT, 性別 TEXT, 身份證號 TEXT, 學期類組別 TEXT, "
             "通縣市區 TEXT, 通郵遞區號 TEXT, 通號碼地址 TEXT, 家長姓名 TEXT)")
             .arg(sized(QStringLiteral("在學科別"), 3), sized(QStringLiteral("在學年級"), 1),
                  sized(QStringLiteral("在學班次"), 2), sized(QStringLiteral("在學座號"), 2));
    s << QStringLiteral("CREATE INDEX sastuden_class ON sastuden (在學科別, 在學年級, 在學班次)");
    // Score rows find their student by ID number (the workbooks' student query).
    s << QStringLiteral("CREATE INDEX sastuden_id ON sastuden (身份證號)");
    s << QStringLiteral("CREATE TABLE z_dept (%1 PRIMARY KEY, 科別中文名 TEXT)")
             .arg(sized(QStringLiteral("科別碼"), 3));
    s << QStringLiteral(
             "CREATE TABLE z_class (%1 PRIMARY KEY, 班級簡稱 TEXT, 班級名稱 TEXT, 班級類組 TEXT)")
             .arg(sized(QStringLiteral("班級碼"), 6));
    s << QStringLiteral("CREATE TABLE z_ugroup (類組碼 TEXT, 類組名稱 TEXT)");
    s << QStringLiteral("CREATE TABLE z_course (%1 PRIMARY KEY, 科目中文名 TEXT, 科目簡稱 TEXT)")
             .arg(sized(QStringLiteral("科目碼"), 7));
    s << QStringLiteral(
        "CREATE TABLE z_teach (教師碼 TEXT PRIMARY KEY, 姓名 TEXT, 身份證號 TEXT, 密碼 TEXT)");
    QStringList weights;
    for (int exam = 1; exam <= 6; ++exam)
        weights << numeric(QStringLiteral("考試比例%1").arg(exam));
    s << QStringLiteral("CREATE TABLE sbcourse (班級碼 TEXT, 科目碼 TEXT, 教師碼 TEXT, %1)")
             .arg(weights.join(QStringLiteral(", ")));
    s << QStringLiteral("CREATE INDEX sbcourse_class ON sbcourse (班級碼, 科目碼)");
    s << QStringLiteral("CREATE INDEX sbcourse_teacher ON sbcourse (教師碼)");
    s << QStringLiteral(
        "CREATE TABLE sbscore (學年度 TEXT, 學期別 TEXT, 身份證號 TEXT, 班級碼 TEXT, 科目碼 TEXT, "
        "考試成績1 REAL, 考試成績2 REAL, 考試成績3 REAL, 考試成績4 REAL, 考試成績5 REAL, "
        "考試成績6 REAL)");
    s << QStringLiteral("CREATE INDEX sbscore_student ON sbscore (身份證號, 科目碼)");
    s << QStringLiteral("CREATE INDEX sbscore_class ON sbscore (班級碼, 科目碼)");
    s << QStringLiteral("CREATE TABLE z_system (學年度 TEXT, 學期別 TEXT)");
    s << QStringLiteral("CREATE TABLE z_user (使用者碼 TEXT, 使用者密碼 TEXT, 使用者權限 TEXT)");
    s << QStringLiteral(
        "CREATE TABLE z_name (考試名稱1 TEXT, 考試名稱2 TEXT, 考試名稱3 TEXT, 考試名稱4 TEXT, "
        "考試名稱5 TEXT, 考試名稱6 TEXT)");
    return s;
}

QStringList examSchema() {
    QStringList s;
    s << QStringLiteral("CREATE TABLE dep (%1 PRIMARY KEY, name TEXT)")
             .arg(sized(QStringLiteral("class"), 2));
    s << QStringLiteral("CREATE TABLE class (%1 PRIMARY KEY, name TEXT, %2, %3)")
             .arg(sized(QStringLiteral("class"), 3), sized(QStringLiteral("dep"), 2),
                  sized(QStringLiteral("yy"), 1));
    s << QStringLiteral("CREATE TABLE name (class TEXT, %1, name TEXT, sid TEXT, %2, %3)")
             .arg(sized(QStringLiteral("seat"), 2), sized(QStringLiteral("examno"), 5),
                  sized(QStringLiteral("gro"), 2));
    s << QStringLiteral("CREATE INDEX name_examno ON name (examno)");
    // Subjects and teachers take repeated codes: a subject the school names
    // twice gives two rows, and teachers sharing a code (the placeholder ZZZZ
    // included) are found by the teacher import's check, not refused.
    s << QStringLiteral("CREATE TABLE subject (%1, name TEXT)")
             .arg(sized(QStringLiteral("class"), 6));
    s << QStringLiteral("CREATE INDEX subject_class ON subject (class)");
    s << QStringLiteral("CREATE TABLE teacher (tchno TEXT, name TEXT, idno TEXT, passwd TEXT)");
    s << QStringLiteral("CREATE INDEX teacher_tchno ON teacher (tchno)");
    s << QStringLiteral(
        "CREATE TABLE course (clsno TEXT, subjno TEXT, tchno TEXT, ratio1 REAL, ratio2 REAL, "
        "ratio3 REAL, ratio4 REAL, ratio5 REAL, ratio6 REAL)");
    for (int exam = 1; exam <= 6; ++exam) {
        s << QStringLiteral(
                 "CREATE TABLE periodical%1 (sid TEXT, class TEXT, seat TEXT, examno TEXT, "
                 "namec TEXT, sub TEXT, tchno TEXT, gro TEXT, examsnot TEXT, score REAL, "
                 "score1 REAL, score2 REAL, spec REAL, abs REAL, upload INTEGER DEFAULT 0)")
                 .arg(exam);
        s << QStringLiteral("CREATE INDEX periodical%1_student ON periodical%1 (sid, sub)")
                 .arg(exam);
        s << QStringLiteral("CREATE INDEX periodical%1_upload ON periodical%1 (upload)").arg(exam);
    }
    return s;
}

bool createSqliteDatabase(const QString& path, const QStringList& schema, QString* error) {
    if (QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("檔案已存在: %1").arg(path);
        return false;
    }
    const QString name = QStringLiteral("korvex-create-%1").arg(path);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            if (error) *error = db.lastError().text();
            ok = false;
        } else {
            QSqlQuery query(db);
            db.transaction();
            for (const QString& statement : schema) {
                if (!query.exec(statement)) {
                    if (error) *error = query.lastError().text() + QStringLiteral(": ") + statement;
                    ok = false;
                    break;
                }
            }
            ok ? db.commit() : db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

}  // namespace korvex
