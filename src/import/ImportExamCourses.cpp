#include "core/SchoolCodes.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "import/BaseDataImports.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"

namespace korvex {

// Fills `course` with the subjects of every class: class short code, subject
// code, teacher (the placeholder teacher when none) and the weights of
// the six exams.
BaseDataImport examCoursesImport(AppContext&) {
    ImportPhase courses;
    courses.what = QStringLiteral("考試科目資料");
    courses.source = QStringLiteral(
        "SELECT z_class.簡碼 AS clsno, sbcourse.科目碼 AS subjno, sbcourse.教師碼 AS tchno, "
        "sbcourse.考試比例1 AS ratio1, sbcourse.考試比例2 AS ratio2,"
        "sbcourse.考試比例3 AS ratio3, sbcourse.考試比例4 AS ratio4,"
        "sbcourse.考試比例5 AS ratio5, sbcourse.考試比例6 AS ratio6 "
        "FROM sbcourse INNER JOIN "
        "z_class ON sbcourse.班級碼 = z_class.班級碼");
    courses.insert = QStringLiteral(
        "insert into course(clsno,subjno,tchno,ratio1,ratio2,ratio3,ratio4,ratio5,ratio6) "
        "values (?,?,?,?,?,?,?,?,?)");
    courses.rowValues = [](Recordset& row) -> std::optional<QVariantList> {
        QString teacher = rtrimBlanks(row.text(QStringLiteral("tchno")));
        if (teacher.isEmpty()) teacher = kUnassignedTeacher;
        QVariantList values{textParam(trimBlanks(row.text(QStringLiteral("clsno")))),
                            textParam(trimBlanks(row.text(QStringLiteral("subjno")))),
                            textParam(teacher)};
        // The weights go in as the school database holds them; a missing
        // weight stays missing (NULL) instead of costing the class its subject.
        for (int exam = 1; exam <= 6; ++exam)
            values << row.value(QStringLiteral("ratio%1").arg(exam));
        return values;
    };
    courses.describe = [](Recordset& row) {
        return QStringList{rtrimBlanks(row.text(QStringLiteral("clsno"))),
                           rtrimBlanks(row.text(QStringLiteral("subjno"))),
                           rtrimBlanks(row.text(QStringLiteral("tchno")))}
            .join(u' ');
    };

    return {QStringLiteral("delete from course"), courses.what, {courses}};
}

void ImportExamCourses(AppContext& context) { runImport(context, examCoursesImport(context)); }

}  // namespace korvex
