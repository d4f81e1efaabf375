#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cstdio>

#include "ShellFolder.h"
#include "TestFiles.h"
#include "TestFolder.h"
#include "ToolProcess.h"
#include "batch/BatchCommandLine.h"
#include "batch/BatchRun.h"
#include "batch/ConsoleWindow.h"
#include "core/AppInfo.h"
#include "sample/SampleSchool.h"
#include "startup/Startup.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

using BatchResult = korvex::test::ToolRun;

// Runs korvex-batch; `environment` entries are added to the test's own
// environment (KORVEX_PASSWORD is taken away unless given), `input` is its
// standard input. Unless `json` is false, every line of standard output must
// be one JSON object.
BatchResult runBatchProcess(const QStringList& arguments,
                            const QList<QPair<QString, QString>>& environment = {},
                            const QByteArray& input = QByteArray(), bool json = true) {
    korvex::test::ToolOptions options;
    options.withoutEnvironment = {QStringLiteral("KORVEX_PASSWORD")};
    options.environment = environment;
    options.input = input;
    options.timeoutMs = 60000;
    BatchResult result = korvex::test::runTool(QStringLiteral("korvex-batch"), arguments, options);
    if (json)
        for (const QString& line : result.out.split(u'\n', Qt::SkipEmptyParts)) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
            EXPECT_TRUE(doc.isObject()) << line.toStdString();
        }
    else
        result.boxes.clear();
    return result;
}

QStringList login(const TestFolder& folder, const QString& user, const QString& password) {
    return korvex::test::loginArguments(folder.path(), user, password);
}

QString readAll(std::FILE* file) {
    std::rewind(file);
    QByteArray bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, qsizetype(n));
    return QString::fromUtf8(bytes);
}

}  // namespace

TEST(Batch, StartupSucceedsSilently) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    BatchResult ok = runBatchProcess(login(folder, "admin", " SECRET ") << "startup");
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_TRUE(ok.boxes.isEmpty()) << ok.out.toStdString();
}

TEST(Batch, RefusedLoginsEndWithTheDialogsMessage) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    BatchResult wrong = runBatchProcess(login(folder, "admin", "guess") << "startup");
    EXPECT_EQ(wrong.exitCode, 1);
    ASSERT_EQ(wrong.boxes.size(), 1) << wrong.out.toStdString();
    EXPECT_EQ(wrong.boxes[0].value("kind").toString(), QStringLiteral("message"));
    EXPECT_EQ(wrong.boxes[0].value("title").toString(), QStringLiteral("登入"));
    EXPECT_EQ(wrong.boxes[0].value("icon").toString(), QStringLiteral("none"));
    EXPECT_EQ(wrong.boxes[0].value("text").toString(),
              QStringLiteral("使用者密碼錯誤，請重新輸入!"));
    // The members come in the documented order.
    EXPECT_TRUE(
        wrong.out.startsWith(QStringLiteral("{\"kind\":\"message\",\"icon\":\"none\",\"title\":")));

    BatchResult unknown = runBatchProcess(login(folder, "nobody", "x") << "classes");
    EXPECT_EQ(unknown.exitCode, 1);
    ASSERT_EQ(unknown.boxes.size(), 1);
    EXPECT_EQ(unknown.boxes[0].value("text").toString(),
              QStringLiteral("無此使用者帳號，請重新輸入!"));
}

