#include "menu/DamagedExamTexts.h"

#include <QDir>

#include "menu/OperationTable.h"
#include "ops/FailureReasons.h"

namespace korvex {
namespace {

QString head(const DamagedExam& damaged) {
    return withReason(QStringLiteral("考試資料庫 %1 已損壞, 無法開啟!")
                          .arg(QDir::toNativeSeparators(damaged.file)),
                      damaged.reason);
}

QString described(const examBackups::Copy& copy) {
    return QStringLiteral("%1 於「%2」之前的備份")
        .arg(copy.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
             operationPlainName(copy.operation));
}

}  // namespace

QString damagedExamQuestion(const DamagedExam& damaged) {
    const examBackups::Copy& newest = damaged.copies.first();
    return head(damaged) + QStringLiteral(
                               "\r\n\r\n要放回最新的備份嗎? (%1)\r\n選擇[是]放回備份並繼續, "
                               "已損壞的檔案保留為 %2; 選擇[否]結束離開。")
                               .arg(described(newest), QDir::toNativeSeparators(damaged.keptAs));
}

QString damagedExamMessage(const DamagedExam& damaged, bool forConsole) {
    if (damaged.copies.isEmpty())
        return head(damaged) + QStringLiteral(
                                   "\r\nbackup 資料夾中沒有考試資料庫的備份; 請從電腦閱卷系統或"
                                   "其他備份放回 exam.mdb 後再啟動小幫手。");
    if (!forConsole) return damagedExamQuestion(damaged);
    const examBackups::Copy& newest = damaged.copies.first();
    return head(damaged) + QStringLiteral(
                               "\r\n最新的備份是 %1, 可以這樣放回 (已損壞的檔案會先保留):\r\n"
                               "korvex-batch … restore --from \"%2\"")
                               .arg(described(newest), QDir::toNativeSeparators(newest.path));
}

}  // namespace korvex
