#include <memory>

#include "core/SchoolCodes.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "import/BaseDataImports.h"
#include "import/DepartmentLookup.h"
#include "import/DuplicateCheck.h"
#include "import/GroupCodes.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"

namespace korvex {

// Fills `name` with the enrolled, extended-study and graduated students of
// the current semester, then reads the table back in exam-number order and
// reports every pair of students that share an exam number (class short code
// and seat).
BaseDataImport studentsImport(AppContext& context) {
    // The declaration outlives this function: the lookup is shared by its
    // steps.
    const auto departments = std::make_shared<DepartmentLookup>();
    const ShortCodeLookup lookup = [departments](const QString& code) {
        return departments->shortCode(code);
    };

    ImportPhase students;
    students.what = QStringLiteral("學生資料");
    students.source = QStringLiteral(
        "SELECT sastuden.在學科別 as 科別c, sastuden.在學年級, sastuden.在學班次,  "
        "rtrim(z_class.簡碼) as 班級c, rtrim(sastuden.在學座號) as 座號c, "
        "rtrim(sastuden.姓名) as 姓名c, rtrim(sastuden.學號) as 學號c, sastuden.性別, "
        "sastuden.身份證號 as 密碼c, sastuden.學期類組別, sastuden.在學狀態, "
        "sastuden.在學學期, sastuden.通縣市區, sastuden.通郵遞區號, sastuden.通號碼地址, "
        "sastuden.家長姓名 "
        "FROM sastuden LEFT JOIN z_class ON "
        "(sastuden.在學科別 + sastuden.在學年級 + sastuden.在學班次) = z_class.班級碼 "
        "WHERE (sastuden.在學座號 > '00') AND (sastuden.在學班次 > '00') AND "
        "(sastuden.在學狀態 = '' or sastuden.在學狀態 LIKE ? or "
        "sastuden.在學狀態 LIKE ?) AND (sastuden.在學學期 = ?) "
        " ORDER BY  z_class.簡碼, sastuden.在學座號");
    // The statuses are bound: SQL Server would turn Chinese literals into
    // the database's code page, where they may no longer match.
    students.sourceParams = {QStringLiteral("延修%"), QStringLiteral("畢業%"),
                             textParam(context.settings.semester)};
    students.insert = QStringLiteral(
        "insert into name(class,seat,name,sid,examno,gro,address,zipcode,addzone,father) "
        "values (?,?,?,?,?,?,?,?,?,?)");
    students.prepare = [departments, &context] { return departments->open(context.school); };
    students.rowValues = [lookup](Recordset& row) -> std::optional<QVariantList> {
        const QString classCode = row.text(QStringLiteral("班級c"));
        const QString seat = row.text(QStringLiteral("座號c"));
        const QString group = studentGroupCode(
            row.text(QStringLiteral("科別c")), row.text(QStringLiteral("在學年級")),
            row.text(QStringLiteral("在學學期")), row.text(QStringLiteral("學期類組別")), classCode,
            lookup);
        return QVariantList{textParam(classCode),
                            textParam(seat),
                            textParam(row.text(QStringLiteral("姓名c"))),
                            textParam(row.text(QStringLiteral("密碼c"))),
                            textParam(studentExamNumber(classCode, seat)),
                            textParam(group),
                            textParam(rtrimBlanks(row.text(QStringLiteral("通號碼地址")))),
                            textParam(rtrimBlanks(row.text(QStringLiteral("通郵遞區號")))),
                            textParam(rtrimBlanks(row.text(QStringLiteral("通縣市區")))),
                            textParam(rtrimBlanks(row.text(QStringLiteral("家長姓名"))))};
    };
    students.describe = [](Recordset& row) {
        return row.text(QStringLiteral("學號c")) + u' ' + row.text(QStringLiteral("姓名c"));
    };

    students.afterCopy = [](ImportRun& run, const ImportPhase& phase, CopyOutcome) {
        DuplicateCheck check;
        check.statement = QStringLiteral("select examno,sid,name from name order by examno");
        check.keyColumn = QStringLiteral("examno");
        // The first row is compared with a key no exam number can be, and a
        // duplicate first row would be paired with a placeholder entry; the
        // dashes are what the office's reports have always shown there.
        check.firstKey = QStringLiteral("-----");
        check.firstEntry = QStringLiteral("------");
        check.phrase = QStringLiteral("] 有相同班級座號 - ");
        check.entry = [](Recordset& row) {
            return row.text(QStringLiteral("sid")) + row.text(QStringLiteral("name"));
        };
        showDuplicateOutcome(run, findDuplicates(run, check), phase.doneText(),
                             QStringLiteral("無法讀回學生資料檢查班級座號是否重複, 請重新執行!"));
        run.reportRefused(phase);
    };

    return {QStringLiteral("delete from name"), students.what, {students}};
}

void ImportStudents(AppContext& context) { runImport(context, studentsImport(context)); }

}  // namespace korvex
