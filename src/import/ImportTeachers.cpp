#include "core/SchoolCodes.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "import/BaseDataImports.h"
#include "import/DuplicateCheck.h"
#include "import/ImportRun.h"
#include "ops/AppContext.h"
#include "settings/PasswordScrambling.h"

namespace korvex {

// Fills `teacher` with the school's teachers and the placeholder teacher (for
// subjects without a teacher), then reads the table back in code order
// and reports every pair of teachers that share a code.
BaseDataImport teachersImport(AppContext&) {
    const QString insert =
        QStringLiteral("insert into teacher(tchno,name,idno,passwd) values (?,?,?,?)");

    ImportPhase teachers;
    teachers.what = QStringLiteral("教師資料");
    teachers.source =
        QStringLiteral("SELECT 教師碼,姓名,身份證號,密碼 FROM z_teach ORDER BY 教師碼");
    teachers.insert = insert;
    teachers.rowValues = [](Recordset& row) -> std::optional<QVariantList> {
        const QString code = trimBlanks(row.text(QStringLiteral("教師碼")));
        // idno carries the teacher code in scrambled form, as the grading
        // program has always received it.
        const std::optional<QString> idno = EncodePassword(code);
        const std::optional<QString> password =
            EncodePassword(trimBlanks(row.text(QStringLiteral("密碼"))));
        // A code or password that has no scrambled form cannot be stored so
        // that the grading program reads it back; the teacher is left out
        // and named instead.
        if (!idno || !password) return std::nullopt;
        return QVariantList{textParam(code),
                            textParam(trimBlanks(row.text(QStringLiteral("姓名")))),
                            textParam(*idno), textParam(*password)};
    };

    teachers.afterCopy = [insert](ImportRun& run, const ImportPhase& phase, CopyOutcome copied) {
        Connection& exam = run.context().exam;
        // A table that refuses the placeholder (a school teacher already
        // holds its code, or an old row stayed) would otherwise leave
        // subjects without teacher assigned to someone else unnoticed.
        if (copied == CopyOutcome::Rows &&
            exam.executeContained(insert, {kUnassignedTeacher, kUnassignedTeacherName,
                                           QStringLiteral(""), QStringLiteral("")}) !=
                Connection::Contained::Done) {
            exam.clearError();
            run.noteRefused(kUnassignedTeacher + u' ' + kUnassignedTeacherName);
        }

        DuplicateCheck check;
        check.statement = QStringLiteral("select tchno,name from teacher order by tchno");
        check.keyColumn = QStringLiteral("tchno");
        // The first row is compared with a key no teacher code can be, and a
        // duplicate first row would be paired with a placeholder entry; the
        // dashes are what the office's reports have always shown there.
        check.firstKey = QStringLiteral("----------");
        check.firstEntry = QStringLiteral("------");
        check.phrase = QStringLiteral("] 有相同帳號 - ");
        check.entry = [](Recordset& row) { return row.text(QStringLiteral("name")); };
        showDuplicateOutcome(run, findDuplicates(run, check), phase.doneText(),
                             QStringLiteral("無法讀回教師資料檢查帳號是否重複, 請重新執行!"));
        run.reportRefused(phase);
    };

    return {QStringLiteral("delete from teacher"), teachers.what, {teachers}};
}

void ImportTeachers(AppContext& context) { runImport(context, teachersImport(context)); }

}  // namespace korvex
