#include "menu/OperationTable.h"

#include "check/SelfCheck.h"
#include "exam/ExamOperations.h"
#include "exam/TeacherWorkbooks.h"
#include "import/BaseDataImports.h"
#include "maintenance/ExamRestore.h"
#include "ops/AppContext.h"

namespace korvex {
namespace {

// An operation of the context alone, as most are.
template <void (*operation)(AppContext&)>
void plain(AppContext& context, const OperationInput&) {
    operation(context);
}

void restore(AppContext& context, const OperationInput& input) {
    restoreExamDatabase(context, input.copy);
}

}  // namespace

const std::vector<OperationEntry>& operationTable() {
    using Menu = OperationMenu;
    using Needs = OperationNeeds;
    // The exam operations check the exam slot themselves: it names the
    // roster table and the score columns, so they refuse one that is not 1 to 6.
    static const std::vector<OperationEntry> table{
        {QStringLiteral("startup"), Menu::None, QString(), QString(),
         QStringLiteral("只執行開啟程序與登入檢查"), Needs::Nothing, nullptr},
        {QStringLiteral("departments"), Menu::BaseData, QStringLiteral("mnua_1"),
         QStringLiteral("科別類組資料匯入"), QStringLiteral("科別類組資料匯入"), Needs::Nothing,
         plain<ImportDepartmentsAndGroups>},
        {QStringLiteral("classes"), Menu::BaseData, QStringLiteral("mnua_2"),
         QStringLiteral("班級資料匯入"), QStringLiteral("班級資料匯入"), Needs::Nothing,
         plain<ImportClasses>},
        {QStringLiteral("students"), Menu::BaseData, QStringLiteral("mnua_3"),
         QStringLiteral("學生資料匯入"), QStringLiteral("學生資料匯入"), Needs::Nothing,
         plain<ImportStudents>},
        {QStringLiteral("subjects"), Menu::BaseData, QStringLiteral("mnua_4"),
         QStringLiteral("科目資料匯入"), QStringLiteral("科目資料匯入"), Needs::Nothing,
         plain<ImportSubjects>},
        {QStringLiteral("teachers"), Menu::BaseData, QStringLiteral("mnua_5"),
         QStringLiteral("教師資料匯入"), QStringLiteral("教師資料匯入"), Needs::Nothing,
         plain<ImportTeachers>},
        {QStringLiteral("courses"), Menu::BaseData, QStringLiteral("mnua_6"),
         QStringLiteral("考試科目資料匯入"), QStringLiteral("考試科目資料匯入"), Needs::Nothing,
         plain<ImportExamCourses>},
        {QStringLiteral("workbooks"), Menu::BaseData, QStringLiteral("mnua_7"),
         QStringLiteral("產生教師登錄成績Excel檔"), QStringLiteral("產生教師登錄成績Excel檔"),
         Needs::Teachers, plain<MakeScoreWorkbooks>},
        {QStringLiteral("roster"), Menu::Exam, QStringLiteral("mnue_1"), QStringLiteral("匯入"),
         QStringLiteral("考試資料匯入"), Needs::Answer, plain<ImportExamRoster>},
        {QStringLiteral("export"), Menu::Exam, QStringLiteral("mnue_2"), QStringLiteral("匯出"),
         QStringLiteral("考試資料匯出"), Needs::Nothing, plain<ExportScores>},
        {QStringLiteral("restore"), Menu::System, QStringLiteral("mnud_5"),
         QStringLiteral("還原考試資料庫"), QStringLiteral("還原考試資料庫"), Needs::Copy, restore},
        {QStringLiteral("check"), Menu::System, QStringLiteral("mnud_6"),
         QStringLiteral("環境檢查"), QStringLiteral("環境檢查"), Needs::Nothing,
         plain<runSelfCheck>},
    };
    return table;
}

const OperationEntry* operationNamed(const QString& batchName) {
    for (const OperationEntry& entry : operationTable())
        if (entry.batchName == batchName) return &entry;
    return nullptr;
}

QString operationPlainName(const QString& batchName) {
    const OperationEntry* entry = operationNamed(batchName);
    return entry ? entry->plainName : batchName;
}

QString requiredOption(const OperationEntry& entry) {
    switch (entry.needs) {
        case OperationNeeds::Answer:
            return QStringLiteral("answer");
        case OperationNeeds::Teachers:
            return QStringLiteral("teachers");
        case OperationNeeds::Copy:
            return QStringLiteral("from");
        case OperationNeeds::Nothing:
            break;
    }
    return QString();
}

void runOperation(AppContext& context, const OperationEntry& entry, const OperationInput& input) {
    context.operationName = entry.batchName;
    if (entry.run) entry.run(context, input);
}

}  // namespace korvex
