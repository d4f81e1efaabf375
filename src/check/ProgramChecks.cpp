#include "check/ProgramChecks.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include "check/CheckReport.h"
#include "core/AppInfo.h"
#include "core/FileErrors.h"
#include "db/OdbcDrivers.h"
#include "ops/AppContext.h"

namespace korvex {
namespace {

QString megabytes(qint64 bytes) {
    return QLocale(QLocale::English).toString(double(bytes) / (1024.0 * 1024.0), 'f', 1) +
           QStringLiteral(" MB");
}

QString listedOrNone(const QStringList& names) {
    return names.isEmpty() ? QStringLiteral("沒有") : names.join(QStringLiteral(", "));
}

QStringList installedOf(const QStringList& preference, const QStringList& installed) {
    QStringList found;
    for (const QString& driver : preference)
        for (const QString& name : installed)
            if (name.compare(driver, Qt::CaseInsensitive) == 0) found << name;
    return found;
}

// The driver a connection was opened with: the ODBC driver its connection
// string names, or SQLite for the stand-ins.
QString driverUsed(const Connection& connection) {
    if (!connection.isOpen()) return QString();
    if (connection.database().driverName() == QLatin1String("QSQLITE"))
        return QStringLiteral("SQLite (Qt 的 QSQLITE)");
    return odbcDriverOf(connection.databaseName());
}

}  // namespace

QString buildName() {
#ifdef Q_OS_WIN
    return sizeof(void*) == 8 ? QStringLiteral("Windows 64 位元版")
                              : QStringLiteral("Windows 32 位元版");
#else
    return QStringLiteral("Linux 版");
#endif
}

QString accessDriverAdvice(int bits, const QStringList& installed) {
    if (!chooseAccessDriver(installed).isEmpty()) return QString();
    // Windows lists only the drivers of the program's own bitness; the Jet
    // driver that every Windows carries is 32-bit.
    if (bits == 64)
        return QStringLiteral(
            "沒有 64 位元的 Access 驅動程式: 請改裝本程式的 32 位元版 (Windows 內建 32 位元的 "
            "Access 驅動程式), 或安裝 64 位元的 Microsoft Access Database Engine");
    return QStringLiteral(
        "沒有 Access 驅動程式: 請安裝 32 位元的 Microsoft Access Database Engine");
}

void checkProgram(const AppContext& context, CheckReport& report) {
    report.section(QStringLiteral("程式"));
    report.pass(QStringLiteral("版本 %1, %2").arg(versionText(), buildName()));
    const QString folder = QDir::toNativeSeparators(context.appPath);
    const QString problem = folderWriteProblem(context.appPath);
    if (problem.isEmpty())
        report.pass(QStringLiteral("程式資料夾 %1 可以寫入").arg(folder));
    else
        report.fail(QStringLiteral("程式資料夾 %1 無法寫入: %2").arg(folder, problem));

    // Each operation that replaces tables first copies exam.mdb into
    // backup/; the workbooks go into the folder too.
    const QStorageInfo storage(context.appPath);
    const qint64 free = storage.bytesAvailable();
    const qint64 exam = QFileInfo(context.exam.lastFile()).size();
    const qint64 needed = qMax<qint64>(100LL * 1024 * 1024, 3 * exam);
    if (free < 0)
        report.warn(QStringLiteral("無法得知磁碟的可用空間"));
    else if (free < needed)
        report.warn(
            QStringLiteral("磁碟可用空間 %1, 少於 %2: 備份 exam.mdb 與產生 Excel 檔可能失敗")
                .arg(megabytes(free), megabytes(needed)));
    else
        report.pass(QStringLiteral("磁碟可用空間 %1").arg(megabytes(free)));

    if (context.folderLock && context.folderLock->isLocked())
        report.pass(QStringLiteral("本程式持有資料夾鎖定 (%1): 第二份程式不會同時修改 exam.mdb")
                        .arg(FolderLock::lockFileName()));
    else
        report.fail(QStringLiteral("本程式未持有資料夾鎖定 (%1): 第二份程式可能同時修改 exam.mdb")
                        .arg(FolderLock::lockFileName()));
}

void checkDrivers(const AppContext& context, CheckReport& report) {
    report.section(QStringLiteral("驅動程式"));
    const QStringList installed = installedOdbcDrivers();
    const QStringList sqlServer = installedOf(sqlServerDriverPreference(), installed);
    const QStringList access = installedOf(accessDriverPreference(), installed);
    const int bits = int(sizeof(void*) * 8);
    report.pass(QStringLiteral("已安裝的 SQL Server 驅動程式 (%1 位元): %2")
                    .arg(bits)
                    .arg(listedOrNone(sqlServer)));
#ifdef Q_OS_WIN
    const QString advice = accessDriverAdvice(bits, installed);
    if (advice.isEmpty())
        report.pass(QStringLiteral("已安裝的 Access 驅動程式 (%1 位元): %2")
                        .arg(bits)
                        .arg(listedOrNone(access)));
    else if (context.exam.dialect() == SqlDialect::Access)
        report.fail(advice);
    else
        // An SQLite stand-in of exam.mdb needs no driver; the grading
        // program's own file would.
        report.warn(advice + QStringLiteral(" (目前的 exam.mdb 是 SQLite 檔, 不需要)"));
#else
    report.pass(QStringLiteral("已安裝的 Access 驅動程式: %1 (Linux 版以 SQLite 檔代替 exam.mdb)")
                    .arg(listedOrNone(access)));
#endif
    const QString school = driverUsed(context.school);
    if (school.isEmpty())
        report.fail(QStringLiteral("校務行政資料庫未連線"));
    else
        report.pass(QStringLiteral("校務行政資料庫使用 %1").arg(school));
    const QString exam = driverUsed(context.exam);
    if (exam.isEmpty())
        report.fail(QStringLiteral("考試資料庫 exam.mdb 未開啟"));
    else
        report.pass(QStringLiteral("考試資料庫 exam.mdb 使用 %1").arg(exam));
}

}  // namespace korvex
