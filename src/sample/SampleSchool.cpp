#include "sample/SampleSchool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>

#include "sample/Schemas.h"
#include "settings/SettingsFile.h"

namespace korvex {
namespace {

// Subjects the grading program ships in its own exam.mdb; their codes begin
// with 0000 and the subject import leaves them alone.
bool addGradingProgramSubjects(const QString& examFile, QString* error) {
    const QString name = QStringLiteral("korvex-sample-exam-") + QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(examFile);
        ok = db.open();
        if (ok) {
            QSqlQuery query(db);
            ok = query.prepare(QStringLiteral("INSERT INTO subject (class, name) VALUES (?, ?)"));
            const QStringList rows{QStringLiteral("000001"), QStringLiteral("英聽測驗"),
                                   QStringLiteral("000002"), QStringLiteral("作文測驗")};
            for (int i = 0; ok && i < rows.size(); i += 2) {
                query.bindValue(0, rows[i]);
                query.bindValue(1, rows[i + 1]);
                ok = query.exec();
            }
            if (!ok && error)
                *error = QStringLiteral("無法寫入 exam.mdb: %1").arg(query.lastError().text());
            db.close();
        } else if (error) {
            *error = QStringLiteral("無法開啟 exam.mdb: %1").arg(db.lastError().text());
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool fillSchool(const QString& schoolFile, const sample::SchoolPlan& plan,
                sample::SampleCounts& counts, QString* error) {
    const QString name = QStringLiteral("korvex-sample-school-") + QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(schoolFile);
        if (!db.open()) {
            if (error)
                *error = QStringLiteral("無法開啟 %1: %2").arg(schoolFile, db.lastError().text());
        } else {
            // A new file that is deleted again on failure: nothing to protect
            // against a crash half way, so the journal stays in memory.
            QSqlQuery pragma(db);
            pragma.exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
            pragma.exec(QStringLiteral("PRAGMA synchronous=OFF"));
            pragma.finish();
            ok = sample::writeSchoolDatabase(name, plan, counts, error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// The files create() writes that are already in the folder.
QStringList existingFiles(const QString& folder) {
    QStringList found;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : names) {
        if (n.compare(QLatin1String("exam.mdb"), Qt::CaseInsensitive) == 0 ||
            n.compare(SampleSchool::schoolFileName(), Qt::CaseInsensitive) == 0 ||
            n.compare(QLatin1String("ASSISTANT.INI"), Qt::CaseInsensitive) == 0)
            found << n;
    }
    return found;
}

}  // namespace

bool SampleSchool::create(const QString& folder, const Options& options, Counts* counts,
                          QString* error) {
    auto fail = [&](const QString& message) {
        if (error) *error = message;
        return false;
    };
    if (options.students < sample::kMinimumStudents || options.students > sample::kMaximumStudents)
        return fail(QStringLiteral("學生人數必須在 %1 到 %2 之間: %3")
                        .arg(sample::kMinimumStudents)
                        .arg(sample::kMaximumStudents)
                        .arg(options.students));
    if (options.semester != QLatin1String("1") && options.semester != QLatin1String("2"))
        return fail(QStringLiteral("學期必須是 1 或 2: %1").arg(options.semester));
    if (options.year.isEmpty() || options.year.size() > 3 ||
        !std::all_of(options.year.begin(), options.year.end(), [](QChar c) { return c.isDigit(); }))
        return fail(QStringLiteral("學年度必須是 1 到 3 位數字: %1").arg(options.year));

    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) return fail(QStringLiteral("不是資料夾: %1").arg(folder));
    if (!info.exists() && !QDir().mkpath(folder))
        return fail(QStringLiteral("無法建立資料夾: %1").arg(folder));
    const QStringList existing = existingFiles(folder);
    if (!existing.isEmpty())
        return fail(QStringLiteral("資料夾中已有 %1, 不會覆蓋: %2")
                        .arg(existing.join(QStringLiteral(", ")), folder));

    const QDir dir(folder);
    const QString examFile = dir.filePath(QStringLiteral("exam.mdb"));
    const QString schoolFile = dir.filePath(schoolFileName());
    const QString settingsFile = dir.filePath(QStringLiteral("ASSISTANT.INI"));
    auto cleanUp = [&](const QString& message) {
        for (const QString& f : {examFile, schoolFile, settingsFile}) QFile::remove(f);
        return fail(message);
    };

    const sample::SchoolPlan plan = sample::buildSchoolPlan(options);
    QString message;
    if (!createSqliteDatabase(examFile, examSchema(), &message))
        return cleanUp(QStringLiteral("無法建立 exam.mdb: %1").arg(message));
    if (!addGradingProgramSubjects(examFile, &message)) return cleanUp(message);
    if (!createSqliteDatabase(schoolFile, schoolSchema(), &message))
        return cleanUp(QStringLiteral("無法建立 %1: %2").arg(schoolFileName(), message));
    Counts written;
    if (!fillSchool(schoolFile, plan, written, &message)) return cleanUp(message);

    Settings settings;
    settings.server = QStringLiteral("sqlite");
    settings.databaseName = schoolFileName();
    settings.user = QStringLiteral("sa");
    settings.password.clear();
    settings.year = options.year;
    settings.semester = options.semester;
    settings.examNo = QStringLiteral("1");
    settings.examName = plan.examNames.value(0);
    settings.vocational = options.vocational ? 1 : 0;
    settings.dedicatedOperator = 0;
    if (!saveSettingsFile(settingsFile, settings))
        return cleanUp(QStringLiteral("無法寫入 ASSISTANT.INI: %1").arg(settingsFile));
    if (counts) *counts = written;
    return true;
}

QString SampleSchool::summary(const QString& folder, const Options& options, const Counts& c) {
    const QLocale locale = QLocale::c();
    return QStringLiteral(
               "已建立範例學校 %1 (%2, 種子 %3): 科別 %4, 班級 %5, 學生 %6 筆 (在學 %7, 延修 %8, "
               "畢業 %9, 轉出休退學 %10), 科目 %11, 教師 %12, 開課 %13, 成績 %14 筆 (本學期 %15)")
        .arg(QDir::toNativeSeparators(folder),
             options.vocational ? QStringLiteral("高職版") : QStringLiteral("高中版"))
        .arg(options.seed)
        .arg(c.departments)
        .arg(c.classes)
        .arg(locale.toString(c.studentRows))
        .arg(c.enrolled)
        .arg(c.extended)
        .arg(c.graduated)
        .arg(c.left)
        .arg(c.subjects)
        .arg(c.teachers)
        .arg(c.classSubjects)
        .arg(locale.toString(c.scoreRows))
        .arg(locale.toString(c.currentScoreRows));
}

}  // namespace korvex
