// Roster rebuild, roster update and score export on a school of 3,000
// students (about 36,000 roster rows), the export again with no index on the
// roster, and the backup and restore of exam.mdb: time, rows per second,
// peak memory.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h, whose types it uses
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "StatementCounter.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "exam/ExamOperations.h"
#include "import/BaseDataImports.h"
#include "ops/AppContext.h"
#include "ops/ExamBackups.h"
#include "ops/YieldPacer.h"
#include "sample/SampleGrading.h"
#include "sample/SampleSchool.h"
#include "settings/SettingsFile.h"
#include "startup/StartupSteps.h"

using namespace korvex;

namespace {

int kStudents = 3000;  // a first argument sets another size

// A window that answers the roster question and repaints nothing; the yield
// lets the event loop run as the desktop window does.
class BenchWindow : public MainWindowInterface {
public:
    Answer answer = Answer::Yes;
    QStringList messages;
    void setWindowEnabled(bool on) override { m_enabled = on; }
    bool isWindowEnabled() const override { return m_enabled; }
    void showBusy() override {}
    void setBusyRange(int maximum) override { m_maximum = maximum; }
    void stepBusy(int counter) override { m_counter = counter; }
    void endBusy() override {}
    Answer message(const QString& text, Icon, Buttons buttons, Answer) override {
        if (buttons != Buttons::Ok) return answer;
        messages << text;
        return Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString caption() const override { return QStringLiteral("bench"); }
    void setCaption(const QString&) override {}
    void setExamMenu(const QString&, const QString&, bool) override {}
    // As the desktop window yields: the event loop runs every 10 ms or so.
    void yield() override {
        if (m_pacer.due()) QCoreApplication::processEvents();
    }
    YieldPacer m_pacer;

private:
    bool m_enabled = true;
    int m_maximum = 0;
    int m_counter = 0;
};

long peakMemoryKb() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return long(counters.PeakWorkingSetSize / 1024);
#endif
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool fail(const QString& what) {
    std::fprintf(stderr, "bench_exam: %s\n", qPrintable(what));
    return false;
}

// The sample school of `students` students, opened as start-up opens it
// (term from the school, short codes prepared, the student table extended),
// with the students imported into exam.mdb as the base data import does.
bool prepareSchool(const QString& folder, int students, AppContext& context) {
    SampleSchool::Options options;
    options.students = students;
    QString error;
    if (!SampleSchool::create(folder, options, nullptr, &error)) return fail(error);
    context.appPath = folder;
    context.settings = readSettingsFile(context.filePath(QStringLiteral("ASSISTANT.INI")));
    LoadTermContext(context);
    if (!context.schoolConnected || !openExamConnection(context))
        return fail(QStringLiteral("open"));
    prepareShortCodes(context);
    context.exam.executeGuarded(
        QStringLiteral("ALTER TABLE name add address nvarchar(150), father nvarchar(20) "));
    context.exam.executeGuarded(
        QStringLiteral("ALTER TABLE name add zipcode nvarchar(10), addzone nvarchar(50) "));
    ImportStudents(context);
    return true;
}

// Copies the roster into a scratch table by one prepared insert per row in
// one transaction, straight through Qt: the least any roster write costs.
qint64 insertFloor(Connection& exam, int rows) {
    QSqlDatabase db = exam.database();
    QSqlQuery q(db);
    q.exec(QStringLiteral("DROP TABLE IF EXISTS korvex_floor"));
    q.exec(QStringLiteral("CREATE TABLE korvex_floor AS SELECT * FROM periodical1 WHERE 0"));
    QSqlQuery read(db);
    read.setForwardOnly(true);
    read.exec(QStringLiteral("SELECT sid,class,seat,examno,namec,sub,tchno,gro FROM periodical1"));
    std::vector<QVariantList> values;
    values.reserve(size_t(rows));
    while (read.next()) {
        QVariantList row;
        for (int i = 0; i < 8; ++i) row << read.value(i);
        values.push_back(row);
    }
    read = QSqlQuery(db);
    QElapsedTimer timer;
    timer.start();
    q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "insert into korvex_floor(sid,class,seat,examno,namec,sub,tchno,gro,examsnot,score,"
        "score1,score2,spec) values (?,?,?,?,?,?,?,?,'0',0,0,0,0)"));
    for (const QVariantList& row : values) {
        for (int i = 0; i < 8; ++i) insert.bindValue(i, row.at(i));
        insert.exec();
    }
    q.exec(QStringLiteral("COMMIT"));
    const qint64 ms = timer.elapsed();
    insert = QSqlQuery(db);
    q.exec(QStringLiteral("DROP TABLE korvex_floor"));
    return ms;
}

int count(Connection& connection, const QString& query) {
    auto rs = OpenRecordset(connection, query);
    if (!rs || rs->recordCount() < 1) return -1;
    rs->moveFirst();
    return rs->value(QStringLiteral("n")).toInt();
}

