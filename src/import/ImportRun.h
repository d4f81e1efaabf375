#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>
#include <vector>

#include "core/ListedItems.h"
#include "ops/OperationFrame.h"

namespace korvex {

struct AppContext;
class ImportRun;
class Recordset;

// What copying one source came to.
enum class CopyOutcome {
    NoRows,  // the source was empty
    Rows,    // every row was sent to the exam database
};

// One source of a base-data import: the statement read from the school
// database and how each of its rows becomes one row of the exam database.
struct ImportPhase {
    // What the rows are, as the messages name them ("班級資料"): the failure,
    // empty and done texts are built from it.
    QString what;
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
    // Runs once the phase's rows are copied (or it found none), inside the
    // run's transaction, and gives the phase's closing messages in place of
    // the done message and the list of refused rows: the students' and
    // teachers' imports read their table back here to look for duplicates.
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

// Runs a base-data import to its end, all or nothing: every source is read
// before exam.mdb is touched; then exam.mdb is backed up, and the clearing
// and every row are written in one transaction, so that a failure, a crash
// or a power cut at any point leaves either exactly the old rows or exactly
// the complete new ones. A row the exam database refuses is left out alone
// (the transaction goes on) and named at the end of its phase. The closing
// messages are shown once the new rows are committed.
void runImport(AppContext& context, const BaseDataImport& import);

// One run of a base-data import: its frame, the refused rows of the phase
// being copied, and the messages shown when the run has committed.
class ImportRun {
public:
    explicit ImportRun(AppContext& context);

    // Adds a row the exam database refused outside the copy (a row the
    // import writes of its own) to the ones listed at the end of the phase.
    void noteRefused(const QString& row);
    // The list of the phase's refused rows, if any, as a closing message.
    void reportRefused(const ImportPhase& phase);
    // A closing message, shown after the commit in the order given.
    void report(const QString& text, MainWindowInterface::Icon icon);

    OperationFrame& frame() { return m_frame; }
    MainWindowInterface& window() const { return m_frame.window(); }
    AppContext& context() const { return m_frame.context(); }

private:
    friend void runImport(AppContext& context, const BaseDataImport& import);
    struct Closing {
        QString text;
        MainWindowInterface::Icon icon;
    };

    // Writes the phase's rows; false when the engine gave up the whole
    // transaction (the run then stops with nothing changed).
    bool copy(const ImportPhase& phase, Recordset& source);
    void showClosingMessages();

    OperationFrame m_frame;
    ListedItems m_refused;
    QList<Closing> m_closing;
};

}  // namespace korvex
