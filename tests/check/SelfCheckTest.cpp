#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>

#include "SampleStart.h"
#include "ScriptedWindow.h"
#include "TestFolder.h"
#include "batch/BatchRun.h"
#include "check/CheckReport.h"
#include "check/DryRun.h"
#include "check/ProgramChecks.h"
#include "check/SchoolChecks.h"
#include "check/SelfCheck.h"
#include "menu/OperationTable.h"
#include "ops/AppContext.h"
#include "ops/FolderLock.h"
#include "sample/SampleGrading.h"
#include "sample/SampleSchool.h"
#include "settings/SettingsFile.h"
#include "startup/StartupSteps.h"
#include "startup/StudentColumns.h"

using namespace korvex;
using namespace korvex::test;
using Verdict = CheckReport::Verdict;

namespace {

// Every row of every table of an SQLite file, in a fixed order, hashed: the
// same digest means the same content.
QByteArray databaseDigest(const QString& file) {
    QByteArray digest;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("digest"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        EXPECT_TRUE(db.open());
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QSqlQuery tables(QStringLiteral("SELECT name, sql FROM sqlite_master ORDER BY name"), db);
        QStringList names;
        while (tables.next()) {
            hash.addData(tables.value(1).toString().toUtf8());
            if (tables.value(1).toString().startsWith(QLatin1String("CREATE TABLE")))
                names << tables.value(0).toString();
        }
        for (const QString& name : names) {
            QSqlQuery rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(name), db);
            while (rows.next())
                for (int i = 0; i < rows.record().count(); ++i)
                    hash.addData(rows.value(i).toString().toUtf8() + '\x1f');
        }
        digest = hash.result();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("digest"));
    return digest;
}

// The warning lines of a report, but the one a Windows PC without the
// Access driver gives about the SQLite stand-in of exam.mdb (as under Wine):
// the grading program's own file would need the driver.
QStringList warnings(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        if (line.startsWith(QStringLiteral("警告  ")) &&
            !line.contains(QStringLiteral("目前的 exam.mdb 是 SQLite 檔")))
            lines << line;
    return lines;
}

// A sample school started as start-up leaves it: both databases open, the
// short codes in place, the program folder locked.
class SelfCheck : public ::testing::Test {
protected:
    void SetUp() override {
        examFile = folder.file(QStringLiteral("exam.mdb"));
        schoolFile = folder.file(SampleSchool::schoolFileName());
        context.window = &window;
        ASSERT_TRUE(startSampleSchool(context, folder.path(), 60, 5));
        context.folderLock = std::make_unique<FolderLock>(folder.path());
        ASSERT_EQ(context.folderLock->lock(), FolderLock::Outcome::Locked);
        ASSERT_TRUE(openExamConnection(context));
        for (const StudentColumn& column : studentColumns()) context.exam.execute(column.statement);
        context.exam.clearError();
    }

    // Runs what an office runs before the check: every import and the
    // roster (which leave copies in backup/), then the grading program.
    void runTheTerm() {
        for (const char* name :
             {"departments", "classes", "students", "subjects", "teachers", "courses", "roster"})
            runOperation(context, *operationNamed(QString::fromLatin1(name)));
        for (const auto& message : window.messages)
            ASSERT_FALSE(message.failure) << message.text.toStdString();
        window.messages.clear();
        QString error;
        ASSERT_TRUE(gradeSample(folder.path(), context.settings.examNo.toInt(), 1, nullptr, &error))
            << error.toStdString();
    }

    static QString shown(const CheckReport& report) {
        return report.text(QDateTime::currentDateTime());
    }

    TestFolder folder;
    QString examFile;
    QString schoolFile;
    ScriptedWindow window;
    AppContext context;
};

