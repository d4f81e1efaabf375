#pragma once

#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

#include "ops/MainWindowInterface.h"

namespace korvex {

struct AppContext;
class Connection;
class Recordset;

// The frame every operation runs in, as a scope object. While it lives the
// window is disabled, so that the menus cannot start a second operation; it
// shows and ends the busy display and owns the operation's transactions.
// However the operation ends (early return, failure, completion), the frame
// rolls back what it began and did not commit, enables the window and ends
// the busy display.
class OperationFrame {
public:
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

    AppContext& m_context;
    MainWindowInterface& m_window;
    bool m_busyShown = false;
    bool m_finished = false;
    std::vector<Connection*> m_open;
};

}  // namespace korvex
