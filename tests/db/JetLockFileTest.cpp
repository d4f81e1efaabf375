#include <gtest/gtest.h>
#include <QFile>

#include "TestFolder.h"
#include "db/JetLockFile.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

QByteArray slot(const QByteArray& computer, const QByteArray& account) {
    QByteArray bytes(64, '\0');
    bytes.replace(0, computer.size(), computer);
    bytes.replace(32, account.size(), account);
    return bytes;
}

// One 64-byte slot per user: computer, then account, zero-padded. A slot a
// user has left is empty; a user in two slots is named once; the lock file
// is found whatever its letter case.
TEST(JetLockFile, NamesEachUserOfTheSlotsOnce) {
    TestFolder folder;
    const QString exam = folder.file(QStringLiteral("exam.mdb"));
    EXPECT_TRUE(jetLockHolders(exam).isEmpty());

    QFile ldb(folder.file(QStringLiteral("EXAM.LDB")));
    ASSERT_TRUE(ldb.open(QIODevice::WriteOnly));
    ldb.write(slot("OFFICE-PC", "Admin") + QByteArray(64, '\0') + slot("GRADER", "") +
              slot("OFFICE-PC", "Admin") + QByteArray(10, 'x'));  // a cut-off last slot
    ldb.close();

    EXPECT_EQ(jetLockFileOf(exam), ldb.fileName());
    EXPECT_EQ(jetLockHolders(exam),
              (QStringList{QStringLiteral("OFFICE-PC (Admin)"), QStringLiteral("GRADER")}));
    // An .accdb has its .laccdb.
    EXPECT_TRUE(jetLockFileOf(folder.file(QStringLiteral("exam.accdb"))).isEmpty());
}

}  // namespace
