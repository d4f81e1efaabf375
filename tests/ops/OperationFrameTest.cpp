#include <gtest/gtest.h>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "AppFolder.h"
#include "db/Recordset.h"
#include "ops/OperationFrame.h"
#include "ops/RowLoop.h"

using namespace korvex;
using namespace korvex::test;

namespace {

// exam.mdb open as start-up leaves it, in a folder of its own.
struct FrameFolder : AppFolder {
    FrameFolder() {
        examFile = folder.createExam();
        EXPECT_TRUE(context.exam.openSqlite(examFile));
        context.exam.setCommandTimeout(1);
    }
    QStringList teachers() const {
        return TestFolder::rows(examFile,
                                QStringLiteral("select tchno from teacher order by tchno"));
    }
    // The operation ended as every operation must: the window enabled
    // again, the busy display gone, no transaction left open.
    void expectEnded() const {
        EXPECT_TRUE(window.enabled);
        EXPECT_FALSE(window.busyVisible);
        EXPECT_FALSE(window.hourglass);
        EXPECT_FALSE(context.exam.inTransaction());
    }
    QString examFile;
};

// However an operation leaves its frame (committed, returned early,
// abandoned on a failed statement, or unable to begin because another
// program writes), the window is enabled again, the busy display ends and
// no transaction stays open; only the committed rows remain.
TEST(OperationFrame, EveryWayOutEnablesTheWindowAndEndsTheTransaction) {
    FrameFolder f;
    const QString failure = QStringLiteral("教師資料匯入失敗, 請重新執行!");
    auto insert = [&](const char* code) {
        return f.context.exam.execute(QStringLiteral("insert into teacher values (?,'','','')"),
                                      {QString::fromLatin1(code)});
    };

    {  // committed
        OperationFrame frame(f.context);
        frame.showBusy();
        EXPECT_FALSE(f.window.enabled);
        ASSERT_TRUE(frame.beginWrite(f.context.exam, DatabaseRole::Exam, failure));
        ASSERT_TRUE(insert("T1"));
        ASSERT_TRUE(frame.commitWrite(f.context.exam, DatabaseRole::Exam, failure));
    }
    f.expectEnded();
    EXPECT_EQ(f.teachers(), QStringList{"T1"});
    EXPECT_TRUE(f.window.messages.isEmpty());

    {  // returned early with the transaction open
        OperationFrame frame(f.context);
        frame.showBusy();
        ASSERT_TRUE(frame.beginWrite(f.context.exam, DatabaseRole::Exam, failure));
        ASSERT_TRUE(insert("T2"));
    }
    f.expectEnded();
    EXPECT_EQ(f.teachers(), QStringList{"T1"});

    {  // a statement failed: abandoned with its reason
        OperationFrame frame(f.context);
        frame.showBusy();
        ASSERT_TRUE(frame.beginWrite(f.context.exam, DatabaseRole::Exam, failure));
        ASSERT_TRUE(insert("T3"));
        ASSERT_FALSE(f.context.exam.execute(QStringLiteral("insert into nowhere values (1)")));
        EXPECT_FALSE(frame.abandon(f.context.exam, DatabaseRole::Exam, failure));
        EXPECT_FALSE(f.context.exam.errorPending());
    }
    f.expectEnded();
    EXPECT_EQ(f.teachers(), QStringList{"T1"});
    ASSERT_EQ(f.window.messages.size(), 1);
    EXPECT_TRUE(f.window.messages[0].failure);
    EXPECT_TRUE(f.lastMessage().body == failure) << f.lastMessage().body.toStdString();
    EXPECT_TRUE(f.lastMessage().reason.contains(QStringLiteral("nowhere")));
    f.window.messages.clear();

    {  // another program writes: nothing can be begun
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(f.examFile);
        ASSERT_TRUE(other.open());
        QSqlQuery begin(QStringLiteral("BEGIN IMMEDIATE"), other);
        {
            OperationFrame frame(f.context);
            frame.showBusy();
            EXPECT_FALSE(frame.beginWrite(f.context.exam, DatabaseRole::Exam, failure));
        }
        QSqlQuery rollback(QStringLiteral("ROLLBACK"), other);
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    f.expectEnded();
    ASSERT_EQ(f.window.messages.size(), 1);
    EXPECT_TRUE(f.window.messages[0].failure);
    EXPECT_FALSE(f.lastMessage().reason.isEmpty());
    EXPECT_EQ(f.window.disableCount, 4);
    EXPECT_EQ(f.window.events.count(QStringLiteral("enable")), 4);
}

// forEachRow walks every row from the first, counting each on the busy
// display (its range the row count); false stops it before the row is
// counted; an empty set leaves the display alone.
TEST(ForEachRow, CountsEveryRowAndStopsWhereTheStepSays) {
    FrameFolder f;
    TestFolder::run(f.examFile, {QStringLiteral("insert into teacher values ('A','','',''),"
                                                "('B','','',''),('C','','','')")});
    auto rows =
        OpenRecordset(f.context.exam, QStringLiteral("select tchno from teacher order by tchno"));
    ASSERT_TRUE(rows);
    rows->moveNext();  // the walk starts from the first row wherever the set stands
    QStringList seen;
    const int all = forEachRow(*rows, f.window,
                               [&](Recordset& row) { seen << row.text(QStringLiteral("tchno")); });
    EXPECT_EQ(all, 3);
    EXPECT_EQ(seen, (QStringList{"A", "B", "C"}));
    EXPECT_EQ(f.window.barMaximum, 3);
    EXPECT_EQ(f.window.barValue, 3);

    seen.clear();
    const QString detail = QStringLiteral("教師");
    const int stopped = forEachRow(
        *rows, f.window,
        [&](Recordset& row) {
            seen << row.text(QStringLiteral("tchno"));
            return seen.size() < 2;
        },
        &detail);
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(seen, (QStringList{"A", "B"}));
    EXPECT_EQ(f.window.barValue, 1);
    EXPECT_TRUE(f.window.labelText.endsWith(detail));

    auto none =
        OpenRecordset(f.context.exam, QStringLiteral("select tchno from teacher where 1=0"));
    ASSERT_TRUE(none);
    f.window.barMaximum = -1;
    EXPECT_EQ(forEachRow(*none, f.window, [&](Recordset&) { ADD_FAILURE(); }), 0);
    EXPECT_EQ(f.window.barMaximum, -1);
}

}  // namespace
