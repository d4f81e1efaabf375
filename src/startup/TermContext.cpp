#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "ops/AppContext.h"
#include "startup/StartupSteps.h"

namespace korvex {
namespace {

// Opens the school connection and checks that the server answers and that
// the current term can be read. Any failure leaves an error pending on the
// connection and stops at once, as the check after it expects.
void connectAndReadTerm(AppContext& context) {
    Connection& school = context.school;
    if (!openSchoolConnection(context)) {
        if (!school.errorPending()) school.raise({QStringLiteral("無法開啟校務行政資料庫")});
        return;
    }
    // The probe: a connection that opened may still not answer statements.
    if (!OpenRecordset(school, QStringLiteral("SELECT getdate()"))) return;

    auto system = OpenRecordset(school, QStringLiteral("SELECT * from z_system"));
    if (!system) return;
    // A table without rows leaves the term as the settings file gave it.
    if (system->recordCount() == 0) return;
    system->moveFirst();
    const QString yearColumn = QStringLiteral("學年度");
    const QString semesterColumn = QStringLiteral("學期別");
    for (const QString& column : {yearColumn, semesterColumn}) {
        if (!system->hasColumn(column)) {
            school.raise({QStringLiteral("z_system 沒有欄位 %1").arg(column)});
            return;
        }
        if (system->isNull(column)) {
            school.raise({QStringLiteral("z_system 的 %1 是空值").arg(column)});
            return;
        }
    }
    // Both values are read before either is taken, so a term that cannot be
    // read whole never leaves a year of one term with a semester of another.
    const QString year = rtrimBlanks(system->text(yearColumn));
    const QString semester = rtrimBlanks(system->text(semesterColumn));
    if (school.errorPending()) return;
    context.settings.year = year;
    context.settings.semester = semester;
}

}  // namespace

void LoadTermContext(AppContext& context) {
    Connection& school = context.school;
    school.clearError();
    connectAndReadTerm(context);
    // Connected means: the server answered and the term could be read. A
    // z_system that cannot be read counts as a failed attempt although the
    // server answered, so that start-up offers to change the settings.
    if (!school.errorPending()) {
        context.schoolConnected = true;
        context.schoolFailure.clear();
        context.schoolBusy = false;
        return;
    }
    context.schoolConnected = false;
    context.schoolFailure = school.pendingError()->text;
    context.schoolBusy = school.pendingError()->retryable();
    school.clearError();
}

}  // namespace korvex
