#include "ExamFixture.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <iostream>

namespace korvex::test {

void ExamFixture::SetUp() {
    m_schoolFile = folder.createSchool();
    m_examFile = folder.createExam();
    context.settings.year = QStringLiteral("94");
    context.settings.semester = QStringLiteral("1");
    context.settings.examNo = QStringLiteral("1");
    context.settings.examName = QStringLiteral("期中考");
    window.windowCaption = QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期期中考)[高中版]");
    ASSERT_TRUE(context.school.openSqlite(m_schoolFile));
    ASSERT_TRUE(context.exam.openSqlite(m_examFile));
    context.schoolConnected = true;
    // An operation that replaces whole tables takes exam.mdb for itself,
    // which another open connection would refuse, as another program's
    // would: the set-up connections close as an operation starts.
    window.onDisable = [this] { closeSetupConnections(); };
}

void ExamFixture::closeSetupConnections() {
    for (const QString& name : std::as_const(m_setupConnections)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    m_setupConnections.clear();
}

void ExamFixture::TearDown() {
    // A failed test shows the boxes it saw, readably.
    if (HasFailure())
        for (const auto& message : std::as_const(window.messages))
            std::cerr << "box: " << message.text.toStdString() << "\n";
    closeSetupConnections();
}

void ExamFixture::insert(const QString& dbFile, const QString& statement,
                         const QVariantList& params) {
    QString name = m_setupConnections.value(dbFile);
    if (name.isEmpty()) {
        name = QUuid::createUuid().toString();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbFile);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        m_setupConnections.insert(dbFile, name);
    }
    QSqlQuery query(QSqlDatabase::database(name, false));
    ASSERT_TRUE(query.prepare(statement)) << statement.toStdString();
    for (int i = 0; i < params.size(); ++i) query.bindValue(i, params.at(i));
    EXPECT_TRUE(query.exec()) << statement.toStdString() << ": "
                              << query.lastError().text().toStdString();
}

void ExamFixture::addScoreRow(const QString& sid, const QString& classCode, const QString& subject,
                              const QString& year, const QString& semester) {
    insert(m_schoolFile,
           QStringLiteral("insert into sbscore(學年度,學期別,身份證號,班級碼,科目碼) "
                          "values (?,?,?,?,?)"),
           {year, semester, sid, classCode, subject});
}

void ExamFixture::addCourse(const QString& classCode, const QString& subject,
                            const QVariant& teacher, double weight1) {
    insert(m_schoolFile,
           QStringLiteral("insert into sbcourse(班級碼,科目碼,教師碼,考試比例1,考試比例2) "
                          "values (?,?,?,?,30)"),
           {classCode, subject, teacher, weight1});
}

void ExamFixture::addStudent(const QString& sid, const QString& examno, const QString& name,
                             const QString& gro) {
    insert(m_examFile,
           QStringLiteral("insert into name(class,seat,name,sid,examno,gro) values (?,?,?,?,?,?)"),
           {examno.left(3), examno.mid(3), name, sid, examno, gro});
}

void ExamFixture::addRosterRow(const QString& sid, const QString& examno, const QString& sub,
                               const QString& examsnot, const QVariant& score2, const QVariant& abs,
                               int upload) {
    insert(m_examFile,
           QStringLiteral("insert into periodical1(sid,class,seat,examno,namec,sub,tchno,gro,"
                          "examsnot,score,score1,score2,spec,abs,upload) "
                          "values (?,?,?,?,'舊名',?,'T000','01',?,0,0,?,0,?,?)"),
           {sid, examno.left(3), examno.mid(3), examno, sub, examsnot, score2, abs, upload});
}

QStringList ExamFixture::roster(const QString& columns) const {
    return TestFolder::rows(m_examFile,
                            QStringLiteral("select ") + columns +
                                QStringLiteral(" from periodical1 order by sid, sub, examno"));
}

QString ExamFixture::lastText() const { return lastMessage().body; }

QString ExamFixture::lastReason() const { return lastMessage().reason; }

QString ExamFixture::backupNamed() const { return lastMessage().backup; }

}  // namespace korvex::test