TEST(Batch, StartupFailuresArePrintedAndEndWithStatusOne) {
    TestFolder empty;
    BatchResult missing = runBatchProcess(login(empty, "admin", "secret") << "startup");
    EXPECT_EQ(missing.exitCode, 1);
    ASSERT_EQ(missing.boxes.size(), 1);
    EXPECT_EQ(missing.boxes[0].value("icon").toString(), QStringLiteral("critical"));
    EXPECT_EQ(missing.boxes[0].value("title").toString(), appTitle());
    EXPECT_EQ(missing.boxes[0].value("text").toString(),
              Startup::missingExamDatabaseMessage() + QStringLiteral("\n搜尋的資料夾: ") +
                  QDir::toNativeSeparators(empty.path()));

    // The connection question is answered No: one question, then the end.
    TestFolder unreachable;
    korvex::test::makeShellFolder(unreachable, {.databaseName = QStringLiteral("gone.sqlite")});
    BatchResult no = runBatchProcess(login(unreachable, "admin", "secret") << "startup"
                                                                           << "--answer"
                                                                           << "yes");
    EXPECT_EQ(no.exitCode, 1);
    ASSERT_EQ(no.boxes.size(), 1) << no.out.toStdString();
    EXPECT_EQ(no.boxes[0].value("kind").toString(), QStringLiteral("question"));
    EXPECT_EQ(no.boxes[0].value("icon").toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(no.boxes[0].value("answer").toString(), QStringLiteral("no"));
    EXPECT_EQ(no.boxes[0].value("text").toString(), Startup::connectionQuestion());
    QFile log(unreachable.file(startupLogName()));
    EXPECT_TRUE(log.exists());
}

TEST(Batch, ExamOperationWithAnInvalidExamNumberChangesNothing) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.examNo = QStringLiteral("9")});
    const QString exam = folder.file("exam.mdb");
    BatchResult run = runBatchProcess(login(folder, "admin", "secret") << "roster"
                                                                       << "--answer"
                                                                       << "yes");
    // The operation ran to its end, after an error.
    EXPECT_EQ(run.exitCode, 3);
    ASSERT_EQ(run.boxes.size(), 1) << run.out.toStdString();
    EXPECT_EQ(run.boxes[0].value("icon").toString(), QStringLiteral("critical"));
    EXPECT_TRUE(run.boxes[0].value("text").toString().contains(QStringLiteral("「9」")));
    EXPECT_EQ(run.boxes[0].value("title").toString(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期期中考)[高中版]"));
    EXPECT_EQ(TestFolder::rows(exam, "SELECT count(*) FROM periodical1"), QStringList{"0"});
}

TEST(Batch, BadUsageEndsWithStatusTwoAndPrintsNoJson) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString missingFile = folder.file("no-such-password.txt");
    const QList<QStringList> bad = {
        {},
        login(folder, "admin", "secret"),
        login(folder, "admin", "secret") << "dance",
        login(folder, "admin", "secret") << "startup"
                                         << "roster",
        login(folder, "admin", "secret") << "roster"
                                         << "--answer"
                                         << "maybe",
        login(folder, "admin", "secret") << "roster"
                                         << "--answer",
        login(folder, "admin", "secret") << "startup"
                                         << "--verbose",
        // The roster question and the workbook prompt must be answered.
        login(folder, "admin", "secret") << "roster",
        login(folder, "admin", "secret") << "workbooks",
        login(folder, "admin", "secret") << "workbooks"
                                         << "--teachers"
                                         << " ",
        // No password, two passwords, a password file that cannot be read.
        {"--folder", folder.path(), "--user", "admin", "startup"},
        login(folder, "admin", "secret") << "--password-file"
                                         << "-"
                                         << "startup",
        {"--folder", folder.path(), "--user", "admin", "--password-file", missingFile, "startup"},
    };
    for (const QStringList& arguments : bad) {
        BatchResult result = runBatchProcess(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("用法: korvex-batch")))
            << arguments.join(' ').toStdString();
    }
    // The error names the cause before the usage.
    BatchResult roster = runBatchProcess(login(folder, "admin", "secret") << "roster");
    EXPECT_TRUE(roster.err.startsWith(QStringLiteral("korvex-batch: 作業 roster 必須給 --answer")))
        << roster.err.toStdString();
    BatchResult unreadable = runBatchProcess(
        {"--folder", folder.path(), "--user", "admin", "--password-file", missingFile, "startup"});
    // The file as the system writes its paths, and the cause in Chinese.
    EXPECT_TRUE(unreadable.err.contains(QDir::toNativeSeparators(missingFile)))
        << unreadable.err.toStdString();
    EXPECT_TRUE(unreadable.err.contains(QStringLiteral("找不到"))) << unreadable.err.toStdString();
    // Qt's own message for an unknown option comes in Chinese too.
    BatchResult unknown = runBatchProcess(login(folder, "admin", "secret") << "startup"
                                                                           << "--verbose");
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("verbose")));
    EXPECT_FALSE(unknown.err.contains(QStringLiteral("Unknown option")))
        << unknown.err.toStdString();
    // Nothing ran: no settings were read or written, no log.
    EXPECT_FALSE(QFile::exists(folder.file(startupLogName())));
}

