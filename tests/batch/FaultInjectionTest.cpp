// What an exam office meets in its busiest week, done to korvex-batch on a
// sample school: the program killed half-way (as by a power cut), a second
// copy started, another program holding a database, the grading program
// re-grading while scores go out, a read-only or full disk. Nothing may be
// lost or doubled: after each, a table holds exactly its old rows or exactly
// the complete new ones, and the next run completes the work.
// The group drives the Linux build: it kills processes, mounts file systems
// and reads Linux process ids. The Windows build runs the same code, which
// the rest of the tests check there.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>
#include <QUuid>
#include <functional>

#include "TestFolder.h"
#include "ToolProcess.h"
#include "exam/ExportedScore.h"

using namespace korvex;
using namespace korvex::test;

namespace {

// A table's whole content, in a fixed order.
using State = std::function<QStringList(const QString& folder)>;

QString examOf(const QString& folder) { return QDir(folder).filePath(QStringLiteral("exam.mdb")); }
QString schoolOf(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("school.sqlite"));
}

QStringList students(const QString& folder) {
    return TestFolder::rows(
        examOf(folder),
        QStringLiteral("select sid, examno, name, gro from name order by sid, examno"));
}

QStringList roster(const QString& folder) {
    return TestFolder::rows(examOf(folder),
                            QStringLiteral("select sid, sub, examno, tchno, examsnot, score2, "
                                           "upload from periodical1 order by sid, sub"));
}

// Every roster row flagged as exported carries the score the school holds
// for it; returns the rows that do not.
QStringList flaggedButNotSent(const QString& folder) {
    QHash<QString, QString> school;
    for (const QString& row : TestFolder::rows(
             schoolOf(folder), QStringLiteral("select 身份證號, 科目碼, 考試成績1 from sbscore "
                                              "where 學年度='113' and 學期別='1'"))) {
        const QStringList parts = row.split(u'|');
        school.insert(parts.value(0) + u'|' + parts.value(1), parts.value(2));
    }
    QStringList wrong;
    for (const QString& row :
         TestFolder::rows(examOf(folder), QStringLiteral("select sid, sub, score2, abs from "
                                                         "periodical1 where upload=2"))) {
        const QStringList parts = row.split(u'|');
        const auto value = [](const QString& text) {
            return text == QLatin1String("<null>") ? QVariant() : QVariant(text);
        };
        const double expected = exportedScore(value(parts.value(3)), value(parts.value(2)));
        const QString held = school.value(parts.value(0) + u'|' + parts.value(1));
        if (held.toDouble() != expected) wrong << row + QStringLiteral(" -> ") + held;
    }
    return wrong;
}

// korvex-batch ran the operation to its end: 0, or 3 after a warning (the
// sample school's doubled seat, for one).
bool ranToItsEnd(const ToolRun& run) { return run.exitCode == 0 || run.exitCode == 3; }

