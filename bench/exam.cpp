// Roster rebuild, roster update and score export on a school of 3,000
// students (about 36,000 roster rows): time, rows per second, peak memory.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

#include "app/AppContext.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Schemas.h"
#include "exam/ExamOperations.h"

using namespace korvex;

namespace {

int kStudents = 3000;  // a first argument sets another size
constexpr int kClassSize = 50;
constexpr int kSubjects = 12;

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
    void yield() override { QCoreApplication::processEvents(); }

private:
    bool m_enabled = true;
    int m_maximum = 0;
    int m_counter = 0;
};

long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool fail(const char* what) {
    std::fprintf(stderr, "bench_exam: %s\n", what);
    return false;
}

// The school's score rows of term 94/1 with the class subjects weighted for
// exam 1, and the students of exam.mdb, as the base data imports leave them.
bool buildSchool(const QString& schoolFile, const QString& examFile) {
    QString error;
    if (!createSqliteDatabase(schoolFile, schoolSchema(), &error) ||
        !createSqliteDatabase(examFile, examSchema(), &error))
        return fail(qPrintable(error));
    Connection school, exam;
    if (!school.openSqlite(schoolFile) || !exam.openSqlite(examFile)) return fail("open");
    school.beginTransaction();
    exam.beginTransaction();
    const int classes = kStudents / kClassSize;
    for (int c = 0; c < classes; ++c) {
        const QString classCode = QStringLiteral("30%1%2").arg(1 + c / 20).arg(1 + c % 20, 2, 10, QChar(u'0'));
        const QString shortCode = QStringLiteral("%1%2").arg(1 + c / 20).arg(1 + c % 20, 2, 10, QChar(u'0'));
        for (int s = 0; s < kSubjects; ++s)
            school.execute(QStringLiteral("insert into sbcourse(班級碼,科目碼,教師碼,考試比例1) values (?,?,?,?)"),
                           {classCode, QStringLiteral("S%1").arg(s, 5, 10, QChar(u'0')),
                            QStringLiteral("T%1").arg((c * kSubjects + s) % 150, 3, 10, QChar(u'0')),
                            s == kSubjects - 1 ? 0 : 30});
        for (int seat = 1; seat <= kClassSize; ++seat) {
            const QString sid = QStringLiteral("A%1").arg(c * kClassSize + seat, 9, 10, QChar(u'0'));
            const QString examno = shortCode + QStringLiteral("%1").arg(seat, 2, 10, QChar(u'0'));
            exam.execute(QStringLiteral("insert into name(class,seat,name,sid,examno,gro) values (?,?,?,?,?,?)"),
                         {shortCode, examno.mid(3), QStringLiteral("學生%1").arg(seat), sid, examno,
                          QStringLiteral("1%1").arg(c % 10)});
            // Twelve subjects, one of them without weight in exam 1, plus a
            // thirteenth in the same spirit to reach about twelve per student.
            for (int s = 0; s < kSubjects; ++s)
                school.execute(QStringLiteral("insert into sbscore(學年度,學期別,身份證號,班級碼,科目碼) "
                                              "values ('94','1',?,?,?)"),
                               {sid, classCode, QStringLiteral("S%1").arg(s, 5, 10, QChar(u'0'))});
        }
    }
    if (school.errorPending() || exam.errorPending()) return fail("building the sample school");
    school.commitTransaction();
    exam.commitTransaction();
    return true;
}

int count(Connection& connection, const QString& query) {
    auto rs = OpenSnapshot(connection, query);
    if (!rs || rs->recordCount() < 1) return -1;
    rs->moveFirst();
    return rs->value(QStringLiteral("n")).toInt();
}

// Processor time used so far (user and system), in milliseconds: on a busy
// machine it shows how much of the elapsed time was this program's own work.
qint64 cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

void report(const char* what, int rows, qint64 ms, qint64 cpu) {
    std::printf("%-16s %6d rows  %7.3f s  %9.0f rows/s  (processor %.3f s)\n", what, rows,
                ms / 1000.0, ms > 0 ? rows * 1000.0 / double(ms) : 0.0, cpu / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1) kStudents = qMax(kClassSize, QByteArray(argv[1]).toInt());
    QTemporaryDir dir;
    const QString schoolFile = dir.filePath(QStringLiteral("school.sqlite"));
    const QString examFile = dir.filePath(QStringLiteral("exam.mdb"));
    if (!buildSchool(schoolFile, examFile)) return 1;

    BenchWindow window;
    AppContext context;
    context.appPath = dir.path();
    context.settings.year = QStringLiteral("94");
    context.settings.semester = QStringLiteral("1");
    context.settings.examNo = QStringLiteral("1");
    context.settings.examName = QStringLiteral("期中考");
    context.window = &window;
    if (!context.school.openSqlite(schoolFile) || !context.exam.openSqlite(examFile)) return 1;
    context.schoolConnected = true;

    const int sourceRows = count(context.school,
        QStringLiteral("select count(*) as n from sbscore inner join sbcourse on sbscore.科目碼 = "
                       "sbcourse.科目碼 and sbscore.班級碼 = sbcourse.班級碼 where 考試比例1 > 0"));
    QElapsedTimer timer;

    window.answer = MainWindowInterface::Answer::Yes;
    qint64 cpu = cpuMs();
    timer.start();
    ImportExamRoster(context);
    const qint64 rebuildMs = timer.elapsed();
    const qint64 rebuildCpu = cpuMs() - cpu;
    const int rosterRows = count(context.exam, QStringLiteral("select count(*) as n from periodical1"));
    if (rosterRows != sourceRows) return fail("the rebuild did not write every row"), 1;
    report("roster rebuild", rosterRows, rebuildMs, rebuildCpu);

    // Every row is found and updated in place.
    context.exam.execute(QStringLiteral("update periodical1 set score2 = 60 + (rowid % 40) + 0.5, "
                                        "abs = case when rowid % 97 = 0 then 1 else 0 end"));
    window.answer = MainWindowInterface::Answer::No;
    cpu = cpuMs();
    timer.restart();
    ImportExamRoster(context);
    const qint64 updateMs = timer.elapsed();
    const qint64 updateCpu = cpuMs() - cpu;
    if (count(context.exam, QStringLiteral("select count(*) as n from periodical1 where examsnot='0' "
                                           "and score2 > 0")) != sourceRows)
        return fail("the update lost rows or scores"), 1;
    report("roster update", sourceRows, updateMs, updateCpu);

    // The grading program marks every row ready.
    context.exam.execute(QStringLiteral("update periodical1 set upload = 1"));
    cpu = cpuMs();
    timer.restart();
    ExportScores(context);
    const qint64 exportMs = timer.elapsed();
    const qint64 exportCpu = cpuMs() - cpu;
    if (count(context.exam, QStringLiteral("select count(*) as n from periodical1 where upload=2")) !=
            sourceRows ||
        count(context.school, QStringLiteral("select count(*) as n from sbscore where 考試成績1 is not null")) !=
            sourceRows)
        return fail("the export missed rows"), 1;
    report("score export", sourceRows, exportMs, exportCpu);

    const long peakKb = peakMemoryKb();
    std::printf("peak memory      %.1f MB\n", peakKb / 1024.0);
    const bool ok = rebuildMs < 5000 && updateMs < 5000 && exportMs < 5000 && peakKb < 200 * 1024;
    std::printf("%s (limits: 5 s each, 200 MB)\n", ok ? "within limits" : "OVER LIMITS");
    return ok ? 0 : 1;
}