// On the sample school after a term's work every line passes, and neither
// database changes by a single row: whatever the check writes it rolls
// back. The window gets the report once, and the program folder the file
// Notepad reads.
TEST_F(SelfCheck, SampleSchoolPassesEveryLineAndNeitherDatabaseChanges) {
    runTheTerm();
    const QByteArray schoolBefore = databaseDigest(schoolFile);
    const QByteArray examBefore = databaseDigest(examFile);

    runOperation(context, *operationNamed(QStringLiteral("check")));

    EXPECT_EQ(databaseDigest(schoolFile), schoolBefore);
    EXPECT_EQ(databaseDigest(examFile), examBefore);
    ASSERT_EQ(window.messages.size(), 1);
    const auto& message = window.messages.front();
    EXPECT_FALSE(message.failure) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(QStringLiteral("失敗 0 項"))) << message.text.toStdString();
    EXPECT_EQ(warnings(message.text), QStringList()) << message.text.toStdString();
    for (const char* section : {"[程式]", "[驅動程式]", "[校務行政資料庫]", "[考試資料庫 exam.mdb]",
                                "[試執行", "[預估時間"})
        EXPECT_TRUE(message.text.contains(QString::fromUtf8(section))) << section;
    // Each operation was tried, and the roster with every one of its statements.
    for (const char* line : {"學生資料匯入: 讀取", "考試資料匯入: 讀取", "考試資料匯出: 讀取",
                             "產生教師登錄成績Excel檔: 讀取"})
        EXPECT_TRUE(message.text.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(message.text.contains(QStringLiteral("標記, 更新, 刪除, 清除與寫入一筆都可以")));

    const QStringList reports =
        QDir(folder.path()).entryList({QStringLiteral("環境檢查-*.txt")}, QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    QFile file(folder.file(reports.front()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains("\r\n"));
    EXPECT_FALSE(bytes.contains("\r\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    // The file holds what the window showed, up to the line naming the file.
    const QString written = QString::fromUtf8(bytes.mid(3)).trimmed();
    EXPECT_TRUE(message.text.startsWith(written)) << written.toStdString();
    // exam.mdb is the grading program's again.
    EXPECT_EQ(context.exam.access(), Connection::Access::Shared);
}

// Each cause an office may meet gives its own line, with the cause named:
// a missing column, an account that may not update the scores, no copies
// of exam.mdb, and exam.mdb held by another program.
TEST_F(SelfCheck, EachProblemGivesItsOwnWarningOrFailure) {
    // Before the term's work: no copies in backup/ yet.
    {
        const CheckReport report = selfCheckReport(context);
        const auto* line = report.find(QStringLiteral("考試資料庫 exam.mdb"), QStringLiteral(""));
        ASSERT_NE(line, nullptr);
        bool warned = false;
        for (const auto& l : report.lines())
            if (l.verdict == Verdict::Warning &&
                l.text.contains(QStringLiteral("沒有考試資料庫的備份")))
                warned = true;
        EXPECT_TRUE(warned) << shown(report).toStdString();
        EXPECT_FALSE(report.failed()) << shown(report).toStdString();
    }

    // A column the program reads is gone, and a trigger refuses the
    // score update as a missing right would.
    TestFolder::run(schoolFile,
                    {QStringLiteral("ALTER TABLE z_teach DROP COLUMN 密碼"),
                     QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON sbscore BEGIN "
                                    "SELECT RAISE(ABORT, 'permission denied'); END")});
    {
        const CheckReport report = selfCheckReport(context);
        const auto* missing = report.find(QStringLiteral("校務行政資料庫"),
                                          QStringLiteral("資料表 z_teach 缺少欄位 密碼"));
        ASSERT_NE(missing, nullptr) << shown(report).toStdString();
        EXPECT_EQ(missing->verdict, Verdict::Failure);
        const auto* refused =
            report.find(QStringLiteral("校務行政資料庫"), QStringLiteral("帳號無法更新 sbscore"));
        ASSERT_NE(refused, nullptr) << shown(report).toStdString();
        EXPECT_EQ(refused->verdict, Verdict::Failure);
        EXPECT_TRUE(refused->text.contains(QStringLiteral("permission denied")));
        // The teachers' import reads that column: its dry run fails too.
        const auto* teachers = report.find(QStringLiteral("試執行 (每種敘述一筆, 都已復原)"),
                                           QStringLiteral("教師資料匯入"));
        ASSERT_NE(teachers, nullptr);
        EXPECT_EQ(teachers->verdict, Verdict::Failure);
        // The other rights are tried and pass.
        const auto* alter = report.find(QStringLiteral("校務行政資料庫"),
                                        QStringLiteral("帳號可以在 z_dept 加入欄位"));
        ASSERT_NE(alter, nullptr);
        EXPECT_EQ(alter->verdict, Verdict::Pass);
    }
    TestFolder::run(schoolFile, {QStringLiteral("DROP TRIGGER refuse")});

    // Another program holds exam.mdb: the check says so, writes nothing
    // there, and gives the program its shared connection back.
    TestFolder::run(examFile,
                    {QStringLiteral("insert into periodical1 (sid, sub, score2, abs, upload) "
                                    "values ('S1', 'CHI001', 80, '0', 1)")});
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(examFile);
        ASSERT_TRUE(other.open());
        QSqlQuery begin(QStringLiteral("BEGIN IMMEDIATE"), other);
        context.exam.setCommandTimeout(1);
        const CheckReport report = selfCheckReport(context);
        const auto* held = report.find(QStringLiteral("考試資料庫 exam.mdb"),
                                       QStringLiteral("現在無法由本程式單獨開啟"));
        ASSERT_NE(held, nullptr) << shown(report).toStdString();
        EXPECT_EQ(held->verdict, Verdict::Warning);
        const auto* students = report.find(QStringLiteral("試執行 (每種敘述一筆, 都已復原)"),
                                           QStringLiteral("學生資料匯入"));
        ASSERT_NE(students, nullptr);
        EXPECT_EQ(students->verdict, Verdict::Warning);
        EXPECT_TRUE(students->text.contains(QStringLiteral("未試寫 exam.mdb")));
        // The grading program holding exam.mdb is a moment's state, not a
        // fault of the PC: the export's try of its flags is a warning.
        const auto* exported = report.find(QStringLiteral("試執行 (每種敘述一筆, 都已復原)"),
                                           QStringLiteral("考試資料匯出"));
        ASSERT_NE(exported, nullptr);
        EXPECT_EQ(exported->verdict, Verdict::Warning) << exported->text.toStdString();
        EXPECT_TRUE(exported->text.contains(QStringLiteral("匯出標記")))
            << exported->text.toStdString();
        QSqlQuery rollback(QStringLiteral("ROLLBACK"), other);
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    EXPECT_TRUE(context.exam.isOpen());
    EXPECT_EQ(context.exam.access(), Connection::Access::Shared);
}

// korvex-batch prints the report as one message and ends with status 3
// when a line failed, 0 when none did.
TEST_F(SelfCheck, KorvexBatchEndsWithStatusThreeOnlyWhenALineFailed) {
    context.school.close();
    context.exam.close();
    context.folderLock.reset();
    auto run = [&](QString* out) {
        BatchOptions options;
        options.folder = folder.path();
        options.user = QStringLiteral("admin");
        options.password = QStringLiteral("admin");
        options.operation = QStringLiteral("check");
        std::FILE* file = std::tmpfile();
        const BatchExit exit = runBatch(options, file);
        std::rewind(file);
        QByteArray bytes;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, qsizetype(n));
        std::fclose(file);
        *out = QString::fromUtf8(bytes);
        return exit;
    };
    QString out;
    EXPECT_EQ(run(&out), BatchDone) << out.toStdString();
    EXPECT_EQ(out.count(u'\n'), 1) << out.toStdString();
    TestFolder::run(schoolFile, {QStringLiteral("ALTER TABLE z_teach DROP COLUMN 密碼")});
    EXPECT_EQ(run(&out), BatchWarned) << out.toStdString();
    EXPECT_EQ(out.count(u'\n'), 1) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("缺少欄位 密碼")));
}

