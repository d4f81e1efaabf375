#include "check/SelfCheck.h"

#include <QDateTime>
#include <QDir>

#include "check/CheckReport.h"
#include "check/CheckTiming.h"
#include "check/DryRun.h"
#include "check/ExamChecks.h"
#include "check/ProgramChecks.h"
#include "check/SchoolChecks.h"
#include "ops/AppContext.h"
#include "ops/OperationFrame.h"

namespace korvex {

CheckReport selfCheckReport(AppContext& context) {
    CheckReport report;
    CheckTiming timing;
    checkProgram(context, report);
    checkDrivers(context, report);
    checkSchool(context, report, timing);
    std::vector<OperationRows> operations;
    {
        // exam.mdb is the program's alone only for the checks that need it.
        ExamHeldAlone alone(context);
        checkExam(context, alone, report, timing);
        operations = dryRun(context, alone, report, timing);
        QString why;
        if (!alone.share(&why))
            report.fail(
                QStringLiteral("無法重新開啟 exam.mdb, 請結束小幫手後重新啟動: %1").arg(why));
    }
    forecast(operations, context.exam.dialect() == SqlDialect::Access, timing, report);
    return report;
}

void runSelfCheck(AppContext& context) {
    OperationFrame frame(context);
    frame.showBusy();
    const CheckReport report = selfCheckReport(context);
    const QDateTime now = QDateTime::currentDateTime();
    QString text = report.text(now);
    QString error;
    const QString file = writeCheckReport(context.appPath, now, text, &error);
    text +=
        file.isEmpty()
            ? QStringLiteral("\r\n\r\n無法寫入報告檔 %1: %2").arg(checkReportFileName(now), error)
            : QStringLiteral("\r\n\r\n報告已存為 %1").arg(QDir::toNativeSeparators(file));
    frame.endBusy();
    if (report.failed() || file.isEmpty())
        frame.reportFailure(text, MainWindowInterface::Icon::Exclamation);
    else
        frame.window().message(text, MainWindowInterface::Icon::Information);
}

}  // namespace korvex
