#ifdef _WIN32
// The ODBC headers use Windows' types without including their header.
#include <windows.h>
#endif
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "HostCommand.h"
#include "TestFolder.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqlDialect.h"
#include "ops/FailureReasons.h"

using namespace korvex;
using korvex::test::hostPath;
using korvex::test::TestFolder;

TEST(SqlDialect, SqliteReceivesEquivalentsAndQuotedTextIsKept) {
    EXPECT_EQ(
        translateStatement(QStringLiteral("SELECT a + 'x+y' + b FROM dbo.t"), SqlDialect::Sqlite),
        QStringList{QStringLiteral("SELECT a || 'x+y' || b FROM t")});
    EXPECT_EQ(
        translateStatement(QStringLiteral("SELECT getdate(), LEN(RTRIM(a)) FROM t"),
                           SqlDialect::Sqlite),
        QStringList{QStringLiteral("SELECT datetime('now'), length(rtrim(RTRIM(a))) FROM t")});
    EXPECT_EQ(
        translateStatement(
            QStringLiteral("ALTER TABLE name add address nvarchar(150), father nvarchar(20) "),
            SqlDialect::Sqlite),
        (QStringList{QStringLiteral(
                         "ALTER TABLE name ADD COLUMN address TEXT CHECK (length(address) <= 150)"),
                     QStringLiteral(
                         "ALTER TABLE name ADD COLUMN father TEXT CHECK (length(father) <= 20)")}));
    const QString server = QStringLiteral("SELECT a + b FROM dbo.t");
    EXPECT_EQ(translateStatement(server, SqlDialect::SqlServer), QStringList{server});
}

TEST(Connection, MissingSqliteFileFailsAndIsNotCreated) {
    TestFolder folder;
    Connection c;
    EXPECT_FALSE(c.openSqlite(folder.file("nothing.sqlite")));
    EXPECT_TRUE(c.errorPending());
    EXPECT_FALSE(QFile::exists(folder.file("nothing.sqlite")));
}

TEST(Connection, BoundValuesGuardedStatementsAndLengthChecks) {
    TestFolder folder;
    const QString exam = folder.createExam(false);
    Connection c;
    ASSERT_TRUE(c.openSqlite(exam));

    // A quote inside a value goes in intact.
    EXPECT_TRUE(c.execute(QStringLiteral("insert into dep(class,name) values(?,?)"),
                          {QStringLiteral("01"), QStringLiteral("O'Neil 班")}));
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select name from dep")),
              QStringList{QStringLiteral("O'Neil 班")});

    // Columns added the SQL Server way refuse values longer than declared.
    c.executeGuarded(
        QStringLiteral("ALTER TABLE name add address nvarchar(5), father nvarchar(2) "));
    EXPECT_FALSE(c.errorPending());
    EXPECT_TRUE(
        c.execute(QStringLiteral("insert into name(father) values(?)"), {QStringLiteral("王五")}));
    EXPECT_FALSE(c.execute(QStringLiteral("insert into name(father) values(?)"),
                           {QStringLiteral("王小五")}));
    EXPECT_TRUE(c.errorPending());
    c.clearError();

    // A second ALTER fails (the columns exist); the guard rolls back and clears.
    EXPECT_FALSE(c.executeGuarded(QStringLiteral("ALTER TABLE name add address nvarchar(5)")));
    EXPECT_FALSE(c.errorPending());

    // A batch with one failing statement keeps nothing of the batch.
    const bool committed = c.guardedBatch([&] {
        c.execute(QStringLiteral("insert into dep(class,name) values(?,?)"),
                  {QStringLiteral("02"), QStringLiteral("b")});
        c.execute(QStringLiteral("insert into dep(class,name) values(?,?)"),
                  {QStringLiteral("123"), QStringLiteral("too long")});
    });
    EXPECT_FALSE(committed);
    EXPECT_FALSE(c.errorPending());
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select class from dep order by class")),
              QStringList{QStringLiteral("01")});

    // An error left pending by earlier work does not undo the next guarded
    // statement: an import that empties its table must find it empty.
    c.raise({QStringLiteral("left over")});
    EXPECT_TRUE(c.executeGuarded(QStringLiteral("delete from dep")));
    EXPECT_TRUE(TestFolder::rows(exam, QStringLiteral("select class from dep")).isEmpty());
    c.raise({QStringLiteral("left over")});
    EXPECT_TRUE(c.guardedBatch(
        [&] { c.execute(QStringLiteral("insert into dep(class,name) values('03','c')")); }));
    EXPECT_FALSE(c.errorPending());
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select class from dep")),
              QStringList{QStringLiteral("03")});
}

