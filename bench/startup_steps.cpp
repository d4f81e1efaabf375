// Times the start-up database steps on a generated school: the term read and
// the short-code preparation in both class-code modes, first and later start.
// Usage: bench_startup_steps [students]   (default 6000)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "ops/AppContext.h"
#include "sample/Schemas.h"
#include "startup/StartupSteps.h"

using namespace korvex;

namespace {

// 30 numeric departments and 4 lettered ones, 3 grades, 8 classes each,
// students spread over them; one in ten has graduated.
bool makeSchool(const QString& file, int students) {
    QString error;
    if (!createSqliteDatabase(file, schoolSchema(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    bool ok = true;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(file);
        db.open();
        QSqlQuery q(db);
        db.transaction();
        QStringList departments;
        for (int i = 0; i < 30; ++i) departments << QString::number(301 + i);
        departments << QStringLiteral("A01") << QStringLiteral("A02") << QStringLiteral("B01")
                    << QStringLiteral("C01");
        q.prepare(QStringLiteral("INSERT INTO z_dept (科別碼, 科別中文名) VALUES (?, ?)"));
        for (const QString& d : departments) {
            q.addBindValue(d);
            q.addBindValue(QStringLiteral("科") + d);
            ok = ok && q.exec();
        }
        q.prepare(QStringLiteral(
            "INSERT INTO z_class (班級碼, 班級簡稱, 班級名稱, 班級類組) VALUES (?, ?, ?, ?)"));
        for (const QString& d : departments)
            for (int grade = 1; grade <= 3; ++grade)
                for (int cls = 1; cls <= 8; ++cls) {
                    q.addBindValue(d + QString::number(grade) +
                                   QStringLiteral("%1").arg(cls, 2, 10, QChar(u'0')));
                    q.addBindValue(QStringLiteral("班%1").arg(cls));
                    q.addBindValue(QStringLiteral("%1%2").arg(grade).arg(cls));
                    q.addBindValue(QString::number(cls % 3));
                    ok = ok && q.exec();
                }
        q.prepare(QStringLiteral(
            "INSERT INTO sastuden (學號, 在學科別, 在學年級, 在學班次, 在學座號, 在學狀態) "
            "VALUES (?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < students; ++i) {
            const int d = i % int(departments.size());
            q.addBindValue(
                QStringLiteral("1%1%2").arg(d + 1, 2, 10, QChar(u'0')).arg(i, 5, 10, QChar(u'0')));
            q.addBindValue(departments.at(d));
            q.addBindValue(QString::number(1 + (i / 7) % 3));
            q.addBindValue(QStringLiteral("%1").arg(1 + (i / 3) % 8, 2, 10, QChar(u'0')));
            q.addBindValue(QStringLiteral("%1").arg(1 + i % 50, 2, 10, QChar(u'0')));
            q.addBindValue(i % 10 == 0 ? QStringLiteral("畢業") : QStringLiteral(""));
            ok = ok && q.exec();
        }
        q.exec(QStringLiteral("INSERT INTO z_system VALUES ('95', '2')"));
        db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    return ok;
}

double timed(const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int students = argc > 1 ? std::max(1, atoi(argv[1])) : 6000;
    for (const std::uint8_t vocational : {std::uint8_t(1), std::uint8_t(0)}) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("school.sqlite"));
        if (!makeSchool(file, students)) return 1;
        AppContext context;
        context.appPath = dir.path();
        context.settings.server = QStringLiteral("sqlite");
        context.settings.databaseName = QStringLiteral("school.sqlite");
        context.settings.vocational = vocational;
        const double term = timed([&] { LoadTermContext(context); });
        if (!context.schoolConnected) return 1;
        const double first = timed([&] { prepareShortCodes(context); });
        const double second = timed([&] { prepareShortCodes(context); });
        std::printf(
            "%s mode, %d students: term %.1f ms, short codes first start %.1f ms, "
            "later start %.1f ms\n",
            vocational ? "vocational" : "high-school", students, term, first, second);
    }
    return 0;
}
