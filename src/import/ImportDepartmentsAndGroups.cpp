#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "import/BaseDataImports.h"
#include "import/GroupCodes.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"

namespace korvex {

// Fills `dep`: first the groups (their number as a two-digit code), then the
// departments that have a short code (the short code as stored).
BaseDataImport departmentsAndGroupsImport(AppContext&) {
    const QString insert = QStringLiteral("insert into dep(class,name) values(?,?)");

    ImportPhase groups;
    groups.what = QStringLiteral("類組資料");
    groups.source = QStringLiteral("SELECT * From z_ugroup");
    groups.insert = insert;
    groups.rowValues = [](Recordset& row) -> std::optional<QVariantList> {
        return QVariantList{textParam(groupNumberCode(row.text(QStringLiteral("類組碼")))),
                            textParam(rtrimBlanks(row.text(QStringLiteral("類組名稱"))))};
    };

    ImportPhase departments;
    departments.what = QStringLiteral("科別資料");
    departments.source =
        QStringLiteral("SELECT * from z_dept where 科別簡碼>'00' order by 科別簡碼");
    departments.insert = insert;
    departments.rowValues = [](Recordset& row) -> std::optional<QVariantList> {
        return QVariantList{textParam(row.text(QStringLiteral("科別簡碼"))),
                            textParam(rtrimBlanks(row.text(QStringLiteral("科別中文名"))))};
    };

    return {
        QStringLiteral("delete from dep"), QStringLiteral("類組及科別資料"), {groups, departments}};
}

void ImportDepartmentsAndGroups(AppContext& context) {
    runImport(context, departmentsAndGroupsImport(context));
}

}  // namespace korvex
