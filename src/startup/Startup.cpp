#include "startup/Startup.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "core/AppInfo.h"
#include "core/FileErrors.h"
#include "core/ProgramFolder.h"
#include "core/ValueRules.h"
#include "db/OdbcDrivers.h"
#include "db/Recordset.h"
#include "db/TableColumns.h"
#include "ops/AppContext.h"
#include "ops/ExamBackups.h"
#include "ops/ExamFileCheck.h"
#include "ops/FailureReasons.h"
#include "settings/SettingsFile.h"
#include "startup/ShellWindow.h"
#include "startup/StartupSteps.h"
#include "startup/StudentColumns.h"

namespace korvex {

Startup::Startup(AppContext& context, ShellWindow& window, StartupDialogs& dialogs)
    : m_context(context), m_window(window), m_dialogs(dialogs) {
    m_context.window = &m_window;
}

QString Startup::connectionQuestion() {
    return QStringLiteral("無法與校務行政資料庫伺服器連結,選擇[是]重新設定參數;選擇[否]結束離開!");
}

QString Startup::missingExamDatabaseMessage() {
    return QStringLiteral(
        "請將小幫手程式放在電腦閱卷系統的資料夾下, 必須有 Access 資料庫檔 Exam.mdb!");
}

Startup::Result Startup::run(const QString& appPath) {
    m_endCause.clear();
    m_window.setVersionText(QStringLiteral("Version:") + versionText());
    m_context.appPath = appPath;

    // Without the grading program's database there is nothing to work on;
    // nothing is written into a folder that is not the grading program's.
    if (findExamDatabase(appPath).isEmpty()) {
        // The folder searched follows on a line of its own: started with
        // --folder or from a shortcut, it is not always the one the user means.
        m_window.message(missingExamDatabaseMessage() + QStringLiteral("\n搜尋的資料夾: ") +
                             QDir::toNativeSeparators(appPath),
                         MainWindowInterface::Icon::Critical);
        return Result::Ended;
    }

    // One program per folder: a second copy changes nothing, and says which
    // program holds the folder (or why the folder cannot be written at all).
    m_context.folderLock = std::make_unique<FolderLock>(appPath);
    if (m_context.folderLock->lock() != FolderLock::Outcome::Locked) {
        m_window.message(m_context.folderLock->message(), MainWindowInterface::Icon::Critical);
        m_context.folderLock.reset();
        return Result::Ended;
    }

    // The term defaults until the school database tells the current one.
    m_context.settings.year = QStringLiteral("94");
    m_context.settings.semester = QStringLiteral("1");
    const QString iniPath = programFile(m_context.appPath, settingsFileName());
    if (!QFileInfo::exists(iniPath))
        createSettingsFile(iniPath, m_context.settings);
    else
        m_context.settings = readSettingsFile(iniPath);

    m_window.yield();

    if (!connectSchool()) return Result::Ended;
    if (!schoolWritable()) return Result::Ended;

    // From here on a failing statement is ignored and start-up goes on.
    prepareShortCodes(m_context);
    m_context.school.clearError();
    readExamNames();

    if (!openExam()) return Result::Ended;
    BuildMainTitle(m_context);
    extendStudentTable();

    m_window.showWindow();

    QString templateError;
    if (!writeWorkbookTemplates(appPath, &templateError))
        return endSilently(
            QStringLiteral("無法寫入成績單範本 scorep.xls / scoret.xls: %1").arg(templateError));

    m_window.yield();

    if (!m_dialogs.login(m_context)) return endSilently(QStringLiteral("未登入，程式結束"));
    m_window.enableTopMenus();
    m_window.yield();
    return Result::Ready;
}

bool Startup::connectSchool() {
    int failures = 0;
    for (;;) {
        LoadTermContext(m_context);
        for (int i = 1; i <= 6; ++i) m_context.examNames[i].clear();
        if (m_context.schoolConnected) return true;
        if (m_context.schoolBusy) {
            // Another program holds the database: new settings would not
            // help, and waiting longer is not the user's choice to make here.
            const QString text = withReason(
                QStringLiteral("無法讀取校務行政資料庫, 程式結束!"),
                failureReason(DbError{m_context.schoolFailure, QString(), DbError::Kind::Busy},
                              DatabaseRole::School));
            m_window.message(text, MainWindowInterface::Icon::Critical);
            m_endCause = text;
            appendStartupLog(m_context.appPath, text);
            return false;
        }

        QString target = QStringLiteral("SERVER=%1, DATABASENAME=%2")
                             .arg(m_context.settings.server, m_context.settings.databaseName);
        if (!m_context.schoolFailure.isEmpty())
            target += QStringLiteral(": ") + m_context.schoolFailure;
        if (++failures == kConnectionAttempts) {
            endSilently(QStringLiteral("無法與校務行政資料庫連結 (%1)，已嘗試 %2 次")
                            .arg(target)
                            .arg(kConnectionAttempts));
            return false;
        }
        const auto answer =
            m_window.message(connectionQuestion(), MainWindowInterface::Icon::Exclamation,
                             MainWindowInterface::Buttons::YesNo, MainWindowInterface::Answer::Yes);
        if (answer != MainWindowInterface::Answer::Yes) {
            endSilently(
                QStringLiteral("無法與校務行政資料庫連結 (%1)，使用者選擇結束離開").arg(target));
            return false;
        }
        m_dialogs.editConnectionSettings(m_context);
    }
}

void Startup::readExamNames() {
    auto names = OpenRecordset(m_context.school, QStringLiteral("SELECT * From z_name"));
    if (names && names->recordCount() >= 1) {
        names->moveFirst();
        for (int i = 1; i <= 6; ++i) {
            const QString column = QStringLiteral("考試名稱%1").arg(i);
            if (!names->hasColumn(column)) continue;
            const QString name = rtrimBlanks(textOf(names->value(column)));
            if (!name.isEmpty()) m_context.examNames[i] = name;
        }
    }
    // A missing z_name leaves the names empty; it is not a reason to stop.
    m_context.school.clearError();
}

void Startup::extendStudentTable() {
    // The contact columns are added once, on the first start: the table's
    // columns are read first, so that no later start sends a change that
    // must fail. Each adds one column on its own (nothing to undo), outside
    // a transaction, where the Access driver takes table changes; Jet needs
    // the table to itself for it, so a first start while the grading
    // program uses the table is told why the columns are missing.
    Connection& exam = m_context.exam;
    const auto columns = tableColumns(exam, QStringLiteral("name"));
    if (!columns) {
        exam.clearError();
        return;
    }
    for (const StudentColumn& column : studentColumns()) {
        if (hasColumn(*columns, column.name) || exam.execute(column.statement)) continue;
        const QString reason = failureReason(exam, DatabaseRole::Exam);
        exam.clearError();
        m_window.message(withReason(QStringLiteral("無法在考試資料庫的學生資料表 name 加入欄位 %1, "
                                                   "學生資料匯入將無法寫入學生的地址與家長資料。"
                                                   "請關閉電腦閱卷系統後重新啟動小幫手!")
                                        .arg(column.name),
                                    reason),
                         MainWindowInterface::Icon::Exclamation);
        return;
    }
}

bool Startup::openExam() {
    Connection& exam = m_context.exam;
    QString damaged;
    if (!openExamConnection(m_context)) {
        const auto& error = exam.pendingError();
        // Without the driver no later start can succeed either: the user is
        // told what to install.
        if (error && isMissingDriverError(*error))
            m_window.message(error->text, MainWindowInterface::Icon::Critical);
        if (!error || error->kind != DbError::Kind::Damaged) {
            endSilently(QStringLiteral("無法開啟 exam.mdb: %1")
                            .arg(failureReason(exam, DatabaseRole::Exam)));
            return false;
        }
        damaged = failureReason(exam, DatabaseRole::Exam);
        exam.clearError();
    } else {
        // A database without the grading program's tables is as useless.
        const examFileCheck::Finding finding = examFileCheck::inspectOpen(exam);
        if (finding.verdict == examFileCheck::Verdict::Usable) return true;
        damaged = finding.reason;
        exam.close();
    }
    return recoverDamagedExam(damaged);
}

bool Startup::recoverDamagedExam(const QString& reason) {
    // A damaged exam.mdb ends the program with a message, not silently: the
    // user could otherwise never learn that the file is damaged, nor that a
    // copy of it is there to put back.
    DamagedExam damaged;
    damaged.file = findExamDatabase(m_context.appPath);
    damaged.reason = reason;
    damaged.copies = examBackups::list(damaged.file);
    damaged.keptAs =
        QDir(m_context.appPath)
            .filePath(QStringLiteral("exam-damaged-") +
                      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                      QStringLiteral(".mdb"));
    const std::optional<QString> copy = m_dialogs.replaceDamagedExam(m_context, damaged);
    const QString cause = QStringLiteral("考試資料庫 exam.mdb 已損壞: %1").arg(reason);
    if (!copy) {
        m_endCause = cause;
        appendStartupLog(m_context.appPath, cause);
        return false;
    }
    QString why;
    if (!examBackups::putBack(damaged.file, *copy, damaged.keptAs, &why) ||
        !openExamConnection(m_context)) {
        if (why.isEmpty()) why = failureReason(m_context.exam, DatabaseRole::Exam);
        const QString text = withReason(QStringLiteral("無法放回考試資料庫的備份 %1, 程式結束!")
                                            .arg(QDir::toNativeSeparators(*copy)),
                                        why);
        m_window.reportFailure(text);
        m_endCause = text;
        appendStartupLog(m_context.appPath, text);
        return false;
    }
    m_examPutBack = *copy;
    return true;
}

Startup::Result Startup::endSilently(const QString& cause) {
    m_endCause = cause;
    // The cause goes to the log; when not even the log can be written the
    // user is told, so that no start-up ends without a word anywhere.
    if (!appendStartupLog(m_context.appPath, cause))
        m_window.message(
            withReason(cause, QStringLiteral("無法寫入 %1: %2")
                                  .arg(startupLogName(), folderWriteProblem(m_context.appPath))),
            MainWindowInterface::Icon::Critical);
    return Result::Ended;
}

bool Startup::schoolWritable() {
    // Start-up writes the short codes into the school database. A SQLite
    // database held by another program would make each of those statements
    // wait out its time-out; its write lock is tried once instead. (SQL
    // Server takes its locks row by row, so there is nothing to try there.)
    Connection& school = m_context.school;
    if (school.dialect() != SqlDialect::Sqlite) return true;
    if (school.beginTransaction()) {
        school.rollbackTransaction();
        return true;
    }
    const QString reason = failureReason(school, DatabaseRole::School);
    const bool busy = school.pendingError() && school.pendingError()->retryable();
    school.clearError();
    if (!busy) return true;  // anything else is met statement by statement
    const QString text = withReason(QStringLiteral("無法準備校務行政資料庫, 程式結束!"), reason);
    m_window.message(text, MainWindowInterface::Icon::Critical);
    m_endCause = text;
    appendStartupLog(m_context.appPath, text);
    return false;
}

void releaseConnections(AppContext& context) {
    context.school.close();
    context.schoolConnected = false;
    context.exam.close();
}

bool appendStartupLog(const QString& appPath, const QString& text) {
    QFile log(QDir(appPath).filePath(startupLogName()));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return false;
    // One line per end, whatever the driver's error text holds.
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + flat +
        QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    // A full disk shows only when the line is flushed.
    return log.write(bytes) == bytes.size() && log.flush();
}

}  // namespace korvex
