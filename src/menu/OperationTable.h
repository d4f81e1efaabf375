#pragma once

#include <QString>
#include <vector>

namespace korvex {

struct AppContext;

// The menu an operation's item stands in; None for what only korvex-batch
// runs.
enum class OperationMenu { None, BaseData, Exam, System };

// What an operation needs from whoever starts it, beyond the context: the
// desktop program asks the user, korvex-batch takes a command-line option.
enum class OperationNeeds {
    Nothing,
    Answer,    // the roster's question (--answer)
    Teachers,  // the workbooks' prompt (--teachers)
    Copy,      // a copy of exam.mdb to put back (--from; the window lists backup/)
};

// What the starter gives the operation.
struct OperationInput {
    QString copy;  // OperationNeeds::Copy: the file to put back, an absolute path
};

// One operation as the menus and korvex-batch know it. The table below is
// the one place an operation is added: the menus, their dispatch and
// korvex-batch's operations, options and help all come from it.
struct OperationEntry {
    QString batchName;  // korvex-batch's name: "departments", "roster", ...
    OperationMenu menu;
    QString menuObjectName;  // the item's object name: "mnua_1", "mnue_2", ...
    QString menuText;        // the item's text (the exam items are retitled with the term)
    // What it is called outside its menu (the copies of exam.mdb, the help):
    // the exam items read only 匯入 and 匯出 under their menu's title.
    QString plainName;
    OperationNeeds needs;
    // Runs it; null for "startup", which is start-up and the login alone.
    void (*run)(AppContext& context, const OperationInput& input);
};

// Every operation: "startup", then those of the menus in their order.
const std::vector<OperationEntry>& operationTable();

// The entry korvex-batch knows as `batchName`; null when there is none.
const OperationEntry* operationNamed(const QString& batchName);

// What the operation korvex-batch knows as `batchName` is called outside
// its menu; the name itself when there is none.
QString operationPlainName(const QString& batchName);

// The korvex-batch option that gives what the entry needs ("answer"), empty
// when it needs nothing from the command line.
QString requiredOption(const OperationEntry& entry);

// Runs the entry's operation for the window or the console: the context
// learns which operation runs (the copies of exam.mdb taken before it are
// named after it), then the operation runs to its end.
void runOperation(AppContext& context, const OperationEntry& entry,
                  const OperationInput& input = {});

}  // namespace korvex