// One sample school for the whole group: base data imported, the roster of
// exam 1 built and graded.
class Faults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_prepared = new TestFolder;
        const QString path = s_prepared->path();
        ASSERT_EQ(runTool(QStringLiteral("korvex-sample"),
                          {QStringLiteral("create"), QStringLiteral("--folder"), path,
                           QStringLiteral("--students"), QStringLiteral("4000")})
                      .exitCode,
                  0);
        for (const char* operation :
             {"departments", "classes", "students", "subjects", "teachers", "courses"})
            ASSERT_TRUE(ranToItsEnd(runTool(QStringLiteral("korvex-batch"),
                                            batchArguments(path, QLatin1String(operation)))))
                << operation;
        runTool(QStringLiteral("korvex-batch"),
                batchArguments(path, QStringLiteral("roster"),
                               {QStringLiteral("--answer"), QStringLiteral("yes")}));
        ASSERT_EQ(runTool(QStringLiteral("korvex-sample"),
                          {QStringLiteral("grade"), QStringLiteral("--folder"), path,
                           QStringLiteral("--exam"), QStringLiteral("1")})
                      .exitCode,
                  0);
    }
    static void TearDownTestSuite() {
        delete s_prepared;
        s_prepared = nullptr;
    }

    // A copy of the prepared school, changed by `statements` on exam.mdb.
    QString freshCopy(const QString& name, const QStringList& statements = {}) {
        QString folder = m_work.file(name);
        copyFolder(s_prepared->path(), folder);
        if (!statements.isEmpty()) TestFolder::run(examOf(folder), statements);
        return folder;
    }

    // Runs the operation once whole, then kills it at several points of its
    // run: each time the table holds its old or its complete new content,
    // and the next run (taking over the dead program's folder lock) ends
    // with the complete new content.
    void killDuring(const QString& operation, const QStringList& extra, const QStringList& change,
                    const State& state) {
        const QString whole = freshCopy(operation + QStringLiteral("-whole"), change);
        const QStringList before = state(whole);
        const ToolRun run =
            runTool(QStringLiteral("korvex-batch"), batchArguments(whole, operation, extra));
        ASSERT_TRUE(ranToItsEnd(run)) << run.out.toStdString();
        const QStringList after = state(whole);
        ASSERT_NE(before, after) << "the operation must change something to be tested";

        int n = 0;
        for (double share : {0.3, 0.55, 0.8}) {
            const QString folder =
                freshCopy(QStringLiteral("%1-%2").arg(operation).arg(++n), change);
            auto process =
                startTool(QStringLiteral("korvex-batch"), batchArguments(folder, operation, extra));
            QThread::msleep(ulong(double(run.milliseconds) * share));
            killHard(*process);
            const QStringList now = state(folder);
            EXPECT_TRUE(now == before || now == after)
                << operation.toStdString() << " killed at " << share << ": " << now.size()
                << " rows (old " << before.size() << ", new " << after.size() << ")";
            const ToolRun again =
                runTool(QStringLiteral("korvex-batch"), batchArguments(folder, operation, extra));
            EXPECT_TRUE(ranToItsEnd(again)) << again.out.toStdString();
            EXPECT_EQ(state(folder), after) << operation.toStdString() << " after " << share;
        }
    }

    static TestFolder* s_prepared;
    TestFolder m_work;
};

TestFolder* Faults::s_prepared = nullptr;

TEST_F(Faults, KilledImportsAndRostersLeaveOldOrCompleteNewRows) {
    // Old rows that differ from what the import writes.
    killDuring(QStringLiteral("students"), {},
               {QStringLiteral("delete from name where rowid % 7 = 0"),
                QStringLiteral("update name set name = name || '*'")},
               students);
    // The rebuild replaces graded rows with empty ones.
    killDuring(QStringLiteral("roster"), {QStringLiteral("--answer"), QStringLiteral("yes")}, {},
               roster);
    // The update adds the rows a tenth of the roster lacks and confirms the rest.
    killDuring(QStringLiteral("roster"), {QStringLiteral("--answer"), QStringLiteral("no")},
               {QStringLiteral("delete from periodical1 where rowid % 10 = 0"),
                QStringLiteral("update periodical1 set examsnot = 'X'")},
               roster);
}

TEST_F(Faults, AKilledExportNeverFlagsAScoreTheSchoolDoesNotHold) {
    const QString whole = freshCopy(QStringLiteral("export-whole"));
    const ToolRun run =
        runTool(QStringLiteral("korvex-batch"), batchArguments(whole, QStringLiteral("export")));
    ASSERT_EQ(run.exitCode, 0);
    const QStringList after = roster(whole);
    for (double share : {0.3, 0.6, 0.9}) {
        const QString folder = freshCopy(QStringLiteral("export-%1").arg(share));
        auto process = startTool(QStringLiteral("korvex-batch"),
                                 batchArguments(folder, QStringLiteral("export")));
        QThread::msleep(ulong(double(run.milliseconds) * share));
        killHard(*process);
        EXPECT_TRUE(flaggedButNotSent(folder).isEmpty()) << share;
        // The next export completes what the killed one left.
        runTool(QStringLiteral("korvex-batch"), batchArguments(folder, QStringLiteral("export")));
        EXPECT_EQ(roster(folder), after) << share;
        EXPECT_TRUE(flaggedButNotSent(folder).isEmpty()) << share;
    }
}

