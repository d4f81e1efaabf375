#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>
#include <vector>

#include "ops/OperationFrame.h"

namespace korvex {

struct AppContext;
class ImportRun;
class Recordset;

// What copying one source came to.
enum class CopyOutcome {
    Failed,  // the source could not be read; the run has ended with the failure message
    NoRows,  // the source was empty; the information message has been shown
    Rows,    // every row was sent to the exam database; no message yet
};

// One source of a base-data import: the statement read from the school
// database and how each of its rows becomes one row of the exam database.
struct ImportPhase {
    // What the rows are, as the messages name them ("班級資料"): the failure,
    // empty and done texts are built from it.
    QString subject;
    QString source;
    QVariantList sourceParams;
    // The insert statement, with a `?` for every value.
    QString insert;
    // Run right after the source opened and before the busy display shows:
    // opens what the row rule looks things up in. False means the phase
    // cannot run; it ends like a source that could not be opened.
    std::function<bool()> prepare;
    // The insert's values for the current source row; nothing when the row
    // cannot be written (it is then left out and named like a refused row).
    std::function<std::optional<QVariantList>(Recordset&)> rowValues;
    // How a row that could not be written is named to the user, from the
    // current source row; by default the source's first two columns, which
    // are the school's code and name of the thing.
    std::function<QString(Recordset&)> describe;
    // Runs once the phase's rows are copied (or it found none) and shows its
    // closing messages in place of the done message and the list of refused
    // rows: the students' and teachers' imports read their table back here
    // to look for duplicates.
    std::function<void(ImportRun&, const ImportPhase&, CopyOutcome)> afterCopy;

    QString failureText() const;
    QString emptyText() const;
    QString doneText() const;
};

// A base-data import as a declaration: the statement that empties the target
// table of exam.mdb, what its rows are called in the message about it, and
// the sources copied into it, in order.
struct BaseDataImport {
    QString clearing;
    QString what;
    std::vector<ImportPhase> phases;
};

// Runs a base-data import to its end in an ImportRun.
void runImport(AppContext& context, const BaseDataImport& import);

// The frame every base-data import runs in: the window disabled, the target
// table emptied in a transaction of its own, each source copied row by row
// with the busy display counting, the closing messages, the window enabled.
// Each row is written by a statement of its own outside any transaction, so
// a row the exam database refuses is left out without taking others with it;
// the rows left out are listed to the user at the end of their phase.
class ImportRun {
public:
    explicit ImportRun(AppContext& context);

    // Runs the clearing statement as a guarded statement on the exam
    // connection; a failure is rolled back and the run goes on. An error left
    // pending by earlier work is dropped first, so that only the clearing
    // statement's own failure keeps the old rows. When the old rows stay, the
    // user is told before any row is written that the new rows will stand
    // beside them; `what` names the rows ("班級資料").
    void begin(const QString& clearingStatement, const QString& what);

    // Opens the phase's source and copies its rows.
    CopyOutcome copy(const ImportPhase& phase);

    // Adds a row the exam database refused outside the copy (a row the
    // import writes of its own) to the ones listed at the end of the phase.
    void noteRefused(const QString& row);
    // Tells the user which rows of the last phase were refused, if any.
    void reportRefused(const ImportPhase& phase);

    // Ends the run: the window enabled, the busy display ended.
    void finish() { m_frame.finish(); }

    OperationFrame& frame() { return m_frame; }
    MainWindowInterface& window() const { return m_frame.window(); }
    AppContext& context() const { return m_frame.context(); }

private:
    void fail(const QString& text);

    OperationFrame m_frame;
    QStringList m_refused;
    int m_refusedUnlisted = 0;
};

}  // namespace korvex
