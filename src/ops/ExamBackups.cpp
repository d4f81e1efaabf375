#include "ops/ExamBackups.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "core/FileErrors.h"
#include "db/Connection.h"
#include "db/DatabaseFile.h"
#include "db/Recordset.h"
#include "db/SqliteCopy.h"
#include "ops/FailureReasons.h"

namespace korvex::examBackups {
namespace {

const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^exam-(\\d{8})-(\\d{6})(?:-([a-z]+))?(?:-(\\d+))?\\.mdb$"));
    return pattern;
}

// A free name for a copy taken now. Copies taken within one second are
// numbered -2, -3 ... whatever their operations, so that the number orders
// them.
QString freeName(const QDir& folder, const QString& operation) {
    const QString stamp = QStringLiteral("exam-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem = stamp + (operation.isEmpty() ? QString() : u'-' + operation);
    int taken = 0;
    for (const QString& name : folder.entryList({stamp + QStringLiteral("*.mdb")}, QDir::Files))
        if (namePattern().match(name).hasMatch()) ++taken;
    for (int n = taken + 1;; ++n) {
        QString name =
            n == 1 ? stem + QStringLiteral(".mdb") : QStringLiteral("%1-%2.mdb").arg(stem).arg(n);
        if (!QFileInfo::exists(folder.filePath(name))) return name;
    }
}

// What a copy cut short by a crash or a kill leaves: its temporary file,
// never taken for a copy, removed by the next backup or restore.
void removeLeftovers(const QDir& folder) {
    for (const QString& name :
         folder.entryList({QStringLiteral("exam-*.mdb.part")}, QDir::Files | QDir::Hidden))
        QFile::remove(folder.filePath(name));
}

void prune(const QString& examFile) {
    const QList<Copy> copies = list(examFile);
    for (qsizetype i = kBackupsKept; i < copies.size(); ++i) QFile::remove(copies.at(i).path);
}

// A plain file copy, for a database no SQLite connection can copy (Access):
// written under a temporary name and renamed when complete.
bool copyFile(const QString& from, const QString& to, QString* error) {
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    QFile source(from);
    if (!source.copy(part)) {
        if (error) *error = fileErrorText(source.errorString());
        QFile::remove(part);
        return false;
    }
    if (!QFile::rename(part, to)) {
        if (error) *error = QStringLiteral("無法建立 %1").arg(QDir::toNativeSeparators(to));
        QFile::remove(part);
        return false;
    }
    return true;
}

// Access: Jet lets nobody read the file while it is open exclusively, even
// the program that opened it. The connection is closed for the copy and
// opened alone again after it; the file must be unchanged across the copy
// (nobody could open it meanwhile, or they wrote nothing), or the copy is
// not used.
bool copyAccessFile(Connection& exam, const QString& target, QString* error) {
    const QString examFile = exam.file();
    const Connection::Access access = exam.access();
    if (access == Connection::Access::Exclusive) exam.close();
    const QFileInfo before(examFile);
    const QDateTime modified = before.lastModified();
    const qint64 size = before.size();
    bool copied = copyFile(examFile, target, error);
    if (access != Connection::Access::Exclusive) return copied;
    const QFileInfo after(examFile);
    if (copied && (after.lastModified() != modified || after.size() != size)) {
        copied = false;
        if (error) *error = QStringLiteral("備份時考試資料庫被其他程式變更");
    }
    if (!exam.reopen(access)) {
        if (copied && error) *error = failureReason(exam, DatabaseRole::Exam);
        copied = false;
        exam.clearError();
    }
    if (!copied) QFile::remove(target);
    return copied;
}

}  // namespace

QString folderFor(const QString& examFile) {
    return QFileInfo(examFile).dir().filePath(QStringLiteral("backup"));
}

QString take(Connection& exam, const QString& operation, QString* error) {
    const QString examFile = exam.file();
    if (examFile.isEmpty()) {
        if (error) *error = QStringLiteral("找不到考試資料庫檔案");
        return QString();
    }
    const QDir folder(folderFor(examFile));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        QString cause = QFileInfo::exists(folder.path())
                            ? QStringLiteral("已有同名的檔案, 請將它改名或移走")
                            : folderWriteProblem(QFileInfo(examFile).path());
        if (cause.isEmpty()) cause = QStringLiteral("系統不允許在此建立資料夾");
        if (error)
            *error = QStringLiteral("無法建立資料夾 %1 (%2)")
                         .arg(QDir::toNativeSeparators(folder.path()), cause);
        return QString();
    }
    removeLeftovers(folder);
    QString target = folder.filePath(freeName(folder, operation));
    bool copied = false;
    if (exam.dialect() == SqlDialect::Sqlite) {
        // Written under a temporary name, so that a copy cut short by a
        // crash is never taken for a whole one.
        const QString part = target + QStringLiteral(".part");
        exam.clearError();
        copied = copySqliteDatabase(exam, part) && QFile::rename(part, target);
        if (!copied) {
            QFile::remove(part);
            if (error)
                *error = exam.errorPending() ? failureReason(exam, DatabaseRole::Exam)
                                             : folderWriteProblem(folder.path());
            exam.clearError();
        }
    } else {
        copied = copyAccessFile(exam, target, error);
    }
    if (!copied) return QString();
    prune(examFile);
    return target;
}

