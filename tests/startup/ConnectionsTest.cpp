#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FakeTdsServer.h"
#include "SchoolFixture.h"
#include "db/ConnectionStrings.h"
#include "db/DatabaseFile.h"
#include "db/OdbcDrivers.h"
#include "startup/StartupSteps.h"

using namespace korvex;
using korvex::test::FakeTdsServer;
using korvex::test::SchoolFixture;
using korvex::test::TestFolder;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray accessHeader(const char* engine) {
    QByteArray head("\x00\x01\x00\x00", 4);
    head += engine;
    head += QByteArray(2048 - head.size(), '\0');
    return head;
}

}  // namespace

TEST(Connections, QuotedValuesKeepSemicolonsAndBraces) {
    // The standard rule doubles '}'; FreeTDS takes a braced value as it stands.
    EXPECT_EQ(odbcQuoted(QStringLiteral("a;b}c")), QStringLiteral("{a;b}}c}"));
    EXPECT_EQ(odbcQuoted(QString()), QStringLiteral("{}"));
    EXPECT_EQ(freeTdsQuoted(QStringLiteral("a;b}c")), QStringLiteral("{a;b}c}"));

    Settings settings;
    settings.server = QStringLiteral("host\\SQL2019");
    settings.databaseName = QStringLiteral("school");
    settings.user = QStringLiteral("sa");
    settings.password = QStringLiteral("p;w}d");
    const QString text = SchoolConnectionString(settings);
#ifdef Q_OS_WIN
    EXPECT_EQ(text, QStringLiteral(
                        "Driver={SQL Server};Server={host\\SQL2019};Database={school};UID={sa};"
                        "PWD={p;w}}d};"));
#else
    EXPECT_EQ(text,
              QStringLiteral("Driver={FreeTDS};Server={host\\SQL2019};Database={school};UID={sa};"
                             "PWD={p;w}d};TDS_Version=7.4;ClientCharset=UTF-8;"));
#endif
}

#ifndef Q_OS_WIN
TEST(Connections, CredentialsReachSqlServerIntactThroughFreeTds) {
    // Passwords with ';', '}', '{', '=' and blanks, names with Chinese text
    // and a server with its port after a comma: the driver must take each
    // value whole from the connection string.
    for (const QString& password : {QStringLiteral(" a;b}c={d} "), QStringLiteral("p;w}"),
                                    QStringLiteral("}{;"), QString()}) {
        SCOPED_TRACE(password.toStdString());
        FakeTdsServer server;
        ASSERT_GT(server.port(), 0);
        SchoolFixture f;
        f.context.settings.server = QStringLiteral("127.0.0.1,%1").arg(server.port());
        f.context.settings.databaseName = QStringLiteral("校務;db");
        f.context.settings.user = QStringLiteral("教務 sa");
        f.context.settings.password = password;
        LoadTermContext(f.context);
        const FakeTdsServer::Login login = server.finish();

        ASSERT_TRUE(login.received);
        EXPECT_EQ(login.user, f.context.settings.user);
        EXPECT_EQ(login.password, password);
        EXPECT_EQ(login.database, f.context.settings.databaseName);
        // The fake server hangs up after the login: the attempt has failed.
        EXPECT_FALSE(f.context.schoolConnected);
        EXPECT_FALSE(f.context.schoolFailure.isEmpty());
        EXPECT_EQ(f.context.school.dialect(), SqlDialect::SqlServer);
    }
}

TEST(Connections, ValueFreeTdsCannotTakeIsRefusedWithAReason) {
    SchoolFixture f;
    f.context.settings.server = QStringLiteral("127.0.0.1,1");
    f.context.settings.password = QStringLiteral("ab};c");
    EXPECT_FALSE(openSchoolConnection(f.context));
    ASSERT_TRUE(f.context.school.errorPending());
    EXPECT_EQ(f.context.school.pendingError()->text,
              QStringLiteral("密碼含有 \"};\", 無法用來連結校務行政資料庫"));
    LoadTermContext(f.context);
    EXPECT_FALSE(f.context.schoolConnected);
    EXPECT_EQ(f.context.schoolFailure,
              QStringLiteral("密碼含有 \"};\", 無法用來連結校務行政資料庫"));
}
#endif

