#include <QDir>

#include "startup/StartupSteps.h"
#include "workbook/ScoreSheetTemplate.h"
#include "workbook/XlsWriter.h"

namespace korvex {

bool writeWorkbookTemplates(const QString& appPath, QString* error) {
    // Each template replaces the old file only once it is written whole.
    const QDir dir(appPath);
    return xls::saveXls(scoresheet::baseWorkbook(), dir.filePath(QStringLiteral("scorep.xls")),
                        error) &&
           xls::saveXls(scoresheet::templateWorkbook(), dir.filePath(QStringLiteral("scoret.xls")),
                        error);
}

}  // namespace korvex
