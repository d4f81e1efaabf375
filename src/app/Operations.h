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

// Runs one operation to its end.
void runOperation(AppContext& context, Operation operation);

}  // namespace korvex