TEST_F(Faults, ARegradeDuringTheExportIsSentByTheNextOne) {
    const QString folder = freshCopy(QStringLiteral("regrade"));
    auto exporting =
        startTool(QStringLiteral("korvex-batch"), batchArguments(folder, QStringLiteral("export")));
    QThread::msleep(150);
    const ToolRun graded = runTool(
        QStringLiteral("korvex-sample"),
        {QStringLiteral("grade"), QStringLiteral("--folder"), folder, QStringLiteral("--exam"),
         QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("7")});
    exporting->waitForFinished(120000);
    EXPECT_TRUE(flaggedButNotSent(folder).isEmpty());
    runTool(QStringLiteral("korvex-batch"), batchArguments(folder, QStringLiteral("export")));
    EXPECT_TRUE(flaggedButNotSent(folder).isEmpty());
    EXPECT_TRUE(TestFolder::rows(examOf(folder),
                                 QStringLiteral("select count(*) from periodical1 where upload=1"))
                        .value(0) == QStringLiteral("0") ||
                graded.exitCode != 0);
}

TEST_F(Faults, KilledWorkbooksLeaveEachFileOldOrComplete) {
    const QString whole = freshCopy(QStringLiteral("books-whole"));
    const QStringList all{QStringLiteral("--teachers"), QStringLiteral("All")};
    const ToolRun run = runTool(QStringLiteral("korvex-batch"),
                                batchArguments(whole, QStringLiteral("workbooks"), all));
    ASSERT_EQ(run.exitCode, 0);
    QHash<QString, QByteArray> complete;
    for (const QString& name : QDir(whole).entryList({QStringLiteral("*.xls")}, QDir::Files)) {
        if (name == QLatin1String("scorep.xls") || name == QLatin1String("scoret.xls")) continue;
        QFile file(QDir(whole).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        complete.insert(name, file.readAll());
    }
    ASSERT_GT(complete.size(), 10);

    int cutShort = 0;
    for (double share : {0.3, 0.5, 0.7}) {
        const QString folder = freshCopy(QStringLiteral("books-%1").arg(share));
        for (auto it = complete.cbegin(); it != complete.cend(); ++it) {
            QFile old(QDir(folder).filePath(it.key()));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("OLD");
        }
        auto process = startTool(QStringLiteral("korvex-batch"),
                                 batchArguments(folder, QStringLiteral("workbooks"), all));
        QThread::msleep(ulong(double(run.milliseconds) * share));
        killHard(*process);
        int replaced = 0;
        for (auto it = complete.cbegin(); it != complete.cend(); ++it) {
            QFile file(QDir(folder).filePath(it.key()));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << it.key().toStdString();
            const QByteArray bytes = file.readAll();
            EXPECT_TRUE(bytes == "OLD" || bytes == it.value()) << it.key().toStdString();
            if (bytes != "OLD") ++replaced;
        }
        if (replaced < complete.size()) ++cutShort;
    }
    // At least one kill landed while workbooks were still being written.
    EXPECT_GE(cutShort, 1);
}

TEST_F(Faults, ASecondCopyIsRefused) {
    const QString folder = freshCopy(QStringLiteral("second"));
    const QStringList before = students(folder);
    {
        // This test holds the folder as a running program would.
        QLockFile holder(QDir(folder).filePath(QStringLiteral("ASSISTANT.LCK")));
        ASSERT_TRUE(holder.tryLock(0));
        const ToolRun refused = runTool(QStringLiteral("korvex-batch"),
                                        batchArguments(folder, QStringLiteral("students")));
        EXPECT_EQ(refused.exitCode, 1);
        ASSERT_EQ(refused.boxes.size(), 1);
        EXPECT_EQ(refused.boxes[0].value(QStringLiteral("icon")).toString(),
                  QStringLiteral("critical"));
        const QString text = refused.lastText();
        EXPECT_TRUE(text.contains(QStringLiteral("正由另一個小幫手程式使用中")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QSysInfo::machineHostName())) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::number(QCoreApplication::applicationPid())))
            << text.toStdString();
        EXPECT_FALSE(QDir(QDir(folder).filePath(QStringLiteral("backup"))).exists());
    }
    EXPECT_EQ(students(folder), before);
}

