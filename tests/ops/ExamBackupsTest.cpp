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
    // The cause is named, so that the user knows what to move.
    EXPECT_TRUE(error.contains(QStringLiteral("已有同名的檔案"))) << error.toStdString();
}

// A backup killed half-way leaves its .part file; the next backup removes
// it, and a restore too, so that backup/ holds only whole copies.
TEST(ExamBackups, PartFilesOfAKilledBackupAreRemovedByTheNextOne) {
    TestFolder folder;
    const QString examFile = folder.createExam();
    Connection exam;
    ASSERT_TRUE(exam.openSqlite(examFile));
    QDir().mkpath(folder.file(QStringLiteral("backup")));
    const QString part = folder.file(QStringLiteral("backup/exam-20261208-101500-roster.mdb.part"));
    const QString other = folder.file(QStringLiteral("backup/notes.txt"));
    for (const QString& name : {part, other}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half");
    }
    QString error;
    const QString copy = examBackups::take(exam, QStringLiteral("roster"), &error);
    ASSERT_FALSE(copy.isEmpty()) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(part));
    EXPECT_TRUE(QFileInfo::exists(other));  // not the program's
    EXPECT_EQ(examBackups::list(examFile).size(), 1);

    QFile again(part);
    ASSERT_TRUE(again.open(QIODevice::WriteOnly));
    again.close();
    ASSERT_TRUE(examBackups::restore(exam, copy, &error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(part));
}

}  // namespace
