#include <gtest/gtest.h>

#include "TestFolder.h"
#include "db/Connection.h"

using namespace korvex;
using korvex::test::TestFolder;

TEST(Connection, RowsAffectedCountsTheRowsOfTheLastStatement) {
    TestFolder folder;
    const QString exam = folder.createExam(false);
    Connection c;
    ASSERT_TRUE(c.openSqlite(exam));
    EXPECT_EQ(c.rowsAffected(), -1);
    for (const char* code : {"01", "02", "03"})
        ASSERT_TRUE(c.execute(QStringLiteral("insert into dep(class,name) values(?,'x')"),
                              {QString::fromLatin1(code)}));
    EXPECT_EQ(c.rowsAffected(), 1);
    EXPECT_TRUE(c.execute(QStringLiteral("update dep set name='y' where class<>?"),
                          {QStringLiteral("02")}));
    EXPECT_EQ(c.rowsAffected(), 2);
    EXPECT_TRUE(
        c.execute(QStringLiteral("update dep set name='z' where class=?"), {QStringLiteral("99")}));
    EXPECT_EQ(c.rowsAffected(), 0);
    // A failed statement changed nothing that can be counted.
    EXPECT_FALSE(c.execute(QStringLiteral("update nothing set a=1")));
    EXPECT_EQ(c.rowsAffected(), -1);
}