TEST(Batch, HelpAndVersionArePrintedAndEndWithStatusZero) {
    for (const char* option : {"--help", "-h"}) {
        // Help wins over everything else on the line, even a bad option.
        BatchResult help = runBatchProcess({option, "--bogus"}, {}, {}, false);
        EXPECT_EQ(help.exitCode, 0) << option;
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
        // Every operation, what the two answers mean, the JSON fields and
        // every exit status.
        for (const QString& expected :
             {QStringLiteral("departments  科別類組資料匯入"),
              QStringLiteral("roster       考試資料匯入 (必須給 --answer)"),
              QStringLiteral("workbooks    產生教師登錄成績Excel檔 (必須給 --teachers)"),
              QStringLiteral("export       考試資料匯出"), QStringLiteral("--password-file FILE"),
              QStringLiteral("KORVEX_PASSWORD"), QStringLiteral("yes 清除所有資料重新轉入"),
              QStringLiteral("C% 表示 C 開頭的所有教師"), QStringLiteral("answer  只有 question"),
              QStringLiteral("  3  作業執行完畢, 但出現過錯誤或警告訊息"),
              QStringLiteral("  2  用法錯誤")})
            EXPECT_TRUE(help.out.contains(expected)) << expected.toStdString();
    }
    for (const char* option : {"--version", "-v"}) {
        BatchResult version = runBatchProcess({option}, {}, {}, false);
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out,
                  QStringLiteral("korvex-batch 1.0.0") + korvex::test::consoleLineEnd());
    }
}

// The password from the command line, a file, standard input or the
// environment: each logs in the same account.
TEST(Batch, PasswordComesFromAFileStandardInputOrTheEnvironment) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QStringList account{"--folder", folder.path(), "--user", "admin"};

    QFile file(folder.file("password.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // A byte-order mark and a Windows line end, then lines that are ignored.
    file.write("\xEF\xBB\xBFsecret\r\nsecond line\n");
    file.close();
    BatchResult fromFile =
        runBatchProcess(QStringList(account) << "--password-file" << file.fileName() << "startup");
    EXPECT_EQ(fromFile.exitCode, 0) << fromFile.out.toStdString();

    BatchResult fromInput = runBatchProcess(QStringList(account) << "--password-file"
                                                                 << "-"
                                                                 << "startup",
                                            {}, "Secret\n");
    EXPECT_EQ(fromInput.exitCode, 0) << fromInput.out.toStdString();

    BatchResult fromEnvironment =
        runBatchProcess(QStringList(account) << "startup", {{"KORVEX_PASSWORD", "SECRET"}});
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.out.toStdString();

    // The command line wins over the environment; a wrong one is refused.
    BatchResult wrong = runBatchProcess(QStringList(account) << "--password"
                                                             << "guess"
                                                             << "startup",
                                        {{"KORVEX_PASSWORD", "secret"}});
    EXPECT_EQ(wrong.exitCode, 1);
    BatchResult wrongInput = runBatchProcess(QStringList(account) << "--password-file"
                                                                  << "-"
                                                                  << "startup",
                                             {}, "guess\nsecret\n");
    EXPECT_EQ(wrongInput.exitCode, 1);
}

// A script tells a clean run from one that reported a problem by the exit
// status alone: 0 for a clean import, 3 after a duplicate report or a
// refused run, whatever the operation.
TEST(Batch, ExitStatusThreeAfterAnErrorOrAWarning) {
    TestFolder folder;
    SampleSchool::Options options;
    options.students = 60;
    QString error;
    ASSERT_TRUE(SampleSchool::create(folder.path(), options, nullptr, &error))
        << error.toStdString();
    const QStringList account = login(folder, "admin", "admin");

    BatchResult departments = runBatchProcess(QStringList(account) << "departments");
    EXPECT_EQ(departments.exitCode, 0) << departments.out.toStdString();
    ASSERT_FALSE(departments.boxes.isEmpty());
    EXPECT_EQ(departments.boxes.last().value("icon").toString(), QStringLiteral("none"));

    // The sample school has one doubled seat: the students import reports it.
    BatchResult students = runBatchProcess(QStringList(account) << "students");
    EXPECT_EQ(students.exitCode, 3) << students.out.toStdString();
    bool reported = false;
    for (const QJsonObject& line : students.boxes)
        reported |= line.value("icon").toString() == QStringLiteral("critical");
    EXPECT_TRUE(reported);

    // Cancelling the roster question is a clean run that changed nothing.
    BatchResult cancelled = runBatchProcess(QStringList(account) << "roster"
                                                                 << "--answer"
                                                                 << "cancel");
    EXPECT_EQ(cancelled.exitCode, 0);
    ASSERT_EQ(cancelled.boxes.size(), 1);
    EXPECT_EQ(cancelled.boxes[0].value("answer").toString(), QStringLiteral("cancel"));

    // A teacher code nobody has: the information box, a clean run.
    BatchResult nobody = runBatchProcess(QStringList(account) << "workbooks"
                                                              << "--teachers"
                                                              << "NOBODY");
    EXPECT_EQ(nobody.exitCode, 0) << nobody.out.toStdString();
    ASSERT_EQ(nobody.boxes.size(), 2);
    EXPECT_EQ(nobody.boxes[1].value("icon").toString(), QStringLiteral("information"));

    // An export the school database refuses ends with the information box
    // the office knows, and a script still sees the failure.
    BatchResult roster = runBatchProcess(QStringList(account) << "roster"
                                                              << "--answer"
                                                              << "yes");
    ASSERT_EQ(roster.exitCode, 0) << roster.out.toStdString();
    const korvex::test::ToolRun graded =
        korvex::test::runTool(QStringLiteral("korvex-sample"),
                              {QStringLiteral("grade"), QStringLiteral("--folder"), folder.path(),
                               QStringLiteral("--exam"), QStringLiteral("1")});
    ASSERT_EQ(graded.exitCode, 0) << graded.err.toStdString();
    TestFolder::run(folder.file(QStringLiteral("school.sqlite")),
                    {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON sbscore "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END")});
    BatchResult refused = runBatchProcess(QStringList(account) << "export");
    EXPECT_EQ(refused.exitCode, 3) << refused.out.toStdString();
    ASSERT_FALSE(refused.boxes.isEmpty());
    EXPECT_EQ(refused.boxes.last().value("icon").toString(), QStringLiteral("information"));
    EXPECT_TRUE(
        refused.boxes.last().value("text").toString().contains(QStringLiteral("匯出錯誤!")));
}

