#include "menu/OperationTable.h"

#include "exam/ExamOperations.h"
#include "exam/TeacherWorkbooks.h"
#include "import/BaseDataImports.h"

namespace korvex {

const std::vector<OperationEntry>& operationTable() {
    // The exam operations check the exam slot themselves: it names the
    // roster table and the score columns, so they refuse one that is not 1 to 6.
    static const std::vector<OperationEntry> table{
        {Operation::Departments, QStringLiteral("departments"), OperationMenu::BaseData,
         QStringLiteral("mnua_1"), QStringLiteral("科別類組資料匯入"), ImportDepartmentsAndGroups},
        {Operation::Classes, QStringLiteral("classes"), OperationMenu::BaseData,
         QStringLiteral("mnua_2"), QStringLiteral("班級資料匯入"), ImportClasses},
        {Operation::Students, QStringLiteral("students"), OperationMenu::BaseData,
         QStringLiteral("mnua_3"), QStringLiteral("學生資料匯入"), ImportStudents},
        {Operation::Subjects, QStringLiteral("subjects"), OperationMenu::BaseData,
         QStringLiteral("mnua_4"), QStringLiteral("科目資料匯入"), ImportSubjects},
        {Operation::Teachers, QStringLiteral("teachers"), OperationMenu::BaseData,
         QStringLiteral("mnua_5"), QStringLiteral("教師資料匯入"), ImportTeachers},
        {Operation::Courses, QStringLiteral("courses"), OperationMenu::BaseData,
         QStringLiteral("mnua_6"), QStringLiteral("考試科目資料匯入"), ImportExamCourses},
        {Operation::Workbooks, QStringLiteral("workbooks"), OperationMenu::BaseData,
         QStringLiteral("mnua_7"), QStringLiteral("產生教師登錄成績Excel檔"), MakeScoreWorkbooks},
        {Operation::Roster, QStringLiteral("roster"), OperationMenu::Exam, QStringLiteral("mnue_1"),
         QStringLiteral("匯入"), ImportExamRoster},
        {Operation::Export, QStringLiteral("export"), OperationMenu::Exam, QStringLiteral("mnue_2"),
         QStringLiteral("匯出"), ExportScores},
    };
    return table;
}

const OperationEntry* operationNamed(const QString& batchName) {
    for (const OperationEntry& entry : operationTable())
        if (entry.batchName == batchName) return &entry;
    return nullptr;
}

}  // namespace korvex
