#include "maintenance/ExamRestore.h"

#include <QDir>
#include <QFileInfo>

#include "db/DatabaseFile.h"
#include "ops/AppContext.h"
#include "ops/ExamBackups.h"
#include "ops/ExamFileCheck.h"
#include "ops/OperationFrame.h"

namespace korvex {

void restoreExamDatabase(AppContext& context, const QString& copyPath) {
    OperationFrame frame(context);
    MainWindowInterface& window = frame.window();
    const QString failed = QStringLiteral("考試資料庫還原失敗, 考試資料庫未變更!");
    const QString shown = QDir::toNativeSeparators(QFileInfo(copyPath).absoluteFilePath());

    // The copy must be a whole database of the grading program, of the
    // engine exam.mdb uses, or nothing is touched. It is only read: nothing
    // is written beside it.
    const examFileCheck::Finding finding = examFileCheck::inspectFile(copyPath);
    if (finding.verdict != examFileCheck::Verdict::Usable) {
        frame.reportFailure(withReason(failed, finding.reason));
        return;
    }
    const DatabaseFileKind expected = context.exam.dialect() == SqlDialect::Access
                                          ? DatabaseFileKind::Access
                                          : DatabaseFileKind::Sqlite;
    if (databaseFileKind(copyPath) != expected) {
        frame.reportFailure(withReason(
            failed,
            expected == DatabaseFileKind::Access
                ? QStringLiteral("%1 不是 Access 資料庫檔, 與目前的考試資料庫不同").arg(shown)
                : QStringLiteral("%1 不是 SQLite 資料庫檔, 與目前的考試資料庫不同").arg(shown)));
        return;
    }
    if (QFileInfo(copyPath).canonicalFilePath() ==
        QFileInfo(context.exam.file()).canonicalFilePath()) {
        frame.reportFailure(
            withReason(failed, QStringLiteral("%1 就是目前的考試資料庫").arg(shown)));
        return;
    }

    frame.showBusy();
    if (!frame.holdExamAlone(failed)) return;
    QString why;
    if (!examBackups::restore(context.exam, copyPath, &why)) {
        frame.reportFailure(withReason(failed, why));
        return;
    }
    window.message(
        QStringLiteral("考試資料庫已還原為 %1 的內容!\r\n%2").arg(shown, frame.backupNote()),
        MainWindowInterface::Icon::None);
}

}  // namespace korvex
