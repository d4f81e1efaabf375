#pragma once

#include <QString>
#include <vector>

namespace korvex {

struct AppContext;

// The operations the menus start, and korvex-batch by name.
enum class Operation {
    Departments,
    Classes,
    Students,
    Subjects,
    Teachers,
    Courses,
    Workbooks,
    Roster,
    Export
};

// The menu an operation's item stands in.
enum class OperationMenu { BaseData, Exam };

// One operation as the menus and korvex-batch know it. The table below is
// the one place an operation is added: the menus, their dispatch and
// korvex-batch's operations and usage all come from it.
struct OperationEntry {
    Operation operation;
    QString batchName;  // korvex-batch's name: "departments", "roster", ...
    OperationMenu menu;
    QString menuObjectName;  // the item's object name: "mnua_1", "mnue_2", ...
    QString menuText;        // the item's text (the exam items are retitled with the term)
    void (*run)(AppContext& context);
};

// Every operation, in the order of the menus.
const std::vector<OperationEntry>& operationTable();

// The entry korvex-batch knows as `batchName`; null when there is none.
const OperationEntry* operationNamed(const QString& batchName);

}  // namespace korvex
