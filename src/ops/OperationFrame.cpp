#include "ops/OperationFrame.h"

#include <algorithm>

#include <QDir>

#include "db/JetLockFile.h"
#include "db/Recordset.h"
#include "ops/AppContext.h"
#include "ops/ExamBackups.h"

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

bool OperationFrame::holdExamAlone(const QString& failure) {
    Connection& exam = m_context.exam;
    if (exam.access() != Connection::Access::Exclusive) {
        m_examHeld = true;
        if (!exam.reopen(Connection::Access::Exclusive)) {
            const auto& error = exam.pendingError();
            const QString reason = error && error->kind == DbError::Kind::Busy
                                       ? examInUseReason(jetLockHolders(exam.lastFile()))
                                       : failureReason(exam, DatabaseRole::Exam);
            exam.clearError();
            shareExamAgain();
            reportFailure(withReason(failure, reason));
            return false;
        }
    }
    if (backupExam(failure)) return true;
    shareExamAgain();
    return false;
}

void OperationFrame::shareExamAgain() {
    if (!m_examHeld) return;
    m_examHeld = false;
    Connection& exam = m_context.exam;
    if (exam.reopen(Connection::Access::Shared)) return;
    // The operation is over; without its connection the program can do
    // nothing more with exam.mdb until it starts again.
    const QString reason = failureReason(exam, DatabaseRole::Exam);
    exam.clearError();
    reportFailure(withReason(
        QStringLiteral("無法重新開啟考試資料庫 exam.mdb, 請結束小幫手後重新啟動!"), reason));
}

bool OperationFrame::backupExam(const QString& failure, const QString& operation) {
    QString why;
    m_backup = examBackups::take(m_context.exam,
                                 operation.isEmpty() ? m_context.operationName : operation, &why);
    if (!m_backup.isEmpty()) return true;
    reportFailure(withReason(failure, QStringLiteral("無法先備份考試資料庫: ") + why));
    return false;
}

QString OperationFrame::backupNote() const {
    if (m_backup.isEmpty()) return QString();
    return QStringLiteral("(原有的考試資料庫已先備份為 %1)")
        .arg(QDir::toNativeSeparators(m_backup));
}

bool OperationFrame::beginWrite(Connection& connection, DatabaseRole role, const QString& failure,
                                Icon icon) {
    connection.clearError();
    return begin(connection) || abandon(connection, role, failure, icon);
}

bool OperationFrame::commitWrite(Connection& connection, DatabaseRole role, const QString& failure,
                                 Icon icon) {
    if (!connection.errorPending() && commit(connection)) return true;
    return abandon(connection, role, failure, icon);
}

bool OperationFrame::abandon(Connection& connection, DatabaseRole role, const QString& failure,
                             Icon icon) {
    // The reason first: rolling back may leave errors of its own.
    const QString reason = failureReason(connection, role);
    if (std::find(m_open.begin(), m_open.end(), &connection) != m_open.end()) rollback(connection);
    connection.clearError();
    reportFailure(withReason(failure, reason), icon);
    return false;
}

void OperationFrame::reportFailure(const QString& text, Icon icon) {
    m_window.reportFailure(text, icon);
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
    shareExamAgain();
    m_window.setWindowEnabled(true);
    endBusy();
}

}  // namespace korvex
