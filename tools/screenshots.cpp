// Retakes the README's pictures of the program: runs the real main window
// on sample schools, acts as the user on its dialogs and boxes, and grabs
// what the X server shows (window frames included when a window manager
// runs). scripts/screenshots runs it on Xvfb.
//
//   korvex-screenshots --out DIR [--work DIR]
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <utility>

#include "sample/SampleSchool.h"
#include "ui/AppSetup.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "x11_origin.h"

using namespace korvex;

namespace {

QString g_out;
int g_failures = 0;

void fail(const QString& what) {
    std::fprintf(stderr, "korvex-screenshots: %s\n", qUtf8Printable(what));
    ++g_failures;
}

// Lets the window system and the program draw for a while.
void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// What the screen shows in `area` (the whole screen, frames included).
void save(const QRect& area, const QString& name) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QImage image =
        screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    const QString file = QDir(g_out).filePath(name);
    if (image.isNull() || !image.save(file))
        fail(QStringLiteral("cannot write ") + file);
    else
        std::printf("screenshots: %s (%dx%d)\n", qUtf8Printable(file), image.width(),
                    image.height());
}

// A window with its frame. Qt's idea of where a window manager put a
// dialog can be a title bar's height off; the X server knows.
QRect frameOnScreen(QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QPoint margin = window->geometry().topLeft() - frame.topLeft();
    QPoint contents = window->geometry().topLeft();
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        int x = 0, y = 0;
        if (windowOrigin(x11->display(), window->winId(), &x, &y)) contents = QPoint(x, y);
    }
    return QRect(contents - margin, frame.size());
}

void saveWindow(QWidget* window, const QString& name) { save(frameOnScreen(window), name); }

// Acts as the user on modal windows: each expected one, recognised by a
// test on the active modal widget, is handed to its action. A modal window
// nobody expected is closed, so the run never hangs.
class Autopilot : public QObject {
public:
    using Match = std::function<bool(QWidget*)>;
    using Action = std::function<void(QWidget*)>;

    Autopilot() {
        connect(&m_timer, &QTimer::timeout, this, &Autopilot::poll);
        m_timer.start(20);
    }
    void expect(Match match, Action action) {
        m_steps.push_back({std::move(match), std::move(action)});
    }
    bool done() const { return m_steps.empty(); }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->property("autopilotSeen").toBool()) return;
        modal->setProperty("autopilotSeen", true);
        if (!m_steps.empty() && m_steps.front().match(modal)) {
            auto step = m_steps.front();
            m_steps.pop_front();
            step.action(modal);
            return;
        }
        fail(QStringLiteral("unexpected window: ") + modal->objectName() + u' ' +
             modal->windowTitle());
        modal->close();
    }
    struct Step {
        Match match;
        Action action;
    };
    std::deque<Step> m_steps;
    QTimer m_timer;
};

Autopilot::Match named(const QString& name) {
    return [name](QWidget* w) { return w->objectName() == name; };
}

Autopilot::Match messageBox() {
    return [](QWidget* w) { return w->inherits("QMessageBox"); };
}

void click(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == text || button->objectName() == text) {
            button->click();
            return;
        }
    fail(QStringLiteral("no button ") + text + QStringLiteral(" in ") + window->objectName());
    window->close();
}

void logIn(Autopilot& pilot, const QString& picture) {
    pilot.expect(named(QStringLiteral("frmLogin2")), [picture](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("txtUserName"))
            ->setText(QStringLiteral("admin"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtPassword"))
            ->setText(QStringLiteral("admin"));
        if (!picture.isEmpty()) {
            settle(400);
            saveWindow(dialog, picture);
        }
        click(dialog, QStringLiteral("cmdOK"));
    });
}

void trigger(MainWindow& window, const char* item) {
    if (auto* action = window.findChild<QAction*>(QLatin1String(item)))
        action->trigger();
    else
        fail(QStringLiteral("no menu item ") + QLatin1String(item));
}

bool createSchool(const QString& folder, int students, int seed) {
    SampleSchool::Options options;
    options.students = students;
    options.seed = std::uint64_t(seed);
    QString error;
    if (!SampleSchool::create(folder, options, nullptr, &error)) {
        fail(error);
        return false;
    }
    return true;
}

// Gives every student of three classes seat 01, as a school might after
// a careless edit: the student import then reports a long list.
void seatThreeClassesAtOne(const QString& folder) {
    const QString name = QStringLiteral("seats");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(folder).filePath(SampleSchool::schoolFileName()));
        QSqlQuery query(db);
        if (!db.open() ||
            !query.exec(QStringLiteral(
                "UPDATE sastuden SET 在學座號 = '01' WHERE 在學科別 || 在學年級 || 在學班次 IN "
                "(SELECT 在學科別 || 在學年級 || 在學班次 FROM sastuden WHERE 在學班次 > '00' "
                "GROUP BY 1 ORDER BY 1 LIMIT 3 OFFSET 6)")))
            fail(QStringLiteral("cannot change the seats: ") + query.lastError().text());
    }
    QSqlDatabase::removeDatabase(name);
}

