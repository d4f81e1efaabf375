#include "ops/FailureReasons.h"

#include "db/Connection.h"

namespace korvex {

QString databaseLabel(DatabaseRole role) {
    return role == DatabaseRole::School ? QStringLiteral("校務行政資料庫")
                                        : QStringLiteral("考試資料庫 exam.mdb");
}

QString failureReason(const DbError& error, DatabaseRole role) {
    const QString label = databaseLabel(role);
    const QString driver = error.text.trimmed();
    QString words;
    switch (error.kind) {
        case DbError::Kind::Busy:
            words = label + QStringLiteral("正由其他程式使用中, 請稍後再執行");
            break;
        case DbError::Kind::ReadOnly:
            words = label + QStringLiteral("是唯讀的, 無法寫入");
            break;
        case DbError::Kind::Damaged:
            words = role == DatabaseRole::Exam ? QStringLiteral("考試資料庫檔案已損壞")
                                               : label + QStringLiteral("已損壞");
            break;
        case DbError::Kind::DiskFull:
            words = label + QStringLiteral("所在的磁碟已滿");
            break;
        case DbError::Kind::Other:
            return driver.isEmpty() ? label + QStringLiteral("發生錯誤")
                                    : label + QStringLiteral(": ") + driver;
    }
    return driver.isEmpty() ? words : words + QStringLiteral(" (") + driver + u')';
}

QString failureReason(const Connection& connection, DatabaseRole role) {
    if (const auto& error = connection.pendingError()) return failureReason(*error, role);
    return databaseLabel(role) + QStringLiteral("發生錯誤");
}

QString examInUseReason(const QStringList& holders) {
    QString text = QStringLiteral("考試資料庫 exam.mdb 正由電腦閱卷系統或其他電腦使用中");
    if (!holders.isEmpty())
        text += QStringLiteral(" (開啟它的電腦: %1)").arg(holders.join(QStringLiteral(", ")));
    return text + QStringLiteral(
                      ", 請先關閉電腦閱卷系統及其他電腦上開啟 exam.mdb 的程式, "
                      "再執行一次");
}

QString withReason(const QString& message, const QString& reason) {
    if (reason.isEmpty()) return message;
    return message + QStringLiteral("\r\n原因: ") + reason;
}

}  // namespace korvex
