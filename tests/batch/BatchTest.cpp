#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cstdio>

#include "ShellFolder.h"
#include "TestFolder.h"
#include "batch/BatchRun.h"
#include "batch/ConsoleWindow.h"
#include "core/AppInfo.h"
#include "startup/Startup.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

struct BatchResult {
    int exitCode = -1;
    QList<QJsonObject> lines;
    QString stdoutText;
    QString stderrText;
};

BatchResult runBatchProcess(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KORVEX_BUILD_DIR "/korvex-batch"), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    BatchResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    const QByteArray out = process.readAllStandardOutput();
    result.stdoutText = QString::fromUtf8(out);
    result.stderrText = QString::fromUtf8(process.readAllStandardError());
    for (const QByteArray& line : out.split('\n')) {
        if (line.isEmpty()) continue;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        EXPECT_TRUE(doc.isObject()) << line.toStdString();
        result.lines << doc.object();
    }
    return result;
}

QStringList login(const TestFolder& folder, const QString& user, const QString& password) {
    return {QStringLiteral("--folder"),   folder.path(), QStringLiteral("--user"), user,
            QStringLiteral("--password"), password};
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

TEST(Batch, StartupSucceedsSilentlyAndRefusedLoginsEndWithTheDialogsMessage) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);

    BatchResult ok = runBatchProcess(login(folder, "admin", " SECRET ") << "startup");
    EXPECT_EQ(ok.exitCode, 0) << ok.stderrText.toStdString();
    EXPECT_TRUE(ok.lines.isEmpty()) << ok.stdoutText.toStdString();

    BatchResult wrong = runBatchProcess(login(folder, "admin", "guess") << "startup");
    EXPECT_EQ(wrong.exitCode, 1);
    ASSERT_EQ(wrong.lines.size(), 1) << wrong.stdoutText.toStdString();
    EXPECT_EQ(wrong.lines[0].value("kind").toString(), QStringLiteral("message"));
    EXPECT_EQ(wrong.lines[0].value("title").toString(), QStringLiteral("登入"));
    EXPECT_EQ(wrong.lines[0].value("icon").toString(), QStringLiteral("none"));
    EXPECT_EQ(wrong.lines[0].value("text").toString(),
              QStringLiteral("使用者密碼錯誤，請重新輸入!"));
    // The members come in the documented order.
    EXPECT_TRUE(wrong.stdoutText.startsWith(
        QStringLiteral("{\"kind\":\"message\",\"icon\":\"none\",\"title\":")));

    BatchResult unknown = runBatchProcess(login(folder, "nobody", "x") << "classes");
    EXPECT_EQ(unknown.exitCode, 1);
    ASSERT_EQ(unknown.lines.size(), 1);
    EXPECT_EQ(unknown.lines[0].value("text").toString(),
              QStringLiteral("無此使用者帳號，請重新輸入!"));
}

TEST(Batch, StartupFailuresArePrintedAndEndWithStatusOne) {
    TestFolder empty;
    BatchResult missing = runBatchProcess(login(empty, "admin", "secret") << "startup");
    EXPECT_EQ(missing.exitCode, 1);
    ASSERT_EQ(missing.lines.size(), 1);
    EXPECT_EQ(missing.lines[0].value("icon").toString(), QStringLiteral("critical"));
    EXPECT_EQ(missing.lines[0].value("title").toString(), appTitle());
    EXPECT_EQ(missing.lines[0].value("text").toString(), Startup::missingExamDatabaseMessage());

    // The connection question is answered No: one question, then the end.
    TestFolder unreachable;
    korvex::test::makeShellFolder(unreachable, {.databaseName = QStringLiteral("gone.sqlite")});
    BatchResult no = runBatchProcess(login(unreachable, "admin", "secret") << "startup"
                                                                           << "--answer"
                                                                           << "yes");
    EXPECT_EQ(no.exitCode, 1);
    ASSERT_EQ(no.lines.size(), 1) << no.stdoutText.toStdString();
    EXPECT_EQ(no.lines[0].value("kind").toString(), QStringLiteral("question"));
    EXPECT_EQ(no.lines[0].value("icon").toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(no.lines[0].value("answer").toString(), QStringLiteral("no"));
    EXPECT_EQ(no.lines[0].value("text").toString(), Startup::connectionQuestion());
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
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1) << run.stdoutText.toStdString();
    EXPECT_EQ(run.lines[0].value("icon").toString(), QStringLiteral("critical"));
    EXPECT_TRUE(run.lines[0].value("text").toString().contains(QStringLiteral("「9」")));
    EXPECT_EQ(run.lines[0].value("title").toString(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期期中考)[高中版]"));
    EXPECT_EQ(TestFolder::rows(exam, "SELECT count(*) FROM periodical1"), QStringList{"0"});
}

TEST(Batch, BadUsageEndsWithStatusTwoAndPrintsNoJson) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
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
        {"--folder", folder.path(), "--user", "admin", "startup"},
    };
    for (const QStringList& arguments : bad) {
        BatchResult result = runBatchProcess(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.stdoutText.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.stderrText.contains("usage:")) << arguments.join(' ').toStdString();
    }
    // Nothing ran: no settings were read or written, no log.
    EXPECT_FALSE(QFile::exists(folder.file(startupLogName())));
}

TEST(Batch, ArgumentsAreReadWithValuesInEitherForm) {
    QString error;
    const auto options = parseBatchArguments(
        {"--user=T 01", "--password", "", "workbooks", "--teachers", "C%", "--answer=no"},
        "/opt/korvex", &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->folder, QStringLiteral("/opt/korvex"));
    EXPECT_EQ(options->user, QStringLiteral("T 01"));
    EXPECT_EQ(options->password, QString());
    EXPECT_EQ(options->operation, QStringLiteral("workbooks"));
    EXPECT_EQ(options->teachers, QStringLiteral("C%"));
    EXPECT_EQ(options->answer, MainWindowInterface::Answer::No);
    // Without --answer the roster question is cancelled: nothing changes.
    const auto plain =
        parseBatchArguments({"--user", "a", "--password", "b", "roster"}, "/x", &error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->answer, MainWindowInterface::Answer::Cancel);
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
    EXPECT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
    ASSERT_EQ(run.lines.size(), 1);
    EXPECT_TRUE(
        run.lines[0].value("text").toString().startsWith(QStringLiteral("考試資料庫已還原為 ")));
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