QList<Copy> list(const QString& examFile) {
    QList<Copy> copies;
    const QDir folder(folderFor(examFile));
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        const auto match = namePattern().match(name);
        if (!match.hasMatch()) continue;
        Copy copy;
        copy.path = folder.filePath(name);
        copy.taken = QDateTime::fromString(match.captured(1) + match.captured(2),
                                           QStringLiteral("yyyyMMddHHmmss"));
        copy.operation = match.captured(3);
        copies << copy;
    }
    // Newest first; copies of one second by their number, which the name
    // order gives once the suffix is read as a number.
    std::stable_sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        if (a.taken != b.taken) return a.taken > b.taken;
        const auto number = [](const Copy& c) {
            return namePattern().match(QFileInfo(c.path).fileName()).captured(4).toInt();
        };
        return number(a) > number(b);
    });
    return copies;
}

QString rowCounts(const QString& copyPath) {
    Connection copy;
    if (databaseFileKind(copyPath) == DatabaseFileKind::Sqlite && copy.openSqlite(copyPath, true)) {
        const std::pair<const char16_t*, QStringList> groups[] = {
            {u"學生", {QStringLiteral("name")}},
            {u"教師", {QStringLiteral("teacher")}},
            {u"考試科目", {QStringLiteral("course")}},
            {u"考試資料",
             {QStringLiteral("periodical1"), QStringLiteral("periodical2"),
              QStringLiteral("periodical3"), QStringLiteral("periodical4"),
              QStringLiteral("periodical5"), QStringLiteral("periodical6")}},
        };
        QStringList parts;
        for (const auto& [label, tables] : groups) {
            long long rows = 0;
            for (const QString& table : tables) {
                auto count =
                    OpenRecordset(copy, QStringLiteral("select count(*) as n from ") + table);
                if (count && count->recordCount() > 0) {
                    count->moveFirst();
                    rows += count->value(QStringLiteral("n")).toLongLong();
                }
            }
            parts << QString::fromUtf16(label) + u' ' + QString::number(rows);
        }
        return parts.join(QStringLiteral(", "));
    }
    return QString();
}

bool putBack(const QString& examFile, const QString& copyPath, const QString& keepAs,
             QString* error) {
    const QString part = examFile + QStringLiteral(".restore");
    if (!copyFile(copyPath, part, error)) return false;
    QFile damaged(examFile);
    if (!damaged.rename(keepAs)) {
        if (error) *error = fileErrorText(damaged.errorString());
        QFile::remove(part);
        return false;
    }
    // A stale journal of the damaged file must not be read as the copy's.
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::rename(examFile + QLatin1String(suffix), keepAs + QLatin1String(suffix));
    if (!QFile::rename(part, examFile)) {
        if (error) *error = folderWriteProblem(QFileInfo(examFile).path());
        QFile::rename(keepAs, examFile);
        QFile::remove(part);
        return false;
    }
    return true;
}

bool restore(Connection& exam, const QString& copyPath, QString* error) {
    removeLeftovers(QDir(folderFor(exam.file())));
    if (exam.dialect() == SqlDialect::Sqlite) {
        exam.clearError();
        if (restoreSqliteDatabase(exam, copyPath)) return true;
        if (error) *error = failureReason(exam, DatabaseRole::Exam);
        exam.clearError();
        return false;
    }
    // Access: the file is put back whole while no statement of ours runs;
    // the connection is opened again on it afterwards, as it was. The old
    // file steps aside before the copy takes its name, so that a crash
    // between the two leaves it (as exam.mdb.old) rather than nothing.
    const QString examFile = exam.file();
    exam.close();
    const QString part = examFile + QStringLiteral(".restore");
    const QString old = examFile + QStringLiteral(".old");
    bool done = copyFile(copyPath, part, error);
    if (done) {
        QFile::remove(old);
        QFile current(examFile);
        done = current.rename(old);
        if (!done && error) *error = fileErrorText(current.errorString());
        if (done && !QFile::rename(part, examFile)) {
            done = false;
            QFile::rename(old, examFile);
            if (error) *error = folderWriteProblem(QFileInfo(examFile).path());
        }
        if (done) QFile::remove(old);
    }
    QFile::remove(part);
    // A connection that cannot be opened again is the operation frame's to
    // report when it shares exam.mdb again.
    exam.reopen(exam.access());
    exam.clearError();
    return done;
}

}  // namespace korvex::examBackups