// The login, the long duplicate report, the exam menu, the settings and
// About on a 3,000-student school.
void officeDay(const QString& folder) {
    Autopilot pilot;
    logIn(pilot, QStringLiteral("login-dialog.png"));
    MainWindow window;
    if (window.start(folder) != Startup::Result::Ready) {
        fail(QStringLiteral("start-up ended on ") + folder);
        return;
    }
    settle(400);
    {
        MessageBox::Script quiet;  // the imports before the report answer themselves
        trigger(window, "mnua_1");
        trigger(window, "mnua_2");
    }
    pilot.expect(named(QStringLiteral("LongMessageBox")), [](QWidget* box) {
        settle(400);
        saveWindow(box, QStringLiteral("long-message.png"));
        click(box, QStringLiteral("button_ok"));
    });
    trigger(window, "mnua_3");

    auto* bar = window.menuBar();
    auto* exam = window.findChild<QMenu*>(QStringLiteral("mnuee"));
    bar->setActiveAction(exam->menuAction());
    settle(400);
    save(frameOnScreen(&window).united(exam->geometry()), QStringLiteral("main-window.png"));
    exam->hide();
    bar->setActiveAction(nullptr);
    settle(200);

    pilot.expect(named(QStringLiteral("frmPara")), [](QWidget* dialog) {
        settle(400);
        saveWindow(dialog, QStringLiteral("settings-dialog.png"));
        click(dialog, QStringLiteral("Command2"));
    });
    trigger(window, "mnud_3");
    pilot.expect(named(QStringLiteral("frmAbout")), [](QWidget* dialog) {
        settle(400);
        saveWindow(dialog, QStringLiteral("about-dialog.png"));
        click(dialog, QStringLiteral("cmdOK"));
    });
    trigger(window, "mnud_4");
    // The self-check's report is long: it shows in the long-text box.
    pilot.expect(named(QStringLiteral("LongMessageBox")), [](QWidget* box) {
        settle(400);
        saveWindow(box, QStringLiteral("self-check.png"));
        click(box, QStringLiteral("button_ok"));
    });
    trigger(window, "mnud_6");
    if (!pilot.done()) fail(QStringLiteral("a dialog did not show"));
    window.close();
}

// A damaged exam.mdb at start-up, with a copy in backup/ to put back: the
// question, answered No.
void damagedExam(const QString& folder) {
    const QString exam = QDir(folder).filePath(QStringLiteral("exam.mdb"));
    QDir().mkpath(QDir(folder).filePath(QStringLiteral("backup")));
    QFile::copy(exam,
                QDir(folder).filePath(QStringLiteral("backup/exam-20261208-101500-roster.mdb")));
    QFile file(exam);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(QStringLiteral("cannot damage ") + exam);
        return;
    }
    file.write(QByteArray(4096, '\0'));
    file.close();
    Autopilot pilot;
    pilot.expect(
        [](QWidget* w) {
            return w->inherits("QMessageBox") || w->objectName() == QLatin1String("LongMessageBox");
        },
        [](QWidget* box) {
            settle(400);
            saveWindow(box, QStringLiteral("damaged-exam.png"));
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                if (button->text().contains(QStringLiteral("否")) ||
                    button->objectName() == QLatin1String("button_no")) {
                    button->click();
                    return;
                }
            fail(QStringLiteral("no No button on the damaged exam.mdb question"));
            box->close();
        });
    MainWindow window;
    if (window.start(folder) != Startup::Result::Ended)
        fail(QStringLiteral("start-up went on over a damaged exam.mdb"));
    if (!pilot.done()) fail(QStringLiteral("the damaged exam.mdb question did not show"));
}

// The busy display a third of the way through the roster of a
// 10,000-student school.
void longImport(const QString& folder) {
    Autopilot pilot;
    logIn(pilot, QString());
    MainWindow window;
    if (window.start(folder) != Startup::Result::Ready) {
        fail(QStringLiteral("start-up ended on ") + folder);
        return;
    }
    settle(300);
    {
        MessageBox::Script quiet;
        for (const char* item : {"mnua_1", "mnua_2", "mnua_3", "mnua_4", "mnua_5", "mnua_6"})
            trigger(window, item);
    }
    auto* progress = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    bool grabbed = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (grabbed || !progress->isVisible() || progress->maximum() <= 0) return;
        if (progress->value() * 3 < progress->maximum()) return;
        grabbed = true;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        saveWindow(&window, QStringLiteral("busy-display.png"));
    });
    pilot.expect(messageBox(), [&](QWidget* box) {
        watch.start(5);
        click(box, QStringLiteral("是(&Y)"));
    });
    pilot.expect(messageBox(), [](QWidget* box) { click(box, QStringLiteral("確定")); });
    trigger(window, "mnue_1");
    watch.stop();
    if (!grabbed) fail(QStringLiteral("the busy display was not caught"));
    window.close();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    prepareApplication(app);
    QCommandLineParser parser;
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption work(QStringLiteral("work"), QString(), QStringLiteral("DIR"));
    parser.addOptions({out, work});
    parser.process(app);
    if (!parser.isSet(out)) {
        std::fprintf(stderr, "usage: korvex-screenshots --out DIR [--work DIR]\n");
        return 2;
    }
    g_out = parser.value(out);
    QDir().mkpath(g_out);
    QTemporaryDir temporary;
    const QString base = parser.isSet(work) ? parser.value(work) : temporary.path();

    const QString school = QDir(base).filePath(QStringLiteral("school"));
    const QString big = QDir(base).filePath(QStringLiteral("big"));
    const QString damaged = QDir(base).filePath(QStringLiteral("damaged"));
    if (!createSchool(school, 3000, 1) || !createSchool(big, 10000, 2) ||
        !createSchool(damaged, 60, 3))
        return 1;
    seatThreeClassesAtOne(school);

    officeDay(school);
    longImport(big);
    damagedExam(damaged);
    return g_failures == 0 ? 0 : 1;
}
