#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>

#include "ScriptedWindow.h"
#include "ShellFolder.h"
#include "TestFiles.h"
#include "TestFolder.h"
#include "core/AppInfo.h"
#include "core/ProgramFolder.h"
#include "db/Connection.h"
#include "ops/AppContext.h"
#include "startup/ShellWindow.h"
#include "startup/Startup.h"

using namespace korvex;
using korvex::test::ScriptedWindow;
using korvex::test::ShellFolderOptions;
using korvex::test::TestFolder;
using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

namespace {

// The scripted main window with what start-up does to the window itself.
class ScriptedShell : public ShellWindow {
public:
    ScriptedWindow w;
    QString versionText;
    bool shown = false;
    bool menusEnabled = false;

    void setWindowEnabled(bool on) override { w.setWindowEnabled(on); }
    bool isWindowEnabled() const override { return w.isWindowEnabled(); }
    void showBusy() override { w.showBusy(); }
    void setBusyRange(int maximum) override { w.setBusyRange(maximum); }
    void stepBusy(int counter) override { w.stepBusy(counter); }
    void endBusy() override { w.endBusy(); }
    Answer message(const QString& text, Icon icon, Buttons buttons, Answer def) override {
        return w.message(text, icon, buttons, def);
    }
    std::optional<QString> input(const QString& p, const QString& t, const QString& d) override {
        return w.input(p, t, d);
    }
    QString caption() const override { return w.caption(); }
    void setCaption(const QString& caption) override { w.setCaption(caption); }
    void setExamMenu(const QString& a, const QString& b, bool on) override {
        w.setExamMenu(a, b, on);
    }
    void yield() override { w.yield(); }
    void setVersionText(const QString& text) override { versionText = text; }
    void showWindow() override {
        shown = true;
        w.events << QStringLiteral("show");
    }
    void enableTopMenus() override {
        menusEnabled = true;
        w.events << QStringLiteral("menus");
    }
};

class ScriptedDialogs : public StartupDialogs {
public:
    ScriptedShell* shell = nullptr;
    std::function<void(AppContext&)> onSettings;
    std::function<void()> onLogin;
    bool loginAnswer = true;
    int settingsShown = 0;
    int loginShown = 0;
    // The copy to put back over a damaged exam.mdb; empty answers No.
    QString damagedAnswer;
    std::optional<DamagedExam> damagedShown;

    void editConnectionSettings(AppContext& context) override {
        ++settingsShown;
        shell->w.events << QStringLiteral("settings");
        if (onSettings) onSettings(context);
    }
    bool login(AppContext&) override {
        ++loginShown;
        if (onLogin) onLogin();
        shell->w.events << QStringLiteral("login");
        return loginAnswer;
    }
    std::optional<QString> replaceDamagedExam(AppContext&, const DamagedExam& damaged) override {
        damagedShown = damaged;
        shell->w.events << QStringLiteral("damaged");
        if (damagedAnswer.isEmpty()) return std::nullopt;
        return damagedAnswer;
    }
};

struct StartupRun {
    AppContext context;
    ScriptedShell shell;
    ScriptedDialogs dialogs;
    Startup::Result result = Startup::Result::Ended;
    QString cause;

