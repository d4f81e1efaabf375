#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "ScriptedWindow.h"
#include "TestFolder.h"
#include "db/Connection.h"
#include "maintenance/ExamRestore.h"
#include "menu/OperationTable.h"
#include "ops/AppContext.h"
#include "ops/ExamBackups.h"

using namespace korvex;
using korvex::test::ScriptedWindow;
using korvex::test::TestFolder;

namespace {

QStringList names(const QList<examBackups::Copy>& copies) {
    QStringList result;
    for (const auto& copy : copies) result << QFileInfo(copy.path).fileName();
    return result;
}

TEST(ExamBackups, CopiesAreWholeNamedByOperationNewestFirstAndPruned) {
    TestFolder folder;
    const QString examFile = folder.createExam();
    TestFolder::run(examFile,
                    {QStringLiteral("insert into teacher values ('T1','甲','','')"),
                     QStringLiteral("insert into periodical1 (sid, sub) values ('A', 'S')"),
                     QStringLiteral("insert into periodical3 (sid, sub) values ('B', 'S')")});
    Connection exam;
    ASSERT_TRUE(exam.openSqlite(examFile));

    QString error;
    const QString first = examBackups::take(exam, QStringLiteral("roster"), &error);
    ASSERT_FALSE(first.isEmpty()) << error.toStdString();
    EXPECT_TRUE(QFileInfo(first).fileName().startsWith(QStringLiteral("exam-")));
    EXPECT_TRUE(first.endsWith(QStringLiteral("-roster.mdb"))) << first.toStdString();
    EXPECT_EQ(QFileInfo(first).dir().dirName(), QStringLiteral("backup"));
    // A whole database of its own, readable while exam.mdb goes on.
    EXPECT_EQ(TestFolder::rows(first, QStringLiteral("select tchno from teacher")),
              QStringList{"T1"});
    EXPECT_EQ(examBackups::rowCounts(first),
              QStringLiteral("學生 0, 教師 1, 考試科目 0, 考試資料 2"));
    EXPECT_FALSE(QFileInfo::exists(first + QStringLiteral(".part")));

    // Copies of one second are told apart; the newest come first.
    const QString second = examBackups::take(exam, QStringLiteral("students"), &error);
    const QString third = examBackups::take(exam, QString(), &error);
    ASSERT_FALSE(third.isEmpty());
    const QList<examBackups::Copy> copies = examBackups::list(examFile);
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[0].path, third);
    EXPECT_EQ(copies[1].path, second);
    EXPECT_EQ(copies[2].path, first);
    EXPECT_EQ(copies[1].operation, QStringLiteral("students"));
    EXPECT_TRUE(copies[0].operation.isEmpty());

