#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "import/BaseDataImports.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"

namespace korvex {

// Fills `subject` with every 6-character subject code that the classes take,
// with its name, in the order of the names. Subjects whose code begins with
// 0000 belong to the grading program and are kept.
BaseDataImport subjectsImport(AppContext&) {
    ImportPhase subjects;
    subjects.what = QStringLiteral("科目資料");
    subjects.source = QStringLiteral(
        "SELECT DISTINCT sbcourse.科目碼, z_course.科目中文名 "
        "FROM sbcourse INNER JOIN "
        "z_course ON sbcourse.科目碼 = z_course.科目碼 "
        "WHERE (LEN(RTRIM(sbcourse.科目碼)) = 6) "
        "ORDER BY z_course.科目中文名");
    subjects.insert = QStringLiteral("insert into subject(class,name) values (?,?)");
    subjects.rowValues = [](Recordset& row) -> std::optional<QVariantList> {
        return QVariantList{textParam(trimBlanks(row.text(QStringLiteral("科目碼")))),
                            textParam(trimBlanks(row.text(QStringLiteral("科目中文名"))))};
    };

    return {QStringLiteral("delete from subject where not (class like '0000%')"),
            subjects.what,
            {subjects}};
}

void ImportSubjects(AppContext& context) { runImport(context, subjectsImport(context)); }

}  // namespace korvex
