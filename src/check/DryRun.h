#pragma once

#include <QString>
#include <vector>

namespace korvex {

class CheckReport;
class ExamHeldAlone;
struct AppContext;
struct CheckTiming;

// How many rows each operation would handle at this school, as the dry run
// read them.
struct OperationRows {
    QString operation;  // the operation's plain name
    int rows = 0;
    int schoolStatements = 0;  // per run, whatever the rows
    int examStatementsFixed = 0;
};

// Sends each kind of statement every operation sends, once, with one row:
// each import's source read from the school database and its clearing and
// insert on exam.mdb, the roster's and the export's statements on both, the
// workbooks' reads. Whatever writes is inside a transaction that is rolled
// back; the writes to exam.mdb that touch whole tables only while the
// program has it alone. One line per operation.
std::vector<OperationRows> dryRun(AppContext& context, const ExamHeldAlone& alone,
                                  CheckReport& report, CheckTiming& timing);

// For the rows each operation would handle, how long it would take: its
// statements to each database times what one statement took here.
void forecast(const std::vector<OperationRows>& operations, bool examIsAccess,
              const CheckTiming& timing, CheckReport& report);

// The statements an operation sends for `rows` rows (what the forecast
// counts): to the school database and to exam.mdb.
struct StatementCount {
    long long school = 0;
    long long exam = 0;
};
StatementCount statementsFor(const QString& operation, long long rows, int schoolFixed,
                             int examFixed, bool examIsAccess);

}  // namespace korvex
