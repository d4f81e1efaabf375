#pragma once

#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

#include "ops/FailureReasons.h"
#include "ops/MainWindowInterface.h"

namespace korvex {

struct AppContext;
class Connection;
class Recordset;

// The frame every operation runs in, as a scope object. While it lives the
// window is disabled, so that the menus cannot start a second operation; it
// shows and ends the busy display, backs exam.mdb up before its rows are
// replaced, and owns the operation's transactions. However the operation
// ends (early return, failure, completion, or a crash: an uncommitted
// transaction is the engine's to undo), the frame rolls back what it began
// and did not commit, enables the window and ends the busy display. The
// folder lock that keeps a second copy of the program out is held for the
// whole run of the program (ops/FolderLock).
class OperationFrame {
public:
    using Icon = MainWindowInterface::Icon;

    explicit OperationFrame(AppContext& context);
    ~OperationFrame();
    OperationFrame(const OperationFrame&) = delete;
    OperationFrame& operator=(const OperationFrame&) = delete;

    AppContext& context() const { return m_context; }
    MainWindowInterface& window() const { return m_window; }

    // The busy display: label empty, bar at 0, hourglass pointer.
    void showBusy();
    bool busyShown() const { return m_busyShown; }
    // Ends the busy display now; the window stays disabled until the frame ends.
    void endBusy();

    // Opens a result set and lets the window repaint once after the read,
    // which may have taken a while.
    std::unique_ptr<Recordset> open(Connection& connection, const QString& source,
                                    const QVariantList& params = {});

    // Takes exam.mdb for this operation alone, then a copy of it, before the
    // operation deletes or replaces whole tables. Alone, the engine keeps no
    // lock per changed row (Jet gives up a transaction past its lock limit),
    // no other program can write between the operation's statements, and the
    // copy is of a file nobody changes meanwhile. When another program is
    // using exam.mdb, or the copy cannot be taken, the user is told
    // `failure` and why (naming the computers that have it open), exam.mdb
    // is shared again and false comes back: nothing has been changed. The
    // frame shares exam.mdb again when it ends.
    bool holdExamAlone(const QString& failure);

    // Takes a copy of exam.mdb before the operation deletes or replaces its
    // rows. When the copy cannot be taken the user is told `failure` and why,
    // and false: the operation stops before anything is changed.
    // The copy is named after the operation (context().operationName, or
    // `operation` when given).
    bool backupExam(const QString& failure, const QString& operation = QString());
    // The line the completion message carries about the copy taken; empty
    // when none was taken.
    QString backupNote() const;

    // Begins the operation's write transaction on `connection`. SQLite takes
    // the database's write lock here, waiting at most the connection's
    // time-out, so that no row waits later. When it cannot be begun the user
    // is told `failure` and why (another program using the database, a
    // read-only or damaged file) and false: nothing has been changed.
    bool beginWrite(Connection& connection, DatabaseRole role, const QString& failure,
                    Icon icon = Icon::Critical);
    // Commits it; when that fails the transaction is rolled back, the user is
    // told `failure` and why, and false.
    bool commitWrite(Connection& connection, DatabaseRole role, const QString& failure,
                     Icon icon = Icon::Critical);

    // The one way an operation stops on a failed database call: the reason
    // is taken from the connection's pending error, the transaction the
    // frame opened on it (if any) is rolled back, the error is cleared, and
    // the user is told `failure` with the reason on a line of its own.
    // Returns false, so that a step can end with `return frame.abandon(…)`.
    bool abandon(Connection& connection, DatabaseRole role, const QString& failure,
                 Icon icon = Icon::Critical);
    // Tells the user of a failure that concerns no database call (a file, a
    // copy that cannot be used); counted as a failure whatever its icon.
    void reportFailure(const QString& text, Icon icon = Icon::Critical);

    // Transactions the frame owns: one begun here and neither committed nor
    // rolled back by the operation is rolled back when the frame ends.
    bool begin(Connection& connection);
    bool commit(Connection& connection);
    void rollback(Connection& connection);

    // Ends the operation: open transactions rolled back, the window enabled,
    // then the busy display ended. Runs once; the destructor calls it.
    void finish();

private:
    void forget(Connection& connection);
    void shareExamAgain();

    AppContext& m_context;
    MainWindowInterface& m_window;
    bool m_busyShown = false;
    bool m_finished = false;
    bool m_examHeld = false;
    QString m_backup;
    std::vector<Connection*> m_open;
};

}  // namespace korvex
