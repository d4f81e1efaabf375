// Creates a 3,000-student sample school (high school and vocational) in a
// temporary folder and reports the time and rows written per second; then
// fills periodical1 straight from the school's score rows and times the
// grading of it.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

#include "sample/SampleGrading.h"
#include "sample/SampleSchool.h"

using namespace korvex;

namespace {

// A roster of exam 1 as the roster import would build it, by one statement.
int fillRoster(const QString& folder) {
    int rows = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(QDir(folder).filePath(QStringLiteral("exam.mdb")));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("ATTACH '%1' AS school")
                   .arg(QDir(folder).filePath(QStringLiteral("school.sqlite"))));
        const bool ok =
            q.exec(QStringLiteral("INSERT INTO periodical1 (sid, class, seat, examno, namec, sub, "
                                  "tchno, gro, examsnot, score, score1, "
                                  "score2, spec) SELECT x.身份證號, '101', s.在學座號, '101' || "
                                  "s.在學座號, s.姓名, x.科目碼, "
                                  "ifnull(c.教師碼, 'ZZZZ'), '01', '0', 0, 0, 0, 0 FROM "
                                  "school.sbscore x JOIN school.sbcourse c ON "
                                  "c.班級碼 = x.班級碼 AND c.科目碼 = x.科目碼 JOIN "
                                  "school.sastuden s ON s.身份證號 = x.身份證號 "
                                  "WHERE x.學年度 = '113' AND x.學期別 = '1' AND c.考試比例1 > 0 "
                                  "AND length(x.科目碼) = 6"));
        if (ok)
            rows = q.numRowsAffected();
        else
            std::fprintf(stderr, "roster: %s\n", qPrintable(q.lastError().text()));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return rows;
}

bool createOne(bool vocational) {
    QTemporaryDir dir;
    SampleSchool::Options options;
    options.students = 3000;
    options.vocational = vocational;
    SampleSchool::Counts counts;
    QString error;
    QElapsedTimer timer;
    timer.start();
    const sample::SchoolPlan plan = sample::buildSchoolPlan(options);
    std::printf("plan %s: %.3f s (%lld students)\n", vocational ? "vocational" : "high school",
                timer.nsecsElapsed() / 1e9, static_cast<long long>(plan.students.size()));
    timer.restart();
    if (!SampleSchool::create(dir.path(), options, &counts, &error)) {
        std::fprintf(stderr, "create failed: %s\n", qPrintable(error));
        return false;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("create %s, 3,000 students: %.3f s, %d rows (%d score rows), %.0f rows/s\n",
                vocational ? "vocational" : "high school", seconds, counts.totalRows,
                counts.scoreRows, counts.totalRows / seconds);

    const int roster = fillRoster(dir.path());
    timer.restart();
    GradeCounts graded;
    if (!gradeSample(dir.path(), 1, 1, &graded, &error)) {
        std::fprintf(stderr, "grade failed: %s\n", qPrintable(error));
        return false;
    }
    const double gradeSeconds = timer.nsecsElapsed() / 1e9;
    std::printf(
        "grade exam 1, %d roster rows: %.3f s, %d graded (%d absent), %d ungraded, %.0f rows/s\n",
        roster, gradeSeconds, graded.graded, graded.absent, graded.ungraded,
        graded.rows / gradeSeconds);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return createOne(false) && createOne(true) ? 0 : 1;
}