TEST(Batch, ArgumentsAreReadWithValuesInEitherForm) {
    BatchEnvironment environment;
    environment.defaultFolder = QStringLiteral("/opt/korvex");
    const BatchCommand command = parseBatchCommand(
        {"--user=T 01", "--password", "", "workbooks", "--teachers", "C%", "--answer=no"},
        environment);
    ASSERT_EQ(command.kind, BatchCommand::Kind::Run) << command.error.toStdString();
    const BatchOptions& options = command.options;
    EXPECT_EQ(options.folder, QStringLiteral("/opt/korvex"));
    EXPECT_EQ(options.user, QStringLiteral("T 01"));
    EXPECT_EQ(options.password, QString());
    EXPECT_EQ(options.operation, QStringLiteral("workbooks"));
    EXPECT_EQ(options.teachers, QStringLiteral("C%"));
    EXPECT_EQ(options.answer, MainWindowInterface::Answer::No);

    // The environment's password, and standard input's first line only.
    environment.passwordVariable = QStringLiteral("from env");
    environment.readStandardInput = [] { return QByteArray("from input\r\n"); };
    EXPECT_EQ(parseBatchCommand({"--user", "a", "startup"}, environment).options.password,
              QStringLiteral("from env"));
    EXPECT_EQ(parseBatchCommand({"--user", "a", "--password-file", "-", "startup"}, environment)
                  .options.password,
              QStringLiteral("from input"));
    EXPECT_EQ(parseBatchCommand({"--user", "a", "--password", "given", "startup"}, environment)
                  .options.password,
              QStringLiteral("given"));
    // Every operation of the menus is known by its name.
    for (const char* name :
         {"departments", "classes", "students", "subjects", "teachers", "courses", "export"})
        EXPECT_EQ(parseBatchCommand({"--user", "a", name}, environment).kind,
                  BatchCommand::Kind::Run)
            << name;
}

TEST(Batch, ConsoleWindowPrintsEveryBoxAsOneJsonLine) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ConsoleWindow window(out);
    window.setCaption(QStringLiteral("標題 \"引號\""));
    window.setQuestionAnswer(MainWindowInterface::Answer::Cancel);
    window.setInputAnswer(QStringLiteral("T01"));
    using Icon = MainWindowInterface::Icon;
    using Buttons = MainWindowInterface::Buttons;
    using Answer = MainWindowInterface::Answer;

    EXPECT_EQ(window.message("完成!\n第二行", Icon::None), Answer::Ok);
    EXPECT_EQ(window.message("問題", Icon::None, Buttons::YesNoCancel, Answer::Yes),
              Answer::Cancel);
    // A Yes/No question has no Cancel: it is answered No.
    EXPECT_EQ(window.message("是否", Icon::Exclamation, Buttons::YesNo, Answer::Yes), Answer::No);
    EXPECT_EQ(window.input("教師編號?", "輸入", QString()), std::optional<QString>("T01"));

    const QStringList lines = readAll(out).split('\n', Qt::SkipEmptyParts);
    std::fclose(out);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(
        lines[0],
        QStringLiteral("{\"kind\":\"message\",\"icon\":\"none\",\"title\":\"標題 \\\"引號\\\"\","
                       "\"text\":\"完成!\\n第二行\"}"));
    const QJsonObject question = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(question.value("kind").toString(), QStringLiteral("question"));
    EXPECT_EQ(question.value("answer").toString(), QStringLiteral("cancel"));
    EXPECT_EQ(QJsonDocument::fromJson(lines[2].toUtf8()).object().value("answer").toString(),
              QStringLiteral("no"));
    const QJsonObject input = QJsonDocument::fromJson(lines[3].toUtf8()).object();
    EXPECT_EQ(input.value("kind").toString(), QStringLiteral("input"));
    EXPECT_EQ(input.value("title").toString(), QStringLiteral("輸入"));
    EXPECT_EQ(input.value("text").toString(), QStringLiteral("教師編號?"));
    EXPECT_EQ(input.value("answer").toString(), QStringLiteral("T01"));
}

