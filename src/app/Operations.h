#pragma once

#include <QString>
#include <optional>

namespace korvex {

struct AppContext;

// The operations the menus start (and korvex-batch by name).
enum class Operation {
    Departments,  // 基本資料匯入, item 1
    Classes,      // item 2
    Students,     // item 3
    Subjects,     // item 4
    Teachers,     // item 5
    Courses,      // item 6
    Workbooks,    // item 7
    Roster,       // 考試資料匯入及匯出, item 1
    Export,       // item 2
};

// The operation of base-data menu item `index` (1 to 7) or exam menu item
// `index` (1 or 2); nothing for an index without an item.
std::optional<Operation> baseDataMenuOperation(int index);
std::optional<Operation> examMenuOperation(int index);

// The operation korvex-batch knows as `name` ("departments", "roster", ...).
std::optional<Operation> operationNamed(const QString& name);

// Runs one operation to its end. The exam operations first check the exam
// number of the settings: one that is not a digit 1 to 6 is reported and
// nothing runs. Returns false when the operation did not start for that reason.
bool runOperation(AppContext& context, Operation operation);

// The message for an exam number in the settings that names no exam.
QString invalidExamNumberMessage(const QString& examNo);

}  // namespace korvex