TEST(Recordset, SnapshotCountsNullsAndForwardSearch) {
    TestFolder folder;
    const QString exam = folder.createExam(false);
    TestFolder::run(exam, {QStringLiteral("insert into teacher values ('T1','甲',NULL,'')"),
                           QStringLiteral("insert into teacher values ('T2','乙','A1','x')"),
                           QStringLiteral("insert into teacher values ('T3','甲','A2','y')"),
                           QStringLiteral("insert into teacher values ('T4','丙','A3','z')")});
    Connection c;
    ASSERT_TRUE(c.openSqlite(exam));
    auto rs = OpenRecordset(c, QStringLiteral("select * from teacher order by tchno"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->recordCount(), 4);
    EXPECT_TRUE(rs->isNull(QStringLiteral("IDNO")));  // names are case-insensitive
    EXPECT_FALSE(rs->isNull(QStringLiteral("passwd")));
    EXPECT_EQ(rs->text(QStringLiteral("passwd")), QString());

    // Search forward from the current row, current row included.
    EXPECT_TRUE(rs->find(QStringLiteral("name"), QStringLiteral("甲")));
    EXPECT_EQ(rs->text(QStringLiteral("tchno")), QStringLiteral("T1"));
    EXPECT_TRUE(rs->find(QStringLiteral("name"), QStringLiteral("甲")));
    EXPECT_EQ(rs->text(QStringLiteral("tchno")), QStringLiteral("T1"));
    rs->moveNext();
    EXPECT_TRUE(rs->find(QStringLiteral("name"), QStringLiteral("甲")));
    EXPECT_EQ(rs->text(QStringLiteral("tchno")), QStringLiteral("T3"));
    rs->moveNext();
    EXPECT_FALSE(rs->find(QStringLiteral("name"), QStringLiteral("甲")));
    EXPECT_TRUE(rs->eof());
    rs->moveFirst();
    EXPECT_FALSE(rs->find(QStringLiteral("idno"), QString()));  // NULL is never equal
    EXPECT_TRUE(rs->eof());

    // An unknown column leaves a pending error on the connection.
    rs->moveFirst();
    EXPECT_FALSE(c.errorPending());
    rs->value(QStringLiteral("nosuch"));
    EXPECT_TRUE(c.errorPending());

    // Opening clears the pending error; a bad statement gives nothing.
    EXPECT_FALSE(OpenRecordset(c, QStringLiteral("select * from nosuch")));
    EXPECT_TRUE(c.errorPending());
    EXPECT_FALSE(c.pendingError()->retryable());
}

TEST(Recordset, LockedDatabaseIsTriedElevenTimes) {
    TestFolder folder;
    const QString exam = folder.createExam(false);
    {
        // WAL lets readers in while another writes; an exclusive lock does not.
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        db.setDatabaseName(exam);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")));
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ASSERT_TRUE(q.exec(QStringLiteral("insert into dep values('01','x')")));

        Connection c;
        c.setCommandTimeout(0);
        ASSERT_TRUE(c.openSqlite(exam));
        EXPECT_FALSE(OpenRecordset(c, QStringLiteral("select * from dep")));
        ASSERT_TRUE(c.pendingError());
        EXPECT_TRUE(c.pendingError()->retryable());

        q.exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
}

TEST(Connection, StatementThroughOdbc) {
    TestFolder folder;
    const QString exam = folder.createExam(false);
    Connection c;
    ASSERT_TRUE(c.openOdbc(QStringLiteral("Driver=SQLite3;Database=%1;").arg(hostPath(exam)),
                           SqlDialect::Sqlite))
        << c.pendingError()->text.toStdString();
    EXPECT_TRUE(c.execute(QStringLiteral("insert into dep(class,name) values(?,?)"),
                          {QStringLiteral("10"), QStringLiteral("普通科")}));
    auto rs = OpenRecordset(c, QStringLiteral("select class + name as k from dep"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->text(QStringLiteral("k")), QStringLiteral("10普通科"));
}

TEST(Connection, OdbcStatementsCanBeGivenTheirTimeOut) {
    // The command time-out is set on each ODBC statement through its handle;
    // a handle that is not recognised leaves every statement waiting
    // without limit.
    TestFolder folder;
    const QString exam = folder.createExam(false);
    Connection odbc;
    ASSERT_TRUE(odbc.openOdbc(QStringLiteral("Driver=SQLite3;Database=%1;").arg(hostPath(exam)),
                              SqlDialect::Sqlite));
    odbc.setCommandTimeout(15);
    auto query = odbc.select(QStringLiteral("select * from dep"), {});
    ASSERT_TRUE(query);
    void* handle = odbcStatementHandle(*query);
    ASSERT_NE(handle, nullptr);
    SQLULEN concurrency = 0;
    EXPECT_TRUE(SQL_SUCCEEDED(SQLGetStmtAttr(static_cast<SQLHANDLE>(handle), SQL_ATTR_CONCURRENCY,
                                             &concurrency, 0, nullptr)));

    Connection sqlite;
    ASSERT_TRUE(sqlite.openSqlite(exam));
    query = sqlite.select(QStringLiteral("select * from dep"), {});
    ASSERT_TRUE(query);
    EXPECT_EQ(odbcStatementHandle(*query), nullptr);
}

TEST(Connection, TransactionHoldsTheWriteLockFromItsStart) {
    // The grading program may write to exam.mdb while an operation reads and
    // then writes in one transaction; that transaction must not be lost.
    TestFolder folder;
    const QString exam = folder.createExam(false);
    Connection ours;
    ASSERT_TRUE(ours.openSqlite(exam));
    Connection other;
    other.setCommandTimeout(0);
    ASSERT_TRUE(other.openSqlite(exam));

    const bool committed = ours.guardedBatch([&] {
        auto before = OpenRecordset(ours, QStringLiteral("select * from dep"));
        ASSERT_TRUE(before);
        // The other program's write waits for ours (here: gives up at once).
        EXPECT_FALSE(other.execute(QStringLiteral("insert into dep(class,name) values('09','x')")));
        ours.execute(QStringLiteral("insert into dep(class,name) values('01','a')"));
    });
    EXPECT_TRUE(committed);
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select class from dep")),
              QStringList{QStringLiteral("01")});
    other.clearError();
    EXPECT_TRUE(other.execute(QStringLiteral("insert into dep(class,name) values('09','x')")));
}

TEST(Connection, BatchThatCannotBeginRunsNothing) {
    // Without a transaction nothing could undo the batch's statements, so a
    // batch that cannot begin one leaves the database as it was.
    TestFolder folder;
    const QString exam = folder.createExam(false);
    Connection other;
    ASSERT_TRUE(other.openSqlite(exam));
    ASSERT_TRUE(other.beginTransaction());
    ASSERT_TRUE(other.execute(QStringLiteral("insert into dep(class,name) values('09','x')")));

    Connection ours;
    ours.setCommandTimeout(0);
    ASSERT_TRUE(ours.openSqlite(exam));
    bool ran = false;
    EXPECT_FALSE(ours.guardedBatch([&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(ours.errorPending());
    EXPECT_FALSE(ours.executeGuarded(QStringLiteral("delete from dep")));

    ASSERT_TRUE(other.commitTransaction());
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select class from dep")),
              QStringList{QStringLiteral("09")});
    EXPECT_TRUE(ours.executeGuarded(QStringLiteral("delete from dep")));
    EXPECT_TRUE(TestFolder::rows(exam, QStringLiteral("select class from dep")).isEmpty());
}

TEST(Connection, FailuresAreJudgedByWhatTheyMeanForTheUser) {
    TestFolder folder;
    const QString exam = folder.createExam(false);
    const QString copy = folder.file(QStringLiteral("damaged.mdb"));
    ASSERT_TRUE(QFile::copy(exam, copy));
    {
        // The header stays; the table of tables behind it is garbage.
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(100);
        file.write(QByteArray(400, '\x5A'));
    }
    Connection damaged;
    EXPECT_FALSE(damaged.openSqlite(copy));
    ASSERT_TRUE(damaged.pendingError());
    EXPECT_EQ(damaged.pendingError()->kind, DbError::Kind::Damaged);
    EXPECT_EQ(failureReason(*damaged.pendingError(), DatabaseRole::Exam).left(10),
              QStringLiteral("考試資料庫檔案已損壞"));

    // A read-only database refuses a write as read-only.
    Connection reader;
    ASSERT_TRUE(reader.openSqlite(exam, true));
    EXPECT_FALSE(reader.execute(QStringLiteral("insert into dep values ('01','x')")));
    EXPECT_EQ(reader.pendingError()->kind, DbError::Kind::ReadOnly);
    EXPECT_TRUE(failureReason(reader, DatabaseRole::Exam)
                    .startsWith(QStringLiteral("考試資料庫 exam.mdb是唯讀的, 無法寫入")));

    // The driver's own words come after the program's, without Qt's filler.
    Connection plain;
    ASSERT_TRUE(plain.openSqlite(exam));
    EXPECT_FALSE(plain.execute(QStringLiteral("insert into nosuch values (1)")));
    EXPECT_EQ(failureReason(plain, DatabaseRole::School),
              QStringLiteral("校務行政資料庫: no such table: nosuch"));
    EXPECT_EQ(withReason(QStringLiteral("失敗!"), QStringLiteral("因為")),
              QStringLiteral("失敗!\r\n原因: 因為"));
}