    // Files that are not our copies are neither listed nor removed.
    const QString backupDir = examBackups::folderFor(examFile);
    QFile other(QDir(backupDir).filePath(QStringLiteral("mine.mdb")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    for (int i = 0; i < examBackups::kBackupsKept; ++i)
        ASSERT_FALSE(examBackups::take(exam, QStringLiteral("classes"), &error).isEmpty());
    const QList<examBackups::Copy> kept = examBackups::list(examFile);
    EXPECT_EQ(kept.size(), examBackups::kBackupsKept);
    EXPECT_FALSE(names(kept).contains(QFileInfo(first).fileName()));
    EXPECT_TRUE(QFileInfo::exists(other.fileName()));
}

TEST(ExamBackups, ACopyThatCannotBeWrittenSaysWhy) {
    TestFolder folder;
    const QString examFile = folder.createExam();
    Connection exam;
    ASSERT_TRUE(exam.openSqlite(examFile));
    // A file where the folder should be.
    QFile blocker(folder.file(QStringLiteral("backup")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_TRUE(examBackups::take(exam, QStringLiteral("roster"), &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("backup"))) << error.toStdString();
}

TEST(ExamRestore, PutsACopyBackAfterCopyingTheCurrentContent) {
    TestFolder folder;
    const QString examFile = folder.createExam();
    TestFolder::run(examFile, {QStringLiteral("insert into teacher values ('OLD','舊','','')")});
    ScriptedWindow window;
    AppContext context;
    context.window = &window;
    ASSERT_TRUE(context.exam.openSqlite(examFile));
    context.exam.setCommandTimeout(1);  // as start-up sets it
    QString error;
    const QString copy = examBackups::take(context.exam, QStringLiteral("teachers"), &error);
    ASSERT_FALSE(copy.isEmpty()) << error.toStdString();
    // The import that followed replaced the teachers.
    ASSERT_TRUE(context.exam.execute(QStringLiteral("delete from teacher")));
    ASSERT_TRUE(
        context.exam.execute(QStringLiteral("insert into teacher values ('NEW','新','','')")));
    // While another program has exam.mdb open, the restore cannot have it
    // alone: it says so and changes nothing.
    const OperationEntry& restore = *operationNamed(QStringLiteral("restore"));
    {
        Connection reader;
        ASSERT_TRUE(reader.openSqlite(examFile));
        runOperation(context, restore, {copy});
        ASSERT_EQ(window.messages.size(), 1);
        EXPECT_TRUE(window.messages[0].failure);
        EXPECT_TRUE(
            window.messages[0].text.contains(QStringLiteral("正由電腦閱卷系統或其他電腦使用中")))
            << window.messages[0].text.toStdString();
        EXPECT_EQ(TestFolder::rows(examFile, QStringLiteral("select tchno from teacher")),
                  QStringList{"NEW"});
        EXPECT_EQ(examBackups::list(examFile).size(), 1);
        EXPECT_EQ(context.exam.access(), Connection::Access::Shared);
        window.messages.clear();
    }

    QThread::msleep(1100);  // a copy of another second
    runOperation(context, restore, {copy});

    EXPECT_EQ(TestFolder::rows(examFile, QStringLiteral("select tchno from teacher")),
              QStringList{"OLD"});
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages[0].icon, MainWindowInterface::Icon::None);
    EXPECT_TRUE(window.messages[0].text.startsWith(QStringLiteral("考試資料庫已還原為 ")))
        << window.messages[0].text.toStdString();
    // The content it replaced is a copy of its own, named for the restore.
    const QList<examBackups::Copy> copies = examBackups::list(examFile);
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(copies[0].operation, QStringLiteral("restore"));
    EXPECT_EQ(TestFolder::rows(copies[0].path, QStringLiteral("select tchno from teacher")),
              QStringList{"NEW"});
    EXPECT_TRUE(window.messages[0].text.contains(QDir::toNativeSeparators(copies[0].path)));
    EXPECT_TRUE(window.enabled);
    EXPECT_FALSE(window.busyVisible);
    // The connection goes on working on the restored content.
    EXPECT_TRUE(context.exam.execute(QStringLiteral("insert into teacher values ('X','x','','')")));
    EXPECT_EQ(TestFolder::rows(examFile, QStringLiteral("select count(*) from teacher")),
              QStringList{"2"});

    // A file that is not a copy of exam.mdb changes nothing.
    window.messages.clear();
    const QStringList before = TestFolder::rows(examFile, QStringLiteral("select * from teacher"));
    QFile junk(folder.file(QStringLiteral("junk.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database");
    junk.close();
    restoreExamDatabase(context, junk.fileName());
    restoreExamDatabase(context, folder.file(QStringLiteral("missing.mdb")));
    restoreExamDatabase(context, examFile);
    ASSERT_EQ(window.messages.size(), 3);
    for (const auto& message : window.messages) {
        EXPECT_EQ(message.icon, MainWindowInterface::Icon::Critical);
        EXPECT_TRUE(
            message.text.startsWith(QStringLiteral("考試資料庫還原失敗, 考試資料庫未變更!")));
    }
    EXPECT_EQ(TestFolder::rows(examFile, QStringLiteral("select * from teacher")), before);
    EXPECT_EQ(examBackups::list(examFile).size(), 2);
}

}  // namespace
