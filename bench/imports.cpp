// Times the six base-data imports on a sample school.
//
//   bench_imports [--students N] [--folder DIR] [--in-process]
//
// Without --folder it creates a sample school of N students (3000) with
// korvex-sample in a temporary folder. Each import runs through korvex-batch
// (start-up, login and the operation, as a user would run it from a script);
// with --in-process, or when korvex-batch cannot run the folder's start-up,
// the imports run inside this process with a silent window, after the short
// codes have been prepared as start-up prepares them (high-school class
// numbers) and the contact columns added to the students' table. Prints the
// time and the rows per second of each import, the messages it showed, and
// the total; in process, also the statements each import sent to each
// database.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "StatementCounter.h"
#include "import/BaseDataImports.h"
#include "ops/AppContext.h"
#include "ops/YieldPacer.h"
#include "startup/StartupSteps.h"

using namespace korvex;

namespace {

struct Operation {
    const char* name;   // korvex-batch's operation
    const char* table;  // the exam table it fills
    void (*run)(AppContext&);
};

const Operation kOperations[] = {
    {"departments", "dep", ImportDepartmentsAndGroups},
    {"classes", "class", ImportClasses},
    {"students", "name", ImportStudents},
    {"subjects", "subject", ImportSubjects},
    {"teachers", "teacher", ImportTeachers},
    {"courses", "course", ImportExamCourses},
};

// A message an import showed, on one line and cut to a readable length.
QString oneLine(const QString& icon, const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (line.size() > 60) line = line.left(60) + QStringLiteral("…");
    return QStringLiteral("[%1] %2").arg(icon, line);
}

// A window that shows nothing; it lets the event loop run as the real one does.
class SilentWindow : public MainWindowInterface {
public:
    QStringList messages;
    void setWindowEnabled(bool on) override { m_enabled = on; }
    bool isWindowEnabled() const override { return m_enabled; }
    void showBusy() override {}
    void setBusyRange(int) override {}
    void stepBusy(int) override {}
    void endBusy() override {}
    Answer message(const QString& text, Icon icon, Buttons, Answer) override {
        messages << oneLine(iconName(icon), text);
        return Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString caption() const override { return QString(); }
    void setCaption(const QString&) override {}
    void setExamMenu(const QString&, const QString&, bool) override {}
    // As the desktop window yields: the event loop runs every 10 ms or so.
    void yield() override {
        if (m_pacer.due()) QCoreApplication::processEvents();
    }
    YieldPacer m_pacer;

private:
    bool m_enabled = true;
};

QString tool(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

// Runs a program of the build; its standard output, or nothing on failure.
// korvex-batch's status 3 (the operation ran, then reported a problem, such
// as the sample school's doubled seat) is not a failure.
std::optional<QByteArray> runTool(const QString& name, const QStringList& arguments) {
    QProcess process;
    process.start(tool(name), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        (process.exitCode() != 0 && process.exitCode() != 3)) {
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(name),
                     qPrintable(arguments.join(u' ')), process.readAllStandardError().constData());
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

int rowCount(const QString& examFile, const QString& table) {
    int count = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(examFile);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select count(*) from %1").arg(table)) && query.next())
                count = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return count;
}

// Runs one import and collects the messages it showed; false when it could
// not run at all.
using Runner = std::function<bool(const Operation&, QStringList& messages)>;

// The table: one line per import with its rows and time, the messages it
// showed below it, then the total. Exit code 3 when the total is over the limit.
int report(const QString& examFile, const Runner& runner) {
    double total = 0;
    std::printf("%-12s %8s %8s %10s\n", "import", "rows", "seconds", "rows/s");
    for (const Operation& op : kOperations) {
        QStringList messages;
        QElapsedTimer timer;
        timer.start();
        if (!runner(op, messages)) return 1;
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        total += seconds;
        const int rows = rowCount(examFile, QString::fromLatin1(op.table));
        std::printf("%-12s %8d %8.3f %10.0f\n", op.name, rows, seconds,
                    seconds > 0 ? rows / seconds : 0.0);
        for (const QString& message : messages) std::printf("    %s\n", qPrintable(message));
    }
    std::printf("%-12s %8s %8.3f   (limit 3.000)\n", "all six", "", total);
    return total < 3.0 ? 0 : 3;
}

int inProcess(const QString& folder) {
    AppContext context;
    SilentWindow window;
    context.appPath = folder;
    context.window = &window;
    if (!context.school.openSqlite(context.filePath(QStringLiteral("school.sqlite"))) ||
        !context.exam.openSqlite(context.filePath(QStringLiteral("exam.mdb")))) {
        std::fprintf(stderr, "cannot open the databases in %s\n", qPrintable(folder));
        return 1;
    }
    context.exam.setCommandTimeout(1);
    prepareShortCodes(context);
    // The contact columns that start-up adds to the students' table.
    context.exam.executeGuarded(
        QStringLiteral("ALTER TABLE name add address nvarchar(150), father nvarchar(20) "));
    context.exam.executeGuarded(
        QStringLiteral("ALTER TABLE name add zipcode nvarchar(10), addzone nvarchar(50) "));
    std::printf("in process, %s\n", qPrintable(folder));
    bench::StatementCounter statements(context);
    return report(context.filePath(QStringLiteral("exam.mdb")),
                  [&](const Operation& op, QStringList& messages) {
                      window.messages.clear();
                      statements.reset();
                      op.run(context);
                      messages = window.messages;
                      messages.prepend(QStringLiteral("statements: school %1, exam.mdb %2")
                                           .arg(statements.school())
                                           .arg(statements.exam()));
                      return true;
                  });
}

int throughBatch(const QString& folder) {
    const QStringList login{QStringLiteral("--folder"),   folder,
                            QStringLiteral("--user"),     QStringLiteral("admin"),
                            QStringLiteral("--password"), QStringLiteral("admin")};
    std::printf("through korvex-batch, %s\n", qPrintable(folder));
    return report(QDir(folder).filePath(QStringLiteral("exam.mdb")), [&](const Operation& op,
                                                                         QStringList& messages) {
        const auto out = runTool(QStringLiteral("korvex-batch"),
                                 login + QStringList{QString::fromLatin1(op.name)});
        if (!out) return false;
        // korvex-batch prints one JSON object per message box.
        for (const QByteArray& line : out->split('\n')) {
            if (line.trimmed().isEmpty()) continue;
            const QJsonObject box = QJsonDocument::fromJson(line).object();
            messages << (box.isEmpty() ? QString::fromUtf8(line)
                                       : oneLine(box.value(QStringLiteral("icon")).toString(),
                                                 box.value(QStringLiteral("text")).toString()));
        }
        return true;
    });
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString students = QStringLiteral("3000");
    QString folder;
    bool local = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--students") && i + 1 < args.size())
            students = args[++i];
        else if (args[i] == QLatin1String("--folder") && i + 1 < args.size())
            folder = args[++i];
        else if (args[i] == QLatin1String("--in-process"))
            local = true;
        else {
            std::fprintf(stderr,
                         "usage: bench_imports [--students N] [--folder DIR] [--in-process]\n");
            return 2;
        }
    }

    QTemporaryDir temporary;
    if (folder.isEmpty()) {
        folder = temporary.path();
        QElapsedTimer timer;
        timer.start();
        if (!runTool(QStringLiteral("korvex-sample"),
                     {QStringLiteral("create"), QStringLiteral("--folder"), folder,
                      QStringLiteral("--students"), students}))
            return 1;
        std::printf("sample school of %s students created in %.2f s\n", qPrintable(students),
                    double(timer.elapsed()) / 1000.0);
    }
    if (!local) {
        if (runTool(QStringLiteral("korvex-batch"),
                    {QStringLiteral("--folder"), folder, QStringLiteral("--user"),
                     QStringLiteral("admin"), QStringLiteral("--password"), QStringLiteral("admin"),
                     QStringLiteral("startup")}))
            return throughBatch(folder);
        std::fprintf(stderr, "korvex-batch cannot run; timing in process\n");
    }
    return inProcess(folder);
}
