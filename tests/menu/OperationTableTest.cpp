#include <gtest/gtest.h>
#include <QAction>
#include <QSet>

#include "HostCommand.h"
#include "SampleStart.h"
#include "ScriptedWindow.h"
#include "TestFolder.h"
#include "batch/BatchCommandLine.h"
#include "db/Connection.h"
#include "menu/OperationTable.h"
#include "ops/AppContext.h"
#include "ops/FolderLock.h"
#include "sample/SampleSchool.h"
#include "settings/SettingsFile.h"
#include "startup/StartupSteps.h"
#include "ui/MainWindow.h"

using namespace korvex;
using namespace korvex::test;

namespace {

// Every entry the menus show is an item of its menu, and every entry is an
// operation korvex-batch runs, needing exactly the option its entry says.
TEST(OperationTable, EveryEntryIsReachableFromItsMenuAndFromKorvexBatch) {
    MainWindow window;
    QSet<QString> names;
    for (const OperationEntry& entry : operationTable()) {
        SCOPED_TRACE(entry.batchName.toStdString());
        EXPECT_FALSE(names.contains(entry.batchName));
        names.insert(entry.batchName);
        EXPECT_FALSE(entry.plainName.isEmpty());
        if (entry.menu == OperationMenu::None) {
            EXPECT_TRUE(entry.menuObjectName.isEmpty());
        } else {
            const QAction* item = window.findChild<QAction*>(entry.menuObjectName);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->text(), entry.menuText);
            EXPECT_NE(entry.run, nullptr);
        }
        BatchEnvironment environment;
        environment.passwordVariable = QStringLiteral("x");
        QStringList arguments{QStringLiteral("--user"), QStringLiteral("admin"), entry.batchName};
        const QString option = requiredOption(entry);
        if (!option.isEmpty()) {
            // Without its option the command line is refused, naming it.
            const BatchCommand refused = parseBatchCommand(arguments, environment);
            EXPECT_EQ(refused.kind, BatchCommand::Kind::BadUsage);
            EXPECT_TRUE(refused.error.contains(QStringLiteral("--") + option))
                << refused.error.toStdString();
            arguments << QStringLiteral("--") + option
                      << (option == QLatin1String("answer") ? QStringLiteral("yes")
                                                            : QStringLiteral("x"));
        }
        const BatchCommand command = parseBatchCommand(arguments, environment);
        ASSERT_EQ(command.kind, BatchCommand::Kind::Run) << command.error.toStdString();
        EXPECT_EQ(operationNamed(command.options.operation), &entry);
        EXPECT_TRUE(batchHelp().contains(entry.batchName));
    }
    EXPECT_TRUE(names.contains(QStringLiteral("startup")));
    EXPECT_TRUE(names.contains(QStringLiteral("restore")));
}

// A sample school whose exam.mdb is reached as an Access file is: through
// ODBC, in Jet's dialect (the SQLite ODBC driver stands in for Access).
class AccessExam : public ::testing::Test {
protected:
    void SetUp() override {
        examFile = folder.file(QStringLiteral("exam.mdb"));
        context.window = &window;
        ASSERT_TRUE(startSampleSchool(context, folder.path(), 60, 3));
        ASSERT_TRUE(context.exam.openOdbc(
            QStringLiteral("Driver=SQLite3;Database=%1;").arg(hostPath(examFile)),
            SqlDialect::Access, examFile));
        context.exam.setCommandTimeout(1);
        for (const char* column : {"address", "father", "zipcode", "addzone"})
            context.exam.execute(QStringLiteral("ALTER TABLE name ADD %1 nvarchar(50)")
                                     .arg(QString::fromLatin1(column)));
        context.exam.clearError();
    }
    void TearDown() override { Connection::setStatementObserver({}); }

    TestFolder folder;
    QString examFile;
    ScriptedWindow window;
    AppContext context;
};

// Jet keeps a lock for every row a shared transaction changes, and past its
// limit the transaction fails or is kept half: every operation that
// replaces whole tables must send its statements on a connection that has
// exam.mdb alone, and give the file back when it ends. (The restore of an
// Access file is a file copy; the restore's exclusive open is tested on the
// SQLite file.)
TEST_F(AccessExam, WholeTableOperationsWriteOnlyOnAnExclusiveConnection) {
    struct Sent {
        QString statement;
        bool exclusive;
    };
    QList<Sent> sent;
    Connection::setStatementObserver([&](const Connection& connection, const QString& sql) {
        if (&connection == &context.exam)
            sent << Sent{sql, connection.access() == Connection::Access::Exclusive};
    });
    const QStringList wholeTable{QStringLiteral("departments"), QStringLiteral("classes"),
                                 QStringLiteral("students"),    QStringLiteral("subjects"),
                                 QStringLiteral("teachers"),    QStringLiteral("courses"),
                                 QStringLiteral("roster")};
    for (const QString& name : wholeTable) {
        SCOPED_TRACE(name.toStdString());
        sent.clear();
        window.messages.clear();
        runOperation(context, *operationNamed(name));
        for (const auto& message : window.messages)
            EXPECT_FALSE(message.failure) << message.text.toStdString();
        int writes = 0;
        for (const Sent& s : sent) {
            const QString verb = s.statement.section(u' ', 0, 0).toLower();
            if (verb == QLatin1String("select")) continue;
            ++writes;
            EXPECT_TRUE(s.exclusive) << s.statement.toStdString();
        }
        EXPECT_GT(writes, 0);
        // Shared again for the grading program.
        EXPECT_TRUE(context.exam.isOpen());
        EXPECT_EQ(context.exam.access(), Connection::Access::Shared);
    }
    EXPECT_FALSE(
        TestFolder::rows(examFile, QStringLiteral("select sid from periodical1")).isEmpty());
}

}  // namespace

namespace {

// The self-check through the Access code paths: the driver's own list of
// indexes, every table read through in place of integrity_check, the
// exclusive open and the shared one given back, the roster's [abs].
TEST_F(AccessExam, SelfCheckTakesTheAccessPaths) {
    context.folderLock = std::make_unique<FolderLock>(folder.path());
    ASSERT_EQ(context.folderLock->lock(), FolderLock::Outcome::Locked);
    for (const char* name :
         {"departments", "classes", "students", "subjects", "teachers", "courses", "roster"})
        runOperation(context, *operationNamed(QString::fromLatin1(name)));
    window.messages.clear();
    runOperation(context, *operationNamed(QStringLiteral("check")));
    ASSERT_EQ(window.messages.size(), 1);
    const QString report = window.messages[0].text;
    // The only failure a PC may show here is the missing Access driver
    // (under Wine: the SQLite ODBC driver stands in for it).
    for (const QString& line : report.split(QStringLiteral("\r\n")))
        if (line.startsWith(QStringLiteral("失敗  "))) {
            EXPECT_TRUE(line.contains(QStringLiteral("Access 驅動程式"))) << line.toStdString();
        }
    for (const char* line :
         {"Access 資料庫 (Jet/ACE)", "考試資料表都有學生與科目 (sid, sub) 的索引",
          "每個資料表都能完整讀取", "現在可以由本程式單獨開啟", "periodical1 的匯出標記可以寫入"})
        EXPECT_TRUE(report.contains(QString::fromUtf8(line))) << line << "\n"
                                                              << report.toStdString();
    EXPECT_EQ(context.exam.access(), Connection::Access::Shared);
    EXPECT_TRUE(context.exam.isOpen());
}

}  // namespace
