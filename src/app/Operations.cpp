#include "app/Operations.h"

#include <QHash>

#include "app/AppContext.h"
#include "exam/ExamOperations.h"
#include "import/BaseDataImports.h"
#include "workbook/ScoreWorkbooks.h"

namespace korvex {

std::optional<Operation> baseDataMenuOperation(int index) {
    static const Operation items[] = {Operation::Departments, Operation::Classes,
                                      Operation::Students,    Operation::Subjects,
                                      Operation::Teachers,    Operation::Courses,
                                      Operation::Workbooks};
    if (index < 1 || index > 7) return std::nullopt;
    return items[index - 1];
}

std::optional<Operation> examMenuOperation(int index) {
    if (index == 1) return Operation::Roster;
    if (index == 2) return Operation::Export;
    return std::nullopt;
}

std::optional<Operation> operationNamed(const QString& name) {
    static const QHash<QString, Operation> names = {
        {QStringLiteral("departments"), Operation::Departments},
        {QStringLiteral("classes"), Operation::Classes},
        {QStringLiteral("students"), Operation::Students},
        {QStringLiteral("subjects"), Operation::Subjects},
        {QStringLiteral("teachers"), Operation::Teachers},
        {QStringLiteral("courses"), Operation::Courses},
        {QStringLiteral("workbooks"), Operation::Workbooks},
        {QStringLiteral("roster"), Operation::Roster},
        {QStringLiteral("export"), Operation::Export},
    };
    const auto it = names.find(name);
    if (it == names.end()) return std::nullopt;
    return *it;
}

void runOperation(AppContext& context, Operation operation) {
    // The exam operations check the exam number themselves: it names the
    // roster table and the score columns, so they refuse one that is not 1 to 6.
    switch (operation) {
        case Operation::Departments: ImportDepartmentsAndGroups(context); break;
        case Operation::Classes: ImportClasses(context); break;
        case Operation::Students: ImportStudents(context); break;
        case Operation::Subjects: ImportSubjects(context); break;
        case Operation::Teachers: ImportTeachers(context); break;
        case Operation::Courses: ImportExamCourses(context); break;
        case Operation::Workbooks: MakeScoreWorkbooks(context); break;
        case Operation::Roster: ImportExamRoster(context); break;
        case Operation::Export: ExportScores(context); break;
    }
}

}  // namespace korvex
