#include <gtest/gtest.h>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "TestFolder.h"
#include "ToolProcess.h"

using korvex::test::batchArguments;
using korvex::test::runTool;
using korvex::test::TestFolder;
using korvex::test::ToolRun;

namespace {

// Runs one operation of the desktop program from start-up and login on.
// It ends with status 0 unless `status` says otherwise (3 after a reported problem).
ToolRun batch(const TestFolder& folder, const QString& operation, const QStringList& extra = {},
              int status = 0) {
    ToolRun run =
        runTool(QStringLiteral("korvex-batch"), batchArguments(folder.path(), operation, extra));
    EXPECT_EQ(run.exitCode, status) << operation.toStdString() << ": " << run.err.toStdString();
    return run;
}

QString lastText(const ToolRun& run) {
    return run.boxes.isEmpty() ? QString()
                               : run.boxes.last().value(QStringLiteral("text")).toString();
}

// The score the school should hold for a graded roster row.
QString expectedScore(const QString& score2, const QString& abs) {
    if (abs.toDouble() > 0) return QStringLiteral("-9");
    return QString::number(std::nearbyint(score2.toDouble()));  // halves to even
}

TEST(EndToEnd, SampleSchoolFromBaseDataToExportedScores) {
    TestFolder folder;
    const QString exam = folder.file(QStringLiteral("exam.mdb"));
    const QString school = folder.file(QStringLiteral("school.sqlite"));
    ToolRun created = runTool("korvex-sample",
                              {QStringLiteral("create"), QStringLiteral("--folder"), folder.path(),
                               QStringLiteral("--students"), QStringLiteral("120"),
                               QStringLiteral("--seed"), QStringLiteral("11")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();

    // The sample school's doubled seat is reported: the run ends with status 3.
    batch(folder, QStringLiteral("students"), {}, 3);
    for (const char* operation : {"teachers", "courses"})
        batch(folder, QString::fromLatin1(operation));
    ASSERT_FALSE(TestFolder::rows(exam, QStringLiteral("select sid from name")).isEmpty());

    // Rebuild: one row per student of exam.mdb and six-character subject
    // weighted in exam 1, in the current term.
    const ToolRun rebuilt = batch(folder, QStringLiteral("roster"),
                                  {QStringLiteral("--answer"), QStringLiteral("yes")});
    ASSERT_GE(rebuilt.boxes.size(), 2);
    EXPECT_EQ(rebuilt.boxes.first().value(QStringLiteral("kind")).toString(),
              QStringLiteral("question"));
    EXPECT_TRUE(lastText(rebuilt).contains(QStringLiteral("考試科目資料匯入完成!")))
        << lastText(rebuilt).toStdString();
    const QStringList roster =
        TestFolder::rows(exam, QStringLiteral("select sid, sub from periodical1"));
    ASSERT_FALSE(roster.isEmpty());
    const QStringList term =
        TestFolder::rows(school, QStringLiteral("select 學年度, 學期別 from z_system"));
    ASSERT_EQ(term.size(), 1);
    const QStringList yearSemester = term.first().split(u'|');
    QSet<QString> students;
    for (const QString& sid : TestFolder::rows(exam, QStringLiteral("select sid from name")))
        students << sid;
    int expectedRows = 0;
    int missingRows = 0;
    for (const QString& row : TestFolder::rows(
             school, QStringLiteral(
                         "select rtrim(s.身份證號), rtrim(s.科目碼) from sbscore s join sbcourse c "
                         "on s.科目碼 = c.科目碼 and s.班級碼 = c.班級碼 where s.學年度 = '%1' "
                         "and s.學期別 = '%2' and c.考試比例1 > 0")
                         .arg(yearSemester.value(0).trimmed(), yearSemester.value(1).trimmed()))) {
        const QStringList parts = row.split(u'|');
        if (parts.value(1).size() != 6) continue;
        if (students.contains(parts.value(0)))
            ++expectedRows;
        else
            ++missingRows;
    }
    EXPECT_EQ(roster.size(), expectedRows);
    // The sample school's students whose class has no short code are not in
    // exam.mdb; the completion counts their rows instead of passing over them.
    ASSERT_GT(missingRows, 0);
    EXPECT_TRUE(lastText(rebuilt).contains(
        QStringLiteral("他們的 %1 筆考試科目資料未匯入").arg(missingRows)))
        << lastText(rebuilt).toStdString();

    // The grading program scores the roster; an update keeps every score.
    ToolRun graded =
        runTool("korvex-sample", {QStringLiteral("grade"), QStringLiteral("--folder"),
                                  folder.path(), QStringLiteral("--exam"), QStringLiteral("1")});
    ASSERT_EQ(graded.exitCode, 0) << graded.err.toStdString();
    const QString gradedRows =
        QStringLiteral("select sid, sub, score2, abs, upload from periodical1 order by sid, sub");
    const QStringList beforeUpdate = TestFolder::rows(exam, gradedRows);
    batch(folder, QStringLiteral("roster"), {QStringLiteral("--answer"), QStringLiteral("no")});
    EXPECT_EQ(TestFolder::rows(exam, gradedRows), beforeUpdate);

    // Export: every graded row's score reaches the school, and only those rows.
    const ToolRun exported = batch(folder, QStringLiteral("export"));
    EXPECT_TRUE(lastText(exported).endsWith(QStringLiteral("考試科目成績資料匯出完成!")))
        << lastText(exported).toStdString();
    QHash<QString, QString> held;
    for (const QString& row : TestFolder::rows(
             school, QStringLiteral("select 身份證號, 科目碼, 考試成績1 from sbscore where 學年度 "
                                    "= '%1' and 學期別 = '%2'")
                         .arg(yearSemester.value(0).trimmed(), yearSemester.value(1).trimmed()))) {
        const QStringList parts = row.split(u'|');
        held.insert(parts.value(0) + u'|' + parts.value(1), parts.value(2));
    }
    int sent = 0, waiting = 0;
    for (const QString& row : beforeUpdate) {
        const QStringList p = row.split(u'|');
        const QString key = p.value(0) + u'|' + p.value(1);
        if (p.value(4) == QLatin1String("1")) {
            ++sent;
            EXPECT_EQ(held.value(key), expectedScore(p.value(2), p.value(3))) << key.toStdString();
        } else {
            ++waiting;
            EXPECT_EQ(held.value(key), QStringLiteral("<null>")) << key.toStdString();
        }
    }
    EXPECT_GT(sent, 0);
    EXPECT_EQ(
        TestFolder::rows(exam, QStringLiteral("select count(*) from periodical1 where upload = 2")),
        QStringList{QString::number(sent)});
    EXPECT_EQ(TestFolder::rows(
                  exam, QStringLiteral("select count(*) from periodical1 where upload <> 2")),
              QStringList{QString::number(waiting)});

    const ToolRun again = batch(folder, QStringLiteral("export"));
    EXPECT_TRUE(lastText(again).endsWith(QStringLiteral("沒有可供匯出的成績資料!")))
        << lastText(again).toStdString();
}

}  // namespace