// Processor time used so far (user and system), in milliseconds: on a busy
// machine it shows how much of the elapsed time was this program's own work.
qint64 cpuMs() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ticks = [](const FILETIME& t) {  // 100 ns units
        return (qint64(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10000;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
#endif
}

void report(const char* what, int rows, qint64 ms, qint64 cpu) {
    std::printf("%-16s %6d rows  %7.3f s  %9.0f rows/s  (processor %.3f s)\n", what, rows,
                ms / 1000.0, ms > 0 ? rows * 1000.0 / double(ms) : 0.0, cpu / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1) kStudents = qMax(50, QByteArray(argv[1]).toInt());
    QTemporaryDir dir;
    BenchWindow window;
    AppContext context;
    context.window = &window;
    if (!prepareSchool(dir.path(), kStudents, context)) return 1;
    const QString term = QStringLiteral("s.學年度 = '%1' and s.學期別 = '%2'")
                             .arg(context.settings.year, context.settings.semester);

    const int sourceRows = count(
        context.school,
        QStringLiteral("select count(*) as n from sbscore s inner join sbcourse c on s.科目碼 = "
                       "c.科目碼 and s.班級碼 = c.班級碼 where c.考試比例1 > 0 and ") +
            term);
    std::printf("sample school of %d students: %d score rows weighted in exam 1\n", kStudents,
                sourceRows);
    QElapsedTimer timer;

    bench::StatementCounter statements(context);
    window.answer = MainWindowInterface::Answer::Yes;
    qint64 cpu = cpuMs();
    timer.start();
    ImportExamRoster(context);
    const qint64 rebuildMs = timer.elapsed();
    const qint64 rebuildCpu = cpuMs() - cpu;
    const int rosterRows =
        count(context.exam, QStringLiteral("select count(*) as n from periodical1"));
    if (rosterRows < sourceRows * 9 / 10)
        return fail(QStringLiteral("the rebuild wrote too few rows")), 1;
    report("roster rebuild", sourceRows, rebuildMs, rebuildCpu);
    statements.print("roster rebuild");
    // The floor: the same rows written by one prepared insert in one
    // transaction, with nothing of the operation around it.
    const qint64 floorMs = insertFloor(context.exam, rosterRows);
    std::printf("  one-transaction floor for the same %d rows: %.3f s (rebuild %.1fx)\n",
                rosterRows, floorMs / 1000.0,
                floorMs > 0 ? double(rebuildMs) / double(floorMs) : 0.0);

    // The grading program scores the roster; the update then finds every
    // row and keeps its score.
    GradeCounts graded;
    QString error;
    if (!gradeSample(dir.path(), 1, 1, &graded, &error)) return fail(error), 1;
    const QString scoreSum =
        QStringLiteral("select count(*) as n, sum(score2) as total from periodical1");
    const auto before = OpenRecordset(context.exam, scoreSum);
    window.answer = MainWindowInterface::Answer::No;
    statements.reset();
    cpu = cpuMs();
    timer.restart();
    ImportExamRoster(context);
    const qint64 updateMs = timer.elapsed();
    const qint64 updateCpu = cpuMs() - cpu;
    const auto after = OpenRecordset(context.exam, scoreSum);
    if (!before || !after ||
        before->text(QStringLiteral("n")) != after->text(QStringLiteral("n")) ||
        before->text(QStringLiteral("total")) != after->text(QStringLiteral("total")))
        return fail(QStringLiteral("the update lost rows or scores")), 1;
    report("roster update", sourceRows, updateMs, updateCpu);
    statements.print("roster update");

    statements.reset();
    cpu = cpuMs();
    timer.restart();
    ExportScores(context);
    const qint64 exportMs = timer.elapsed();
    const qint64 exportCpu = cpuMs() - cpu;
    if (count(context.exam,
              QStringLiteral("select count(*) as n from periodical1 where upload=2")) !=
        graded.graded)
        return fail(QStringLiteral("the export missed rows: ") + window.messages.join(u' ')), 1;
    report("score export", graded.graded, exportMs, exportCpu);
    statements.print("score export");

    // The grading program owns the roster table and promises no index on
    // it: the same export with every index of periodical1 dropped.
    for (const QString& statement :
         {QStringLiteral("update periodical1 set upload=1 where upload=2"),
          QStringLiteral("drop index if exists periodical1_student"),
          QStringLiteral("drop index if exists periodical1_upload")})
        if (!context.exam.execute(statement)) return fail(statement), 1;
    cpu = cpuMs();
    timer.restart();
    ExportScores(context);
    const qint64 bareMs = timer.elapsed();
    const qint64 bareCpu = cpuMs() - cpu;
    if (count(context.exam,
              QStringLiteral("select count(*) as n from periodical1 where upload=2")) !=
        graded.graded)
        return fail(QStringLiteral("the export without indexes missed rows")), 1;
    report("export, no index", graded.graded, bareMs, bareCpu);

    // The copy taken before a roster or import, and putting it back.
    QString backupError;
    timer.restart();
    const QString copy = examBackups::take(context.exam, QStringLiteral("roster"), &backupError);
    const qint64 backupMs = timer.elapsed();
    if (copy.isEmpty()) return fail(backupError), 1;
    timer.restart();
    if (!examBackups::restore(context.exam, copy, &backupError)) return fail(backupError), 1;
    const qint64 restoreMs = timer.elapsed();
    std::printf("backup of exam.mdb  %.3f s (%.1f MB)   restore %.3f s\n", backupMs / 1000.0,
                QFileInfo(copy).size() / 1048576.0, restoreMs / 1000.0);

    const long peakKb = peakMemoryKb();
    std::printf("peak memory      %.1f MB\n", peakKb / 1024.0);
    const bool ok = rebuildMs < 5000 && updateMs < 5000 && exportMs < 5000 && bareMs < 5000 &&
                    backupMs < 500 && peakKb < 200L * 1024;
    std::printf("%s (limits: 5 s each, backup 0.5 s, 200 MB)\n",
                ok ? "within limits" : "OVER LIMITS");
    return ok ? 0 : 1;
}
