#include <gtest/gtest.h>

#include "TestFolder.h"
#include "db/BatchedUpdate.h"
#include "db/Connection.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

// The rows go a few hundred a statement; a key that comes again goes into
// the next statement, so that the later value stays, as it would with a
// statement per row; the filter keeps other rows as they were.
TEST(BatchedUpdate, FewStatementsAndTheLaterValueOfAKeyStays) {
    TestFolder folder;
    const QString file = folder.file(QStringLiteral("t.sqlite"));
    QStringList setup{QStringLiteral("CREATE TABLE t (k TEXT, term TEXT, v INTEGER)")};
    for (int i = 0; i < 1200; ++i)
        for (const char* term : {"1", "2"})
            setup << QStringLiteral("INSERT INTO t VALUES ('K%1', '%2', 0)").arg(i).arg(term);
    TestFolder::run(file, setup);
    Connection connection;
    ASSERT_TRUE(connection.openSqlite(file));

    BatchedUpdate update(connection, QStringLiteral("t"), QStringLiteral("v"),
                         {QStringLiteral("k")}, QStringLiteral("t.term = ?"),
                         {QStringLiteral("1")});
    std::vector<int> changedPerStatement;
    update.afterStatement = [&](const std::vector<BatchedUpdate::Row>& rows, int changed) {
        EXPECT_LE(int(rows.size()), BatchedUpdate::kRowsPerStatement);
        changedPerStatement.push_back(changed);
        return true;
    };
    for (int i = 0; i < 1200; ++i) ASSERT_TRUE(update.add(i, {QStringLiteral("K%1").arg(i)}));
    // K5 twice more: once in letter case only different, as a server that
    // ignores case would match it, then as it is.
    ASSERT_TRUE(update.add(7001, {QStringLiteral("k5")}));
    ASSERT_TRUE(update.add(7002, {QStringLiteral("K5")}));
    ASSERT_TRUE(update.finish());

    // 1,200 rows in three statements; "k5" joins the third (SQLite, which
    // compares exactly, finds no row for it), and "K5", the same key to a
    // server that ignores case, goes into a fourth.
    EXPECT_EQ(changedPerStatement, (std::vector<int>{500, 500, 200, 1}));
    EXPECT_EQ(TestFolder::rows(file, QStringLiteral("select v from t where k='K5' order by term")),
              (QStringList{QStringLiteral("7002"), QStringLiteral("0")}));
    EXPECT_EQ(
        TestFolder::rows(file, QStringLiteral("select count(*) from t where term='1' and v=0")),
        QStringList{QStringLiteral("1")});  // K0 took 0
    EXPECT_EQ(TestFolder::rows(file, QStringLiteral("select sum(v) from t where term='2'")),
              QStringList{QStringLiteral("0")});
}

// A statement the engine refuses stops the update and says why.
TEST(BatchedUpdate, ARefusedStatementStopsTheUpdate) {
    TestFolder folder;
    const QString file = folder.file(QStringLiteral("t.sqlite"));
    TestFolder::run(file, {QStringLiteral("CREATE TABLE t (k TEXT, v TEXT CHECK (length(v) <= 2))"),
                           QStringLiteral("INSERT INTO t VALUES ('a', ''), ('b', '')")});
    Connection connection;
    ASSERT_TRUE(connection.openSqlite(file));
    BatchedUpdate update(connection, QStringLiteral("t"), QStringLiteral("v"),
                         {QStringLiteral("k")});
    ASSERT_TRUE(update.add(QStringLiteral("12"), {QStringLiteral("a")}));
    ASSERT_TRUE(update.add(QStringLiteral("123"), {QStringLiteral("b")}));
    EXPECT_FALSE(update.finish());
    EXPECT_TRUE(connection.errorPending());
    EXPECT_EQ(TestFolder::rows(file, QStringLiteral("select v from t order by k")),
              (QStringList{QString(), QString()}));
}

}  // namespace
