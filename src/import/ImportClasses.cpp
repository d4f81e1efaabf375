#include <memory>

#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "import/BaseDataImports.h"
#include "import/DepartmentLookup.h"
#include "import/GroupCodes.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"

namespace korvex {

// Fills `class` with every class that has a short code: the short code, the
// short name, its group or department code and its grade (the short code's
// first character).
BaseDataImport classesImport(AppContext& context) {
    // The declaration outlives this function: the lookup is shared by its
    // steps.
    const auto departments = std::make_shared<DepartmentLookup>();
    const ShortCodeLookup lookup = [departments](const QString& code) {
        return departments->shortCode(code);
    };

    ImportPhase classes;
    classes.what = QStringLiteral("班級資料");
    classes.source = QStringLiteral("SELECT * from z_class where 簡碼>'000' order by 簡碼");
    classes.insert = QStringLiteral("insert into class(class,name,dep,yy) values(?,?,?,?)");
    classes.prepare = [departments, &context] { return departments->open(context.school); };
    classes.rowValues = [lookup](Recordset& row) -> std::optional<QVariantList> {
        const QString shortCode = row.text(QStringLiteral("簡碼"));
        const QString dep = classGroupCode(row.text(QStringLiteral("班級碼")),
                                           row.text(QStringLiteral("班級類組")), shortCode, lookup);
        return QVariantList{textParam(shortCode),
                            textParam(rtrimBlanks(row.text(QStringLiteral("班級簡稱")))),
                            textParam(dep), textParam(shortCode.left(1))};
    };

    return {QStringLiteral("delete from class"), classes.what, {classes}};
}

void ImportClasses(AppContext& context) { runImport(context, classesImport(context)); }

}  // namespace korvex
