#include "ops/OperationFrame.h"

#include <algorithm>

#include "db/Recordset.h"
#include "ops/AppContext.h"

namespace korvex {

OperationFrame::OperationFrame(AppContext& context)
    : m_context(context), m_window(*context.window) {
    m_window.setWindowEnabled(false);
}

OperationFrame::~OperationFrame() { finish(); }

void OperationFrame::showBusy() {
    m_window.showBusy();
    m_busyShown = true;
}

void OperationFrame::endBusy() {
    if (!m_busyShown) return;
    m_window.endBusy();
    m_busyShown = false;
}

std::unique_ptr<Recordset> OperationFrame::open(Connection& connection, const QString& source,
                                                const QVariantList& params) {
    std::unique_ptr<Recordset> result = OpenRecordset(connection, source, params);
    m_window.yield();
    return result;
}

bool OperationFrame::begin(Connection& connection) {
    if (!connection.beginTransaction()) return false;
    m_open.push_back(&connection);
    return true;
}

bool OperationFrame::commit(Connection& connection) {
    if (!connection.commitTransaction()) return false;
    forget(connection);
    return true;
}

void OperationFrame::rollback(Connection& connection) {
    connection.rollbackTransaction();
    forget(connection);
}

void OperationFrame::forget(Connection& connection) {
    m_open.erase(std::remove(m_open.begin(), m_open.end(), &connection), m_open.end());
}

void OperationFrame::finish() {
    if (m_finished) return;
    m_finished = true;
    // A transaction still open here belongs to an operation that stopped
    // half-way: none of its work is kept.
    for (Connection* connection : m_open) {
        connection->rollbackTransaction();
        connection->clearError();
    }
    m_open.clear();
    m_window.setWindowEnabled(true);
    endBusy();
}

}  // namespace korvex