namespace {

TEST(Batch, RestorePutsACopyBackAndNeedsItsFile) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString exam = folder.file(QStringLiteral("exam.mdb"));
    TestFolder::run(exam, {QStringLiteral("insert into teacher values ('T1','甲','','')")});
    const QString copy = folder.file(QStringLiteral("saved.mdb"));
    TestFolder::run(exam, {QStringLiteral("VACUUM INTO '%1'").arg(copy)});
    TestFolder::run(exam, {QStringLiteral("delete from teacher")});

    // --from belongs to restore, and restore needs it.
    for (const QStringList& bad : {login(folder, "admin", "secret") << "restore",
                                   login(folder, "admin", "secret") << "students"
                                                                    << "--from" << copy})
        EXPECT_EQ(runBatchProcess(bad).exitCode, 2) << bad.join(u' ').toStdString();

    const BatchResult run = runBatchProcess(login(folder, "admin", "secret") << "restore"
                                                                             << "--from" << copy);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_TRUE(
        run.boxes[0].value("text").toString().startsWith(QStringLiteral("考試資料庫已還原為 ")));
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select tchno from teacher")),
              QStringList{"T1"});
    // What it replaced was copied first.
    const QStringList copies = QDir(folder.file(QStringLiteral("backup")))
                                   .entryList({QStringLiteral("exam-*-restore.mdb")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(TestFolder::rows(QDir(folder.file(QStringLiteral("backup"))).filePath(copies[0]),
                                 QStringLiteral("select * from teacher"))
                    .isEmpty());
}

}  // namespace

namespace {

// A damaged exam.mdb cannot be asked about in a script: korvex-batch tells
// it as one event naming the newest copy and the command that puts it
// back, and ends with status 1; that command then puts the copy in place,
// the damaged file kept beside it.
TEST(Batch, DamagedExamNamesTheCommandThatPutsTheNewestCopyBack) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString exam = folder.file(QStringLiteral("exam.mdb"));
    TestFolder::run(exam, {QStringLiteral("insert into teacher values ('T1','甲','','')")});
    QDir().mkpath(folder.file(QStringLiteral("backup")));
    const QString newest = folder.file(QStringLiteral("backup/exam-20261208-101500-roster.mdb"));
    TestFolder::run(exam, {QStringLiteral("VACUUM INTO '%1'").arg(newest)});
    {
        QFile f(exam);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("a damaged file");
    }

    const BatchResult told = runBatchProcess(login(folder, "admin", "secret") << "startup");
    EXPECT_EQ(told.exitCode, 1) << told.out.toStdString();
    ASSERT_EQ(told.boxes.size(), 1) << told.out.toStdString();
    const QString text = told.boxes[0].value("text").toString();
    EXPECT_TRUE(text.contains(QStringLiteral("已損壞"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("restore --from"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(newest))) << text.toStdString();

    const BatchResult put = runBatchProcess(login(folder, "admin", "secret") << "restore"
                                                                             << "--from" << newest);
    EXPECT_EQ(put.exitCode, 0) << put.out.toStdString();
    ASSERT_EQ(put.boxes.size(), 1);
    EXPECT_TRUE(
        put.boxes[0].value("text").toString().startsWith(QStringLiteral("考試資料庫已還原為 ")));
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select tchno from teacher")),
              QStringList{"T1"});
    const QStringList kept =
        QDir(folder.path()).entryList({QStringLiteral("exam-damaged-*.mdb")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(korvex::test::readBytes(folder.file(kept[0])), QByteArray("a damaged file"));
    // The next start is an ordinary one.
    EXPECT_EQ(runBatchProcess(login(folder, "admin", "secret") << "startup").exitCode, 0);
}

}  // namespace
