#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

#include "app/MainWindowInterface.h"

namespace korvex {

struct AppContext;
class Recordset;

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

    QString failureText() const;
    QString emptyText() const;
    QString doneText() const;
};

// A text value for an insert: never NULL, a missing value is the empty text.
QVariant textParam(const QString& text);

// The frame every base-data import runs in: the window disabled, the target
// table emptied in a transaction of its own, each source copied row by row
// with the busy display counting, the closing message, the window enabled.
// Each row is written by a statement of its own outside any transaction, so
// a row the exam database refuses is left out without taking others with it;
// the rows left out are listed to the user at the end of their phase.
class ImportRun {
public:
    enum class Copied { Failed, NoRows, Rows };

    explicit ImportRun(AppContext& context);
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    // Disables the window and runs the clearing statement as a guarded
    // statement on the exam connection; a failure is rolled back and the
    // run goes on. An error left pending by earlier work is dropped first,
    // so that only the clearing statement's own failure keeps the old rows.
    // When the old rows stay, the user is told before any row is written
    // that the new rows will stand beside them; `what` names the rows
    // ("班級資料").
    void begin(const QString& clearingStatement, const QString& what);

    // Opens the phase's source and copies its rows. Failed: the failure
    // message has been shown and the run has ended (busy display gone,
    // window enabled). NoRows: the information message has been shown.
    // Rows: every row was sent to the exam database; no message yet.
    Copied copy(const ImportPhase& phase);

    // Rows of the last copied phase that the exam database refused.
    int refusedRows() const { return int(m_refused.size()) + m_refusedUnlisted; }
    // Adds a row the exam database refused outside the copy (a row the
    // import writes of its own) to the ones listed at the end of the phase.
    void noteRefused(const QString& row);
    // Tells the user which rows of the last phase were refused, if any.
    void reportRefused(const ImportPhase& phase);

    // Releases what the run holds and ends the busy display: the window is
    // enabled, the label and bar hidden, the default pointer back.
    void finish();
    bool ended() const { return m_ended; }

    MainWindowInterface& window() const;
    AppContext& context() const { return m_context; }

private:
    void fail(const QString& text);

    AppContext& m_context;
    bool m_busyShown = false;
    bool m_ended = false;
    QStringList m_refused;
    int m_refusedUnlisted = 0;
};

// The whole run for imports whose phases end with their done message.
// `what` names the rows the clearing statement removes.
void runImport(AppContext& context, const QString& clearingStatement, const QString& what,
               const std::vector<ImportPhase>& phases);

}  // namespace korvex