TEST(Connections, FailedSqlServerConnectionNamesItsDriver) {
    // Nothing listens on port 1: the attempt fails, and the cause that
    // start-up writes to ASSISTANT.LOG says which driver was tried (FreeTDS
    // on Linux; on Windows the newest SQL Server driver installed, "SQL
    // Server" when the list has none).
    SchoolFixture f;
    f.context.settings.server = QStringLiteral("127.0.0.1,1");
    f.context.settings.databaseName = QStringLiteral("school");
    f.context.settings.password = QStringLiteral("secret");
    LoadTermContext(f.context);
    EXPECT_FALSE(f.context.schoolConnected);
#ifdef Q_OS_WIN
    const QString driver = chooseSqlServerDriver(installedOdbcDrivers());
#else
    const QString driver = QStringLiteral("FreeTDS");
#endif
    EXPECT_TRUE(
        f.context.schoolFailure.endsWith(QStringLiteral(" (ODBC 驅動程式: %1)").arg(driver)))
        << f.context.schoolFailure.toStdString();
    EXPECT_FALSE(f.context.schoolFailure.contains(QStringLiteral("secret")));
}

TEST(Connections, SqliteSchoolDatabaseByRelativeOrAbsoluteName) {
    SchoolFixture f;
    f.context.settings.server = QStringLiteral("SQLite");
    ASSERT_TRUE(openSchoolConnection(f.context));
    EXPECT_EQ(f.context.school.dialect(), SqlDialect::Sqlite);
    EXPECT_EQ(f.context.school.commandTimeout(), 15);
    EXPECT_EQ(f.context.school.databaseName(), f.schoolFile);

    TestFolder elsewhere;
    const QString other = elsewhere.createSchool(false, QStringLiteral("other.db"));
    f.context.settings.server = QStringLiteral("sQLITE");
    f.context.settings.databaseName = other;
    ASSERT_TRUE(openSchoolConnection(f.context));
    EXPECT_EQ(f.context.school.databaseName(), other);

    // A missing file fails and is not created.
    f.context.settings.databaseName = QStringLiteral("nothing.sqlite");
    EXPECT_FALSE(openSchoolConnection(f.context));
    EXPECT_FALSE(f.context.school.isOpen());
    EXPECT_FALSE(QFile::exists(f.folder.file(QStringLiteral("nothing.sqlite"))));
}

TEST(Connections, ExamDatabaseFoundWhateverTheCaseAndOpenedByItsHeader) {
    TestFolder folder;
    AppContext context;
    context.appPath = folder.path();
    EXPECT_TRUE(findExamDatabase(folder.path()).isEmpty());
    EXPECT_FALSE(openExamConnection(context));
    EXPECT_TRUE(context.exam.errorPending());

    // A folder of that name is no database.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("exam.mdb")));
    EXPECT_TRUE(findExamDatabase(folder.path()).isEmpty());
    ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("exam.mdb")));

    const QString exam = folder.createExam(true, QStringLiteral("EXAM.MDB"));
    // The file itself: under its own name where letter case tells names
    // apart, under any spelling where it does not (Windows).
    const QString found = findExamDatabase(folder.path());
    EXPECT_TRUE(QFileInfo(found) == QFileInfo(exam)) << found.toStdString();
#ifndef Q_OS_WIN
    EXPECT_EQ(found, exam);
#endif
    ASSERT_TRUE(openExamConnection(context));
    EXPECT_EQ(context.exam.dialect(), SqlDialect::Sqlite);
    EXPECT_EQ(context.exam.commandTimeout(), 1);
    EXPECT_FALSE(context.exam.errorPending());
    EXPECT_TRUE(context.exam.execute(QStringLiteral("insert into dep(class, name) values(?, ?)"),
                                     {QStringLiteral("10"), QStringLiteral("普通科")}));
    context.exam.close();

    // The engine goes by the content, not the name.
    for (const char* engine : {"Standard Jet DB", "Standard ACE DB"}) {
        SCOPED_TRACE(engine);
        writeFile(exam, accessHeader(engine));
        EXPECT_EQ(databaseFileKind(exam), DatabaseFileKind::Access);
        // No Access driver here (Linux has none; Wine cannot load Windows'
        // drivers): it fails, saying which driver is missing.
        EXPECT_FALSE(openExamConnection(context));
        ASSERT_TRUE(context.exam.errorPending());
        EXPECT_TRUE(isMissingDriverError(*context.exam.pendingError()));
        EXPECT_TRUE(context.exam.pendingError()->text.contains(QStringLiteral("Access")));
        EXPECT_TRUE(context.exam.pendingError()->text.contains(QDir::toNativeSeparators(found)));
        EXPECT_FALSE(context.exam.isOpen());
    }
    for (const QByteArray& junk : {QByteArray("PK\x03\x04 a zip file"), QByteArray()}) {
        writeFile(exam, junk);
        EXPECT_EQ(databaseFileKind(exam), DatabaseFileKind::Unknown);
        EXPECT_FALSE(openExamConnection(context));
        EXPECT_TRUE(context.exam.errorPending());
    }
    // Nothing was written into the file that could not be opened.
    EXPECT_EQ(QFileInfo(exam).size(), 0);
}