    explicit StartupRun(const QString& folder, const std::function<void(StartupRun&)>& setup = {}) {
        dialogs.shell = &shell;
        if (setup) setup(*this);
        Startup startup(context, shell, dialogs);
        result = startup.run(folder);
        cause = startup.endCause();
    }
};

QStringList logLines(const TestFolder& folder) {
    QFile log(folder.file(startupLogName()));
    if (!log.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

TEST(Startup, ReadyAfterLoginWithTermTitleExamNamesAndExtendedStudentTable) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QByteArray iniBefore = [&] {
        QFile f(folder.file("ASSISTANT.INI"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    StartupRun run(folder.path());

    ASSERT_EQ(run.result, Startup::Result::Ready) << run.cause.toStdString();
    EXPECT_TRUE(run.shell.w.messages.isEmpty())
        << run.shell.w.messageTexts().join('\n').toStdString();
    EXPECT_TRUE(run.context.schoolConnected);
    EXPECT_TRUE(run.context.school.isOpen());
    EXPECT_TRUE(run.context.exam.isOpen());
    // The current term comes from z_system; the title and the exam menu follow it.
    EXPECT_EQ(run.context.settings.year, QStringLiteral("95"));
    EXPECT_EQ(run.shell.caption(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期期中考)[高中版]"));
    EXPECT_EQ(run.shell.w.examImportCaption, QStringLiteral("匯入95學年第2學期期中考考試資料"));
    EXPECT_TRUE(run.shell.w.examMenuEnabled);
    // Names only where z_name has them, without trailing blanks.
    EXPECT_EQ(run.context.examNames.mid(1, 6),
              (QStringList{QStringLiteral("第一次段考"), QString(), QStringLiteral("期中考"),
                           QString(), QString(), QString()}));
    // The window shows before the login; the menus open after it.
    const QStringList& events = run.shell.w.events;
    EXPECT_LT(events.indexOf("show"), events.indexOf("login"));
    EXPECT_LT(events.indexOf("login"), events.indexOf("menus"));
    EXPECT_TRUE(run.shell.menusEnabled);
    // The four contact columns are now in `name`.
    const QString exam = folder.file("exam.mdb");
    EXPECT_EQ(TestFolder::rows(exam,
                               "SELECT count(*) FROM pragma_table_info('name') WHERE name IN "
                               "('address','father','zipcode','addzone')"),
              QStringList{"4"});
    // The term read from the school database is not written to the file.
    QFile ini(folder.file("ASSISTANT.INI"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), iniBefore);
    EXPECT_FALSE(QFileInfo::exists(folder.file("ASSISTANT.LOG")));

    // While the first program runs, a second copy is refused and changes
    // nothing; it names the program that holds the folder.
    StartupRun second(folder.path());
    EXPECT_EQ(second.result, Startup::Result::Ended);
    ASSERT_EQ(second.shell.w.messages.size(), 1);
    EXPECT_TRUE(
        second.shell.w.messages[0].text.contains(QStringLiteral("正由另一個小幫手程式使用中")))
        << second.shell.w.messages[0].text.toStdString();
#ifdef Q_OS_WIN
    // Windows names the computer by its computer name, as the system's
    // settings show it (the host name in capitals, at most 15 letters).
    const QString computer = qEnvironmentVariable("COMPUTERNAME");
    ASSERT_FALSE(computer.isEmpty());
#else
    const QString computer = QSysInfo::machineHostName();
#endif
    // This test program holds the lock: its name and process number.
    const QString holder =
        QStringLiteral("(電腦 %1 上的 %2, 處理程序 %3)")
            .arg(computer, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName())
            .arg(QCoreApplication::applicationPid());
    EXPECT_TRUE(second.shell.w.messages[0].text.contains(holder))
        << second.shell.w.messages[0].text.toStdString() << "\n"
        << holder.toStdString();
    EXPECT_EQ(second.dialogs.loginShown, 0);
    EXPECT_FALSE(QFileInfo::exists(folder.file("ASSISTANT.LOG")));

    // A second start once the first has ended: the columns exist, the
    // statements fail quietly, and start-up goes on as before.
    releaseConnections(run.context);
    run.context.folderLock.reset();
    StartupRun again(folder.path());
    EXPECT_EQ(again.result, Startup::Result::Ready) << again.cause.toStdString();
    EXPECT_TRUE(again.shell.w.messages.isEmpty());
    EXPECT_FALSE(again.context.exam.errorPending());
    EXPECT_EQ(TestFolder::rows(exam,
                               "SELECT count(*) FROM pragma_table_info('name') WHERE name IN "
                               "('address','father','zipcode','addzone')"),
              QStringList{"4"});
}

TEST(Startup, SchoolWithoutTermTableCountsAsUnreachable) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    TestFolder::run(folder.file("school.sqlite"), {QStringLiteral("DROP TABLE z_system")});
    StartupRun run(folder.path(), [](StartupRun& r) { r.shell.w.answers = {Answer::No}; });
    EXPECT_EQ(run.result, Startup::Result::Ended);
    EXPECT_EQ(run.shell.w.messageTexts(), QStringList{Startup::connectionQuestion()});
}

TEST(Startup, MissingExamNamesTableLeavesNamesEmpty) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    TestFolder::run(folder.file("school.sqlite"), {QStringLiteral("DROP TABLE z_name")});
    StartupRun run(folder.path());
    EXPECT_EQ(run.result, Startup::Result::Ready) << run.cause.toStdString();
    EXPECT_EQ(run.context.examNames, QStringList(11));
}

TEST(Startup, SilentEndsAreLoggedWithTheirCause) {
    // An exam.mdb that is no database ends start-up before the window shows.
    TestFolder broken;
    korvex::test::makeShellFolder(broken, {.withExam = false});
    {
        QFile f(broken.file("exam.mdb"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database at all");
    }
    StartupRun run(broken.path());
    EXPECT_EQ(run.result, Startup::Result::Ended);
    // The damage is told (the dialog's own message), answered No here.
    EXPECT_TRUE(run.dialogs.damagedShown.has_value());
    EXPECT_TRUE(run.shell.w.messages.isEmpty());
    EXPECT_FALSE(run.shell.shown);
    ASSERT_EQ(logLines(broken).size(), 1);
    EXPECT_TRUE(logLines(broken).first().contains(QStringLiteral("exam.mdb")));
    EXPECT_TRUE(logLines(broken).first().contains(QStringLiteral("已損壞")));

    // A refused login ends the program after the window was shown.
    TestFolder refused;
    korvex::test::makeShellFolder(refused);
    StartupRun login(refused.path(), [](StartupRun& r) { r.dialogs.loginAnswer = false; });
    EXPECT_EQ(login.result, Startup::Result::Ended);
    EXPECT_TRUE(login.shell.shown);
    EXPECT_FALSE(login.shell.menusEnabled);
    EXPECT_TRUE(login.shell.w.messages.isEmpty());
    ASSERT_EQ(logLines(refused).size(), 1);
    EXPECT_TRUE(logLines(refused).first().contains(QStringLiteral("未登入")));
}

// A damaged exam.mdb, or a database without the grading program's tables,
// is told with the newest copy of backup/; Yes keeps the damaged file
// beside it, puts the copy back and goes on; No ends with the file as it
// was.
TEST(Startup, DamagedExamCanBeReplacedByItsNewestCopy) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString exam = folder.file("exam.mdb");
    TestFolder::run(exam, {QStringLiteral("insert into teacher values ('T9','九','','')")});
    QDir().mkpath(folder.file("backup"));
    const QString older = folder.file("backup/exam-20261201-080000-teachers.mdb");
    const QString newest = folder.file("backup/exam-20261208-101500-roster.mdb");
    for (const QString& copy : {older, newest})
        TestFolder::run(exam, {QStringLiteral("VACUUM INTO '%1'").arg(copy)});
    const QByteArray damage("not a database at all, a disk error later");
    auto breakExam = [&] {
        QFile f(exam);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(damage);
    };

    breakExam();
    StartupRun no(folder.path());
    EXPECT_EQ(no.result, Startup::Result::Ended);
    ASSERT_TRUE(no.dialogs.damagedShown.has_value());
    const DamagedExam& told = *no.dialogs.damagedShown;
    EXPECT_EQ(QFileInfo(told.file).fileName(), QStringLiteral("exam.mdb"));
    ASSERT_EQ(told.copies.size(), 2);
    EXPECT_EQ(told.copies.first().path, newest);
    EXPECT_EQ(told.copies.first().operation, QStringLiteral("roster"));
    EXPECT_TRUE(QFileInfo(told.keptAs).fileName().startsWith(QStringLiteral("exam-damaged-")));
    EXPECT_EQ(korvex::test::readBytes(exam), damage);
    EXPECT_FALSE(QFileInfo::exists(told.keptAs));
    no.context.folderLock.reset();  // as the program's end gives the folder up

    StartupRun yes(folder.path(), [&](StartupRun& r) { r.dialogs.damagedAnswer = newest; });
    ASSERT_EQ(yes.result, Startup::Result::Ready) << yes.cause.toStdString();
    ASSERT_TRUE(yes.dialogs.damagedShown.has_value());
    EXPECT_EQ(korvex::test::readBytes(yes.dialogs.damagedShown->keptAs), damage);
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select tchno from teacher")),
              QStringList{"T9"});
    EXPECT_TRUE(QFileInfo::exists(newest));  // the copy stays a copy
    EXPECT_TRUE(yes.context.exam.isOpen());

    // A database without the grading program's tables is as useless.
    releaseConnections(yes.context);
    yes.context.folderLock.reset();
    QFile::remove(exam);
    TestFolder::run(exam, {QStringLiteral("create table notes (line text)")});
    StartupRun empty(folder.path());
    EXPECT_EQ(empty.result, Startup::Result::Ended) << empty.cause.toStdString();
    ASSERT_TRUE(empty.dialogs.damagedShown.has_value());
    EXPECT_TRUE(empty.dialogs.damagedShown->reason.contains(QStringLiteral("teacher")))
        << empty.dialogs.damagedShown->reason.toStdString();
}

TEST(Startup, AccessFileWithoutItsDriverEndsWithAMessageNamingTheDriver) {
    // Neither Linux nor Wine has an Access driver: start-up says so and ends,
    // and the log keeps the same cause.
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.withExam = false});
    {
        QFile f(folder.file("exam.mdb"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray head("\x00\x01\x00\x00Standard Jet DB", 19);
        head.append(2048 - head.size(), '\0');
        f.write(head);
    }
    StartupRun run(folder.path());
    EXPECT_EQ(run.result, Startup::Result::Ended);
    EXPECT_FALSE(run.shell.shown);
    ASSERT_EQ(run.shell.w.messages.size(), 1);
    const auto& message = run.shell.w.messages.first();
    EXPECT_EQ(message.icon, Icon::Critical);
    EXPECT_TRUE(message.text.contains(QStringLiteral("Microsoft Access ODBC 驅動程式")))
        << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(folder.file("exam.mdb"))));
#ifdef Q_OS_WIN
    EXPECT_TRUE(message.text.contains(QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)")));
    EXPECT_TRUE(message.text.contains(QStringLiteral("Access Database Engine")));
    EXPECT_TRUE(message.text.contains(QStringLiteral("32 位元")));
#endif
    ASSERT_EQ(logLines(folder).size(), 1);
    EXPECT_TRUE(logLines(folder).first().contains(message.text));
}

TEST(Startup, StudentTableMissingSomeContactColumnsGetsTheOthers) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString exam = folder.file("exam.mdb");
    TestFolder::run(exam, {QStringLiteral("ALTER TABLE name ADD COLUMN address TEXT"),
                           QStringLiteral("ALTER TABLE name ADD COLUMN zipcode TEXT")});
    StartupRun run(folder.path());
    EXPECT_EQ(run.result, Startup::Result::Ready) << run.cause.toStdString();
    EXPECT_TRUE(run.shell.w.messages.isEmpty());
    EXPECT_FALSE(run.context.exam.errorPending());
    EXPECT_EQ(TestFolder::rows(exam,
                               "SELECT count(*) FROM pragma_table_info('name') WHERE name IN "
                               "('address','father','zipcode','addzone')"),
              QStringList{"4"});
    // The added ones refuse a value longer than their size, as Access would.
    const QString insert = QStringLiteral("INSERT INTO name(sid, father) VALUES (?, ?)");
    EXPECT_FALSE(run.context.exam.execute(insert, {QStringLiteral("A1"), QString(21, u'父')}));
    run.context.exam.clearError();
    EXPECT_TRUE(run.context.exam.execute(insert, {QStringLiteral("A1"), QString(20, u'父')}));
}

// The columns of exam.mdb's student table and the school's short codes are
// added once: a later start reads the columns and sends no change that must
// fail (on Jet a change needs the table to itself, on SQL Server a failed
// one is rolled back at every start).
TEST(Startup, LaterStartsSendNoTableChange) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    {
        StartupRun first(folder.path());
        ASSERT_EQ(first.result, Startup::Result::Ready);
    }
    QStringList changes;
    Connection::setStatementObserver([&](const Connection&, const QString& sql) {
        if (sql.trimmed().startsWith(QLatin1String("alter"), Qt::CaseInsensitive)) changes << sql;
    });
    StartupRun second(folder.path());
    Connection::setStatementObserver({});
    EXPECT_EQ(second.result, Startup::Result::Ready) << second.cause.toStdString();
    EXPECT_TRUE(changes.isEmpty()) << changes.join(u'\n').toStdString();
    EXPECT_TRUE(second.shell.w.messages.isEmpty());
}

// A first start while another program holds exam.mdb cannot add the
// columns: the user is told why, and start-up goes on.
TEST(Startup, ColumnsThatCannotBeAddedAreShownWithTheirCause) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString exam = folder.file("exam.mdb");
    TestFolder::run(exam, {QStringLiteral("CREATE TABLE plain (x)")});  // no contact columns yet
    const QString name = QStringLiteral("holder");
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        holder.setDatabaseName(exam);
        ASSERT_TRUE(holder.open());
        QSqlQuery lock(holder);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN IMMEDIATE")));
        ASSERT_TRUE(lock.exec(QStringLiteral("insert into plain values (1)")));

