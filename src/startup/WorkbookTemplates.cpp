#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "startup/StartupSteps.h"
#include "workbook/ScoreSheetTemplate.h"
#include "workbook/XlsWriter.h"

namespace korvex {

bool WriteWorkbookTemplates(const QString& appPath, QString* error) {
    const QDir dir(appPath);
    const QString base = dir.filePath(QStringLiteral("scorep.xls"));
    const QString sheet = dir.filePath(QStringLiteral("scoret.xls"));
    for (const QString& path : {base, sheet}) {
        QFile old(path);
        if (QFileInfo(path).exists() && !old.remove()) {
            if (error) *error = QStringLiteral("無法刪除 %1: %2").arg(path, old.errorString());
            return false;
        }
    }
    return xls::saveXls(scoresheet::baseWorkbook(), base, error) &&
           xls::saveXls(scoresheet::templateWorkbook(), sheet, error);
}

}  // namespace korvex