// The rules behind three lines: which collations keep Chinese text given
// without N, what to install when the Access driver does not fit the
// build, and how many statements the export sends per 500 rows.
TEST(SelfCheckRules, CollationDriverAdviceAndStatementCounts) {
    EXPECT_TRUE(isChineseCollation(QStringLiteral("Chinese_Taiwan_Stroke_CI_AS")));
    EXPECT_TRUE(isChineseCollation(QStringLiteral("chinese_prc_ci_as")));
    EXPECT_FALSE(isChineseCollation(QStringLiteral("Latin1_General_CI_AS")));
    EXPECT_FALSE(isChineseCollation(QStringLiteral("SQL_Latin1_General_CP1_CI_AS")));

    const QString ace = QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");
    EXPECT_TRUE(accessDriverAdvice(64, {ace}).isEmpty());
    EXPECT_TRUE(accessDriverAdvice(64, {QStringLiteral("SQL Server")})
                    .contains(QStringLiteral("32 位元版")));
    EXPECT_TRUE(accessDriverAdvice(32, {}).contains(QStringLiteral("Access Database Engine")));
    EXPECT_TRUE(
        accessDriverAdvice(32, {QStringLiteral("Microsoft Access Driver (*.mdb)")}).isEmpty());

    const StatementCount exported =
        statementsFor(QStringLiteral("考試資料匯出"), 12000, 2, 1, true);
    EXPECT_EQ(exported.school, 2 + 24);
    EXPECT_EQ(exported.exam, 1 + 12000 + 3);
    const StatementCount roster = statementsFor(QStringLiteral("考試資料匯入"), 38399, 1, 4, true);
    EXPECT_EQ(roster.school, 1);
    EXPECT_EQ(roster.exam, 38399 + 4);
}

}  // namespace
