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

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

// Only a grading database is put back: a school database, a file that is
// not a database, a missing file and one whose name reads like SQL are
// refused with a message naming the cause, and exam.mdb, backup/ and the
// source stay exactly as they were. A good source outside the program
// folder is read without a trace beside it.
TEST(ExamRestore, RefusesWhatIsNotAnExamDatabaseAndLeavesNoTraceBesideTheSource) {
    TestFolder folder;
    const QString examFile = folder.createExam();
    TestFolder::run(examFile, {QStringLiteral("insert into teacher values ('KEEP','留','','')")});
    ScriptedWindow window;
    AppContext context;
    context.window = &window;
    ASSERT_TRUE(context.exam.openSqlite(examFile));
    context.exam.setCommandTimeout(1);
    const OperationEntry& restore = *operationNamed(QStringLiteral("restore"));

    TestFolder elsewhere;
    const QString school = elsewhere.file(QStringLiteral("school.sqlite"));
    TestFolder::run(school, {QStringLiteral("create table sastuden (學號 text)"),
                             QStringLiteral("insert into sastuden values ('S1')")});
    const QString junk = elsewhere.file(QStringLiteral("notes.mdb"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    const QString sqlName = elsewhere.file(QStringLiteral("x'; DROP TABLE teacher; --.mdb"));
    const QString missing = elsewhere.file(QStringLiteral("gone.mdb"));
    const QByteArray examBefore = bytesOf(examFile);
    const QByteArray schoolBefore = bytesOf(school);

    const struct {
        QString source;
        QString cause;
    } refused[] = {
        {school, QStringLiteral("不是電腦閱卷系統的考試資料庫")},
        {junk, QStringLiteral("不是資料庫檔")},
        {missing, QStringLiteral("找不到檔案")},
        {sqlName, QStringLiteral("找不到檔案")},
    };
    for (const auto& attempt : refused) {
        SCOPED_TRACE(attempt.source.toStdString());
        window.messages.clear();
        runOperation(context, restore, {attempt.source});
        ASSERT_EQ(window.messages.size(), 1);
        EXPECT_TRUE(window.messages[0].failure);
        EXPECT_TRUE(window.messages[0].text.contains(attempt.cause))
            << window.messages[0].text.toStdString();
        EXPECT_EQ(bytesOf(examFile), examBefore);
        EXPECT_TRUE(examBackups::list(examFile).isEmpty());
        EXPECT_TRUE(context.exam.isOpen());
    }
    EXPECT_EQ(bytesOf(school), schoolBefore);
    EXPECT_EQ(TestFolder::rows(examFile, QStringLiteral("select tchno from teacher")),
              QStringList{"KEEP"});

    // A good copy kept outside the program folder.
    const QString good = elsewhere.file(QStringLiteral("saved.mdb"));
    TestFolder::run(examFile, {QStringLiteral("VACUUM INTO '%1'").arg(good)});
    TestFolder::run(good, {QStringLiteral("update teacher set tchno='SAVED'")});
    const QStringList before = QDir(elsewhere.path()).entryList(QDir::Files);
    window.messages.clear();
    runOperation(context, restore, {good});
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_FALSE(window.messages[0].failure) << window.messages[0].text.toStdString();
    EXPECT_EQ(TestFolder::rows(examFile, QStringLiteral("select tchno from teacher")),
              QStringList{"SAVED"});
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), before);
}

}  // namespace