// A lock left by a program that no longer runs is taken over.
TEST_F(Faults, ALockLeftByAKilledCopyIsTakenOver) {
    const QString folder = freshCopy(QStringLiteral("stale"));
    QProcess gone;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("0")});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    gone.waitForFinished();
    QFile stale(QDir(folder).filePath(QStringLiteral("ASSISTANT.LCK")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(deadPid) + "\nkorvex-batch\n" +
                QSysInfo::machineHostName().toUtf8() + "\n\n\n");
    stale.close();
    const ToolRun taken =
        runTool(QStringLiteral("korvex-batch"), batchArguments(folder, QStringLiteral("startup")));
    EXPECT_EQ(taken.exitCode, 0) << taken.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(stale.fileName()));
}

TEST_F(Faults, ADatabaseHeldByAnotherProgramStopsTheOperationAtOnceWithItsCause) {
    const QString folder =
        freshCopy(QStringLiteral("held"), {QStringLiteral("update name set name = name || '*'")});
    const QStringList before = students(folder);
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        holder.setDatabaseName(examOf(folder));
        ASSERT_TRUE(holder.open());
        QSqlQuery lock(holder);
        ASSERT_TRUE(lock.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN IMMEDIATE")));
        ASSERT_TRUE(lock.exec(QStringLiteral("update dep set name = name")));
        // Jet's lock file names who has an Access file open: one 64-byte
        // slot per user, computer then account, zero-padded.
        QFile ldb(QDir(folder).filePath(QStringLiteral("exam.ldb")));
        ASSERT_TRUE(ldb.open(QIODevice::WriteOnly));
        for (const char* user : {"OFFICE-PC", "GRADER-2"}) {
            QByteArray slot(64, '\0');
            slot.replace(0, static_cast<qsizetype>(qstrlen(user)), user);
            slot.replace(32, 5, "Admin");
            ldb.write(slot);
        }
        ldb.close();

        const ToolRun run = runTool(QStringLiteral("korvex-batch"),
                                    batchArguments(folder, QStringLiteral("students")));
        // Not a wait per row: the write lock is tried once, for the
        // database's time-out.
        EXPECT_LT(run.milliseconds, 10000);
        const QString text = run.lastText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("學生資料匯入失敗, 考試資料庫的資料未變更")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral(
            "原因: 考試資料庫 exam.mdb 正由電腦閱卷系統或其他電腦使用中 (開啟它的電腦: "
            "OFFICE-PC (Admin), GRADER-2 (Admin)), 請先關閉電腦閱卷系統")))
            << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("並存")));
        lock.exec(QStringLiteral("ROLLBACK"));
        lock = QSqlQuery();
        holder.close();
    }
    QSqlDatabase::removeDatabase(name);
    EXPECT_EQ(students(folder), before);
}