        StartupRun run(folder.path());
        EXPECT_EQ(run.result, Startup::Result::Ready) << run.cause.toStdString();
        ASSERT_EQ(run.shell.w.messages.size(), 1);
        const auto& shown = run.shell.w.messages.first();
        EXPECT_EQ(shown.icon, Icon::Exclamation);
        EXPECT_TRUE(shown.text.startsWith(
            QStringLiteral("無法在考試資料庫的學生資料表 name 加入欄位 address")))
            << shown.text.toStdString();
        EXPECT_TRUE(
            shown.text.contains(QStringLiteral("原因: 考試資料庫 exam.mdb正由其他程式使用中")))
            << shown.text.toStdString();
        lock.exec(QStringLiteral("ROLLBACK"));
        lock = QSqlQuery();
        holder.close();
    }
    QSqlDatabase::removeDatabase(name);
}

TEST(Startup, TemplatesAreRewrittenBeforeTheLogin) {
    // A stale template is replaced by the program's own before the login,
    // and stays so when the login is refused.
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    {
        QFile stale(folder.file("scorep.xls"));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("edited by hand");
    }
    QByteArray atLogin;
    StartupRun refused(folder.path(), [&](StartupRun& r) {
        r.dialogs.loginAnswer = false;
        r.dialogs.onLogin = [&] {
            QFile file(folder.file("scorep.xls"));
            if (file.open(QIODevice::ReadOnly)) atLogin = file.readAll();
        };
    });
    EXPECT_EQ(refused.result, Startup::Result::Ended);
    EXPECT_TRUE(atLogin.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
    for (const char* name : {"scorep.xls", "scoret.xls"}) {
        QFile file(folder.file(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        // Excel 97 files are compound files.
        EXPECT_TRUE(file.read(8).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))) << name;
    }
}

// A template that cannot be replaced (here a folder in its place) ends
// start-up after the window has shown, without a message or a login.
TEST(Startup, ATemplateThatCannotBeRewrittenEndsSilently) {
    TestFolder blocked;
    korvex::test::makeShellFolder(blocked);
    ASSERT_TRUE(QDir(blocked.path()).mkpath(QStringLiteral("scoret.xls/inside")));
    StartupRun run(blocked.path());
    EXPECT_EQ(run.result, Startup::Result::Ended);
    EXPECT_TRUE(run.shell.shown);
    EXPECT_EQ(run.dialogs.loginShown, 0);
    EXPECT_FALSE(run.shell.menusEnabled);
    EXPECT_TRUE(run.shell.w.messages.isEmpty());
    ASSERT_EQ(logLines(blocked).size(), 1);
    EXPECT_TRUE(logLines(blocked).first().contains(QStringLiteral("scoret.xls")));
}

TEST(ProgramFolder, FolderOptionOrTheExecutablesFolder) {
    EXPECT_EQ(programFolder({}, "/opt/korvex/"), QStringLiteral("/opt/korvex"));
    EXPECT_EQ(programFolder("/srv/exam/", "/opt/korvex"), QStringLiteral("/srv/exam"));
    EXPECT_EQ(programFolder("/srv/考試", "/opt/korvex"), QStringLiteral("/srv/考試"));
    EXPECT_EQ(programFolder("sub", "/opt/korvex"), QDir::current().filePath("sub"));
}

TEST(Startup, SettingsFileIsFoundWhateverItsLetterCase) {
    // A folder copied from Windows may hold the settings as "assistant.ini";
    // they are read, not replaced by a new file with the defaults. On every
    // file system the folder then still holds that one file under its own
    // name. Where letter case tells names apart (Linux), the lookup returns
    // the file's own name; where it does not (Windows), any spelling names
    // the same file and the exact one is returned.
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    // Written anew under the other name: where letter case does not tell
    // names apart, a rename that changes only the case may leave the old name.
    {
        QFile upper(folder.file("ASSISTANT.INI"));
        ASSERT_TRUE(upper.open(QIODevice::ReadOnly));
        const QByteArray settings = upper.readAll();
        upper.close();
        ASSERT_TRUE(upper.remove());
        QFile lower(folder.file("assistant.ini"));
        ASSERT_TRUE(lower.open(QIODevice::WriteOnly));
        ASSERT_EQ(lower.write(settings), settings.size());
    }
    const bool caseSensitive = !QFileInfo::exists(folder.file("Assistant.Ini"));
#ifdef Q_OS_WIN
    EXPECT_FALSE(caseSensitive);
#endif
    StartupRun run(folder.path());
    EXPECT_EQ(run.result, Startup::Result::Ready) << run.cause.toStdString();
    EXPECT_EQ(run.context.settings.databaseName, QStringLiteral("school.sqlite"));
    const QStringList settingsFiles =
        QDir(folder.path()).entryList({QStringLiteral("*.ini")}, QDir::Files);
    EXPECT_EQ(settingsFiles, QStringList{QStringLiteral("assistant.ini")});
    const QString found = programFile(folder.path(), QStringLiteral("ASSISTANT.INI"));
    if (caseSensitive) {
        EXPECT_EQ(found, folder.file("assistant.ini"));
    } else {
        EXPECT_EQ(found, folder.file("ASSISTANT.INI"));
        EXPECT_TRUE(QFileInfo::exists(found));
    }
    EXPECT_EQ(programFile(folder.path(), QStringLiteral("none.ini")), folder.file("none.ini"));
}
