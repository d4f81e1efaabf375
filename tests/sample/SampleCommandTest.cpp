#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "TestFolder.h"
#include "ToolProcess.h"

using korvex::test::TestFolder;

namespace {

korvex::test::ToolRun sample(const QStringList& arguments) {
    return korvex::test::runTool(QStringLiteral("korvex-sample"), arguments, {{}, {}, {}, 60000});
}

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SampleCommand, CreateThenGradeAProgramFolder) {
    TestFolder folder;
    const QString dir = folder.file(QStringLiteral("school"));
    korvex::test::ToolRun created =
        sample({"create", "--folder", dir, "--students", "120", "--seed=3", "--vocational"});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.err.isEmpty()) << created.err.toStdString();
    // One summary line naming the folder and the enrolled students.
    EXPECT_EQ(created.out.count(u'\n'), 1);
    EXPECT_TRUE(created.out.contains(QStringLiteral("在學 120"))) << created.out.toStdString();
    EXPECT_TRUE(created.out.contains(QStringLiteral("高職版")));
    const QString school = QDir(dir).filePath(QStringLiteral("school.sqlite"));
    EXPECT_EQ(TestFolder::rows(school, "SELECT 使用者權限 FROM z_user WHERE 使用者碼 = 'admin'"),
              QStringList{"A"});

    // Running it again must not overwrite anything.
    const QByteArray before = contents(school);
    korvex::test::ToolRun again = sample({"create", "--folder", dir});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("不會覆蓋"))) << again.err.toStdString();
    EXPECT_TRUE(again.out.isEmpty());
    EXPECT_EQ(contents(school), before);

    // Grading needs a roster: without one it says so and fails.
    korvex::test::ToolRun empty = sample({"grade", "--folder", dir, "--exam", "1"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("periodical1"))) << empty.err.toStdString();

    const QString exam = QDir(dir).filePath(QStringLiteral("exam.mdb"));
    TestFolder::run(exam,
                    {QStringLiteral("INSERT INTO periodical1 (sid, class, seat, examno, namec, "
                                    "sub, tchno, gro, examsnot, score, score1, score2, spec) "
                                    "VALUES ('A123456789', '111', '01', '11101', '林怡君', "
                                    "'010111', 'A001', '11', '0', 0, 0, 0, 0)")});
    korvex::test::ToolRun graded = sample({"grade", "--folder", dir, "--exam", "1", "--seed", "8"});
    ASSERT_EQ(graded.exitCode, 0) << graded.err.toStdString();
    EXPECT_EQ(graded.out.count(u'\n'), 1);
    EXPECT_TRUE(graded.out.contains(QStringLiteral("periodical1"))) << graded.out.toStdString();
    // One row: graded unless its sheet happens to be unread, which the line says.
    const QStringList row = TestFolder::rows(exam, "SELECT upload FROM periodical1");
    EXPECT_TRUE(graded.out.contains(row == QStringList{"1"} ? QStringLiteral(": 1 筆")
                                                            : QStringLiteral("未評分 1 筆")))
        << graded.out.toStdString();
}

TEST(SampleCommand, BadUsageExitsWithTwoAndTheUsage) {
    TestFolder folder;
    const QString dir = folder.path();
    const QList<QStringList> bad{
        {},
        {"plant", "--folder", dir},
        {"create"},
        {"create", "--folder"},
        {"create", "--folder", dir, "--students", "many"},
        {"create", "--folder", dir, "--exam", "1"},
        {"create", "--folder", dir, "--seed", "-4"},
        {"grade", "--folder", dir},
        {"grade", "--folder", dir, "--exam", "9"},
        {"grade", "--folder", dir, "--exam", "1", "--vocational"},
    };
    for (const QStringList& arguments : bad) {
        const korvex::test::ToolRun run = sample(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("用法"))) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(QDir(dir).entryList(QDir::Files).isEmpty());

    // A number of students out of range is a failure with its reason.
    const korvex::test::ToolRun tooMany =
        sample({"create", "--folder", dir, "--students", "999999"});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_TRUE(tooMany.err.contains(QStringLiteral("學生人數"))) << tooMany.err.toStdString();

    const korvex::test::ToolRun help = sample({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("korvex-sample create")));
    const korvex::test::ToolRun version = sample({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("korvex-sample 1.0.0") + korvex::test::consoleLineEnd());
}

}  // namespace
