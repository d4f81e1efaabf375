#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace korvex {

class ImportRun;
class Recordset;

// Re-reads an exam table in the order of a key and lists every pair of
// neighbouring rows that share the key, one line each:
//   "[earlier] 與 [later]" + phrase + key + "!" CR LF
// where each row is named by `entry`. Three rows with one key give two lines.
struct DuplicateCheck {
    QString statement;  // the re-read, ordered by the key
    QString keyColumn;
    QString firstKey;    // what the first row is compared with
    QString firstEntry;  // what a duplicate first row would be paired with
    QString phrase;      // "] 有相同帳號 - "
    std::function<QString(Recordset&)> entry;
};

struct DuplicateReport {
    int rows = 0;    // rows read back
    QString report;  // the lines, empty when every key is unique
};

// Runs the check on the exam connection with the run's busy display counting
// the rows; nothing when the table could not be read.
std::optional<DuplicateReport> findDuplicates(ImportRun& run, const DuplicateCheck& check);

// The run's closing message after the check: the report and "請檢查!" with
// the stop icon, or `doneText` when the table holds rows and no duplicate,
// nothing when it is empty; `unreadText` when it could not be read back.
// It is shown with the run's other closing messages, after the commit.
void showDuplicateOutcome(ImportRun& run, const std::optional<DuplicateReport>& outcome,
                          const QString& doneText, const QString& unreadText);

}  // namespace korvex