TEST_F(Faults, ABusySchoolDatabaseEndsStartUpWithinItsTimeOut) {
    // Another program writing (WAL: readers go on, writers wait), then one
    // holding the whole file (a rollback journal's exclusive lock: nobody
    // reads): either way one wait of the time-out, not one per statement.
    for (const bool exclusive : {false, true}) {
        const QString folder = freshCopy(QStringLiteral("school-held-%1").arg(exclusive));
        if (exclusive)
            TestFolder::run(schoolOf(folder), {QStringLiteral("PRAGMA journal_mode=DELETE")});
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            holder.setDatabaseName(schoolOf(folder));
            ASSERT_TRUE(holder.open());
            QSqlQuery lock(holder);
            if (exclusive) {
                ASSERT_TRUE(lock.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")));
            }
            ASSERT_TRUE(lock.exec(exclusive ? QStringLiteral("BEGIN EXCLUSIVE")
                                            : QStringLiteral("BEGIN IMMEDIATE")));
            ASSERT_TRUE(lock.exec(QStringLiteral("update z_system set 學年度 = 學年度")));
            const ToolRun run = runTool(QStringLiteral("korvex-batch"),
                                        batchArguments(folder, QStringLiteral("startup")));
            // The school database's time-out is 15 seconds.
            EXPECT_LT(run.milliseconds, 25000) << exclusive;
            EXPECT_EQ(run.exitCode, 1) << exclusive;
            EXPECT_TRUE(run.lastText().contains(QStringLiteral("校務行政資料庫正由其他程式使用中")))
                << exclusive << run.lastText().toStdString();
            lock.exec(QStringLiteral("ROLLBACK"));
            lock = QSqlQuery();
            holder.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

// A small file system of its own, for a read-only or full program folder;
// the test is skipped where this machine does not let it mount one.
class Mount {
public:
    Mount(const QString& where, const QByteArray& options) : m_where(where) {
        QDir().mkpath(where);
        m_mounted = ::mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs", 0,
                            options.constData()) == 0;
    }
    ~Mount() {
        if (m_mounted) ::umount2(QFile::encodeName(m_where).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() {
        return ::mount("tmpfs", QFile::encodeName(m_where).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString m_where;
    bool m_mounted = false;
};

TEST_F(Faults, AReadOnlyProgramFolderIsCalledThat) {
    Mount disk(m_work.file(QStringLiteral("ro")), "size=64m");
    if (!disk.mounted()) GTEST_SKIP() << "this machine does not let the test mount a file system";
    copyFolder(s_prepared->path(), m_work.file(QStringLiteral("ro")));
    ASSERT_TRUE(disk.makeReadOnly());
    const ToolRun run =
        runTool(QStringLiteral("korvex-batch"),
                batchArguments(m_work.file(QStringLiteral("ro")), QStringLiteral("students")));
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1) << run.out.toStdString();
    EXPECT_TRUE(run.lastText().contains(QStringLiteral("唯讀"))) << run.lastText().toStdString();
}

TEST_F(Faults, AFullDiskKeepsOldFilesAndRowsAndSaysSo) {
    const QString folder = m_work.file(QStringLiteral("full"));
    Mount disk(folder, "size=40m");
    if (!disk.mounted()) GTEST_SKIP() << "this machine does not let the test mount a file system";
    copyFolder(s_prepared->path(), folder);
    TestFolder::run(examOf(folder), {QStringLiteral("update name set name = name || '*'")});
    const QStringList before = students(folder);
    // Old workbooks of every teacher, then the disk filled to a few pages.
    const ToolRun first =
        runTool(QStringLiteral("korvex-batch"),
                batchArguments(folder, QStringLiteral("workbooks"),
                               {QStringLiteral("--teachers"), QStringLiteral("A0%")}));
    ASSERT_EQ(first.exitCode, 0);
    QStringList books = QDir(folder).entryList({QStringLiteral("A0*.xls")}, QDir::Files);
    ASSERT_FALSE(books.isEmpty());
    for (const QString& book : books) {
        QFile old(QDir(folder).filePath(book));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("OLD");
    }
    {
        QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(qsizetype{64} * 1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        // Room for the lock file, the log and the databases' journals, not
        // for all the workbooks nor a copy of exam.mdb.
        filler.resize(filler.size() - qint64{256} * 1024);
    }

    const ToolRun import =
        runTool(QStringLiteral("korvex-batch"), batchArguments(folder, QStringLiteral("students")));
    EXPECT_TRUE(
        import.lastText().startsWith(QStringLiteral("學生資料匯入失敗, 考試資料庫的資料未變更")))
        << "exit " << import.exitCode << ": " << import.out.toStdString()
        << import.err.toStdString();
    EXPECT_TRUE(import.lastText().contains(QStringLiteral("磁碟已滿"))) << import.out.toStdString();
    const ToolRun books2 =
        runTool(QStringLiteral("korvex-batch"),
                batchArguments(folder, QStringLiteral("workbooks"),
                               {QStringLiteral("--teachers"), QStringLiteral("A0%")}));
    // The program started and wrote what fitted; the rest is named.
    EXPECT_TRUE(books2.lastText().startsWith(QStringLiteral("產生教師登錄成績Excel檔未完成")))
        << books2.out.toStdString();
    EXPECT_TRUE(books2.lastText().contains(QStringLiteral("磁碟已滿"))) << books2.out.toStdString();
    // Each workbook is its old content or a complete new one, never cut short.
    int kept = 0;
    for (const QString& book : books) {
        QFile file(QDir(folder).filePath(book));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (bytes == "OLD")
            ++kept;
        else
            EXPECT_TRUE(bytes.startsWith("\xD0\xCF\x11\xE0") && bytes.size() % 512 == 0)
                << book.toStdString();
    }
    EXPECT_GT(kept, 0);

    QFile::remove(QDir(folder).filePath(QStringLiteral("filler")));
    EXPECT_EQ(students(folder), before);
}

}  // namespace

#endif  // _WIN32
