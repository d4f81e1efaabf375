#include "core/ValueRules.h"
#include "db/BatchedUpdate.h"
#include "db/Recordset.h"
#include "db/TableColumns.h"
#include "ops/AppContext.h"
#include "startup/StartupSteps.h"

namespace korvex {
namespace {

// The statements compare codes as the server does. SQL Server pads the
// shorter side with blanks ('' equals '  ', '301' equals '301 '); SQLite
// compares exactly, so a school database kept in SQLite must store its codes
// and statuses without trailing blanks.

// Active students: in a class and a seat, and enrolled or on extended study.
// The first three pieces are shared by the numeric and the other departments.
const QString kDepartmentsHead = QStringLiteral(
    "SELECT DISTINCT SUBSTRING(sastuden.學號, 2, 2) AS shortcode, sastuden.在學科別 "
    "FROM sastuden LEFT OUTER JOIN z_dept ON sastuden.在學科別 = z_dept.科別碼 "
    "WHERE (sastuden.在學班次 > '00') AND (sastuden.在學座號 > '00') AND ");

// Departments whose codes are numbers, "000" to "999".
const QString kNumericDepartments =
    kDepartmentsHead + QStringLiteral(
                           "(sastuden.在學狀態 = '' OR sastuden.在學狀態 LIKE ?) AND "
                           "(sastuden.在學科別 > '000' and sastuden.在學科別 <= '999') "
                           "ORDER BY sastuden.在學科別");

// All other departments (codes with letters, for example).
const QString kOtherDepartments =
    kDepartmentsHead + QStringLiteral(
                           "(sastuden.在學狀態 = '' OR sastuden.在學狀態 LIKE ?) AND "
                           "(sastuden.在學科別 <= '000' or sastuden.在學科別 > '999') "
                           "ORDER BY sastuden.在學科別");

// Every class with active students and the short code it gets: grade, the
// second character of the department's short code, the second digit of the
// class number.
const QString kVocationalClasses = QStringLiteral(
    "SELECT DISTINCT sastuden.在學科別 + sastuden.在學年級 + sastuden.在學班次 AS allcode,"
    "sastuden.在學科別 AS depcode,"
    "sastuden.在學年級 + sastuden.在學班次 AS classcode,"
    "RTRIM(z_class.班級簡稱) AS classname,"
    "sastuden.在學年級+SUBSTRING(z_dept.科別簡碼, 2, 1)"
    "+ SUBSTRING(sastuden.在學班次, 2, 1) AS mycode,"
    "z_dept.科別簡碼 AS depshort "
    "FROM sastuden INNER JOIN "
    "z_class ON "
    "sastuden.在學科別+ sastuden.在學年級 + sastuden.在學班次 = z_class.班級碼 "
    "Inner Join "
    "z_dept ON sastuden.在學科別 = z_dept.科別碼 "
    "WHERE  (sastuden.在學班次 > '00') AND (sastuden.在學座號 > '00') AND "
    "(sastuden.在學狀態 = '' OR "
    "sastuden.在學狀態 LIKE ?) ORDER BY  mycode");

// Chinese text is bound, never written into the statement: SQL Server
// turns a literal without N into the database's code page, and under a
// collation that is not Chinese it would no longer match.
QVariantList extendedStudy() { return {QStringLiteral("延修%")}; }

// The short codes go out a few hundred a statement, not one by one.
BatchedUpdate departmentCodes(Connection& school) {
    return BatchedUpdate(school, QStringLiteral("z_dept"), QStringLiteral("科別簡碼"),
                         {QStringLiteral("科別碼")});
}
BatchedUpdate classCodes(Connection& school) {
    return BatchedUpdate(school, QStringLiteral("z_class"), QStringLiteral("簡碼"),
                         {QStringLiteral("班級碼")});
}

// Vocational mode: a numeric department's short code is the 2nd and 3rd
// characters of its students' numbers; every other department is numbered on
// from the last numeric one.
void numberVocationalDepartments(Connection& school) {
    // The running number carries over from the numeric departments to the
    // others: it is the short code of the department that sorts last.
    long long running = 0;
    school.guardedBatch([&] {
        auto numeric = OpenRecordset(school, kNumericDepartments, extendedStudy());
        if (!numeric) return;
        BatchedUpdate codes = departmentCodes(school);
        for (Recordset& row : *numeric) {
            // A student without a number gives no code: the department keeps
            // the empty code rather than losing the whole batch.
            const QString shortCode = row.text(QStringLiteral("shortcode"));
            if (!codes.add(shortCode, {row.value(QStringLiteral("在學科別"))})) return;
            running = static_cast<long long>(leadingNumber(shortCode));
        }
        codes.finish();
    });
    school.guardedBatch([&] {
        auto others = OpenRecordset(school, kOtherDepartments, extendedStudy());
        if (!others) return;
        BatchedUpdate codes = departmentCodes(school);
        for (Recordset& row : *others)
            if (!codes.add(zeroPadded(++running, 2), {row.value(QStringLiteral("在學科別"))}))
                return;
        codes.finish();
    });
}

void codeVocationalClasses(Connection& school) {
    auto classes = OpenRecordset(school, kVocationalClasses, extendedStudy());
    if (!classes) {
        // Nothing to write; the failed open is not carried into later steps.
        school.clearError();
        return;
    }
    if (classes->recordCount() == 0) return;
    school.guardedBatch([&] {
        BatchedUpdate codes = classCodes(school);
        for (Recordset& row : *classes) {
            // Without a code there is nothing to write; the class keeps the
            // code it had.
            if (row.isNull(QStringLiteral("mycode"))) continue;
            if (!codes.add(row.text(QStringLiteral("mycode")),
                           {row.value(QStringLiteral("allcode"))}))
                return;
        }
        codes.finish();
    });
}

// High-school mode: departments are numbered 10, 11, 12, ... in the order of
// their codes, over all students.
void numberHighSchoolDepartments(Connection& school) {
    school.guardedBatch([&] {
        auto departments = OpenRecordset(
            school, QStringLiteral("SELECT DISTINCT 在學科別 From sastuden ORDER BY 在學科別"));
        if (!departments) return;
        BatchedUpdate codes = departmentCodes(school);
        long long number = 10;
        for (Recordset& row : *departments) {
            // Every row takes its number, also the row of the students
            // without a department (it sorts first); that row names no
            // department, so its number goes unused. From the 91st row on
            // the number has three digits; the two-character column refuses
            // it and the whole numbering is rolled back, leaving every
            // department without a code.
            if (!row.isNull(QStringLiteral("在學科別")) &&
                !codes.add(zeroPadded(number, 2), {row.value(QStringLiteral("在學科別"))}))
                return;
            ++number;
        }
        codes.finish();
    });
}

}  // namespace

void prepareShortCodes(AppContext& context) {
    Connection& school = context.school;
    // The columns are added once, on the first start: the table's columns
    // are read first, so that no later start sends a change that must fail.
    const std::pair<const char16_t*, const char16_t*> columns[] = {{u"z_dept", u"科別簡碼"},
                                                                   {u"z_class", u"簡碼"}};
    const QString statements[] = {
        QStringLiteral("alter TABLE dbo.z_dept add 科別簡碼 nvarchar(2) NULL"),
        QStringLiteral("alter TABLE dbo.z_class add 簡碼 nvarchar(3) NULL")};
    for (int i = 0; i < 2; ++i) {
        const auto present = tableColumns(school, QString::fromUtf16(columns[i].first));
        if (present && !hasColumn(*present, QString::fromUtf16(columns[i].second)))
            school.executeGuarded(statements[i]);
        school.clearError();
    }
    // Department codes are rebuilt from empty at every start; this commits on
    // its own, so they are empty even if the numbering below fails.
    school.executeGuarded(QStringLiteral("UPDATE z_dept SET 科別簡碼=''"));

    if (context.settings.vocational != 0) {
        numberVocationalDepartments(school);
        codeVocationalClasses(school);
    } else {
        numberHighSchoolDepartments(school);
        // A class's code is its name: in department 101 for the classes with
        // a group, elsewhere for the classes whose number begins with 0.
        school.executeGuarded(QStringLiteral(
            "update z_class set 簡碼=班級名稱 where ((班級碼 like '101%' and 班級類組>'0') or "
            "(not (班級碼 like '101%') and substring(班級碼,5,1)='0'))"));
    }
}

}  // namespace korvex
