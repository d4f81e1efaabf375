#include "ops/FolderLock.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "core/FileErrors.h"

namespace korvex {

FolderLock::FolderLock(const QString& folder)
    : m_folder(folder), m_file(std::make_unique<QLockFile>(QDir(folder).filePath(lockFileName()))) {
    // Only a holder that no longer runs on this computer gives the lock up;
    // however long a copy has been running, its lock stands.
    m_file->setStaleLockTime(0);
}

FolderLock::~FolderLock() = default;

bool FolderLock::isLocked() const { return m_file->isLocked(); }

FolderLock::Outcome FolderLock::lock() {
    if (m_file->tryLock(0)) return m_outcome = Outcome::Locked;
    if (m_file->error() == QLockFile::LockFailedError) return m_outcome = Outcome::InUse;
    m_why = folderWriteProblem(m_folder);
    return m_outcome = Outcome::NotWritable;
}

QString FolderLock::message() const {
    const QString folder = QDir::toNativeSeparators(m_folder);
    switch (m_outcome) {
        case Outcome::Locked:
            return QString();
        case Outcome::InUse: {
            qint64 pid = 0;
            QString host, program;
            if (!m_file->getLockInfo(&pid, &host, &program))
                return QStringLiteral("資料夾 %1 正由另一個小幫手程式使用中, 請先結束它再執行!")
                    .arg(folder);
            return QStringLiteral(
                       "資料夾 %1 正由另一個小幫手程式使用中 (電腦 %2 上的 %3, 處理程序 %4), "
                       "請先結束它再執行! 若那台電腦已不再執行它, 請刪除資料夾中的 %5 後再執行。")
                .arg(folder, host.isEmpty() ? QStringLiteral("?") : host,
                     program.isEmpty() ? QStringLiteral("?") : program)
                .arg(pid)
                .arg(lockFileName());
        }
        case Outcome::NotWritable:
            break;
    }
    return QStringLiteral("無法在資料夾 %1 中寫入檔案 (%2), 小幫手需要能寫入這個資料夾, 請檢查!")
        .arg(folder, m_why);
}

}  // namespace korvex
