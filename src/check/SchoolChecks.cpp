#include "check/SchoolChecks.h"

#include <QDir>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include "check/CheckReport.h"
#include "check/CheckTiming.h"
#include "check/TableChecks.h"
#include "core/ExamSlot.h"
#include "core/KnownTables.h"
#include "exam/ExamStatements.h"
#include "ops/AppContext.h"

namespace korvex {
namespace {

constexpr DatabaseRole kSchool = DatabaseRole::School;

// The first value of the first row `sql` gives; nothing when it fails.
std::optional<QString> firstValue(Connection& connection, const QString& sql) {
    auto query = connection.select(sql, {});
    if (!query) return std::nullopt;
    if (!query->next()) return QString();
    return query->value(0).toString();
}

QString milliseconds(double ms) {
    return QLocale(QLocale::English)
               .toString(ms, 'f',
                         ms < 0.1  ? 3
                         : ms < 10 ? 2
                                   : 0) +
           QStringLiteral(" ms");
}

void checkEngine(Connection& school, CheckReport& report) {
    const bool sqlite = school.dialect() == SqlDialect::Sqlite;
    const auto version = firstValue(school, sqlite ? QStringLiteral("SELECT sqlite_version()")
                                                   : QStringLiteral("SELECT @@VERSION"));
    if (!version) {
        report.warn(
            QStringLiteral("無法讀取資料庫引擎的版本: %1").arg(failureReason(school, kSchool)));
        school.clearError();
    } else {
        // SQL Server's text runs over several lines: the first names it.
        const QString first = version->section(u'\n', 0, 0).trimmed();
        report.pass(
            sqlite ? QStringLiteral("引擎: SQLite %1 (代替 SQL Server 的測試資料庫)").arg(first)
                   : QStringLiteral("引擎: %1").arg(first));
    }
    if (sqlite) {
        report.pass(QStringLiteral("定序: SQLite 的文字一律以 UTF-8 儲存, 中文不受定序影響"));
        return;
    }
    const auto collation = firstValue(
        school, QStringLiteral(
                    "SELECT CONVERT(nvarchar(128), DATABASEPROPERTYEX(DB_NAME(), 'Collation'))"));
    if (!collation) {
        report.warn(QStringLiteral("無法讀取資料庫的定序: %1").arg(failureReason(school, kSchool)));
        school.clearError();
    } else if (isChineseCollation(*collation)) {
        report.pass(QStringLiteral("定序: %1").arg(*collation));
    } else {
        report.warn(QStringLiteral("定序: %1 不是中文定序: 不加 N 的中文文字會變成 ?? "
                                   "(本程式的中文都以參數傳送, 但其他程式未必如此)")
                        .arg(*collation));
    }
}

// The program's own columns, added at the first start.
void checkShortCodeColumns(Connection& school, CheckReport& report) {
    const std::vector<KnownTable> own{
        {QStringLiteral("z_dept"), {{QStringLiteral("科別簡碼")}}},
        {QStringLiteral("z_class"), {{QStringLiteral("簡碼")}}},
    };
    for (const KnownTable& table : own) {
        auto query =
            school.select(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table.name), {});
        if (query && query->record().indexOf(table.columns.front().name) >= 0) continue;
        school.clearError();
        report.fail(QStringLiteral("資料表 %1 沒有本程式的欄位 %2 (開啟程式時應已加入)")
                        .arg(table.name, table.columns.front().name));
        return;
    }
    report.pass(QStringLiteral("本程式的簡碼欄位 z_dept.科別簡碼 與 z_class.簡碼 都在"));
}

// What the program writes, each tried once in one transaction that is then
// rolled back: the score update of the export, with the first score row of
// the term and its own value, and the short codes' column addition and
// update of start-up.
void checkRights(AppContext& context, CheckReport& report, CheckTiming& timing) {
    Connection& school = context.school;
    const int slot = examSlot(context.settings.examNo).value_or(1);
    if (!school.beginTransaction()) {
        report.fail(QStringLiteral("無法開始交易: %1").arg(failureReason(school, kSchool)));
        school.clearError();
        return;
    }
    auto tried = [&](const QString& what, auto&& statement) {
        const bool done = timed(timing.schoolWrites, statement);
        if (done) {
            report.pass(QStringLiteral("帳號可以%1 (已復原)").arg(what));
        } else {
            report.fail(QStringLiteral("帳號無法%1: %2").arg(what, failureReason(school, kSchool)));
            school.clearError();
        }
        return done;
    };

    tried(QStringLiteral("更新 sbscore 的%1").arg(scoreColumnName(slot)), [&] {
        auto first = school.select(
            QStringLiteral(
                "SELECT 身份證號, 科目碼, %1 FROM sbscore WHERE 學年度 = ? AND 學期別 = ?")
                .arg(scoreColumnName(slot)),
            {context.settings.year, context.settings.semester});
        if (!first) return false;
        if (!first->next()) {
            // No score row in the term: the statement still runs, on no row.
            first.reset();
            return school.execute(
                QStringLiteral("UPDATE sbscore SET %1 = %1 WHERE 1=0").arg(scoreColumnName(slot)));
        }
        const QVariant value = first->value(2);
        const QVariantList key{first->value(0), first->value(1)};
        first.reset();
        const auto update = scoreUpdate(school, slot, context.settings);
        return update->add(value, key) && update->finish();
    });
    tried(QStringLiteral("在 z_dept 加入欄位"), [&] {
        return school.execute(
            QStringLiteral("alter TABLE dbo.z_dept add korvex_check nvarchar(2) NULL"));
    });
    tried(QStringLiteral("更新 z_dept 的科別簡碼"),
          [&] { return school.execute(QStringLiteral("UPDATE z_dept SET 科別簡碼=''")); });
    school.rollbackTransaction();
    school.clearError();
}

void checkRoundTrip(Connection& school, CheckReport& report, CheckTiming& timing) {
    for (int i = 0; i < 20; ++i) {
        const bool read = timed(timing.schoolReads, [&] {
            return firstValue(school, QStringLiteral("SELECT 1")).has_value();
        });
        if (!read) {
            report.warn(QStringLiteral("無法測量來回時間: %1").arg(failureReason(school, kSchool)));
            school.clearError();
            return;
        }
    }
    const double median = CheckTiming::median(timing.schoolReads);
    // Every statement waits a round trip: the export sends one per 500
    // rows, an import a few, but the grading steps many reads.
    const QString text =
        QStringLiteral("一個敘述的來回時間 (20 次的中位數): %1").arg(milliseconds(median));
    if (median > 20)
        report.warn(text + QStringLiteral(", 網路較慢"));
    else
        report.pass(text);
}

}  // namespace

bool isChineseCollation(const QString& collation) {
    return collation.startsWith(QLatin1String("Chinese_"), Qt::CaseInsensitive);
}

void checkSchool(AppContext& context, CheckReport& report, CheckTiming& timing) {
    report.section(QStringLiteral("校務行政資料庫"));
    Connection& school = context.school;
    if (!context.schoolConnected || !school.isOpen()) {
        report.fail(QStringLiteral("未連線: %1").arg(context.schoolFailure));
        return;
    }
    const QString where = school.dialect() == SqlDialect::Sqlite
                              ? QDir::toNativeSeparators(school.lastFile())
                              : context.settings.server + u'/' + context.settings.databaseName;
    report.pass(QStringLiteral("已連線: %1").arg(where));
    checkEngine(school, report);
    checkKnownTables(school, kSchool, schoolTables(), report);
    checkShortCodeColumns(school, report);
    checkRights(context, report, timing);
    checkRoundTrip(school, report, timing);
}

}  // namespace korvex
