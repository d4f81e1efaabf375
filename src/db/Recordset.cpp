#include "db/Recordset.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>

#include "core/ValueRules.h"
#include "db/Connection.h"

namespace korvex {
namespace {

constexpr int kMaxRetries = 10;

QString keyOf(const QVariant& value) { return rtrimBlanks(value.toString()); }

}  // namespace

Recordset::Recordset(Connection* owner, QStringList columns, std::vector<QVariant> values)
    : m_owner(owner), m_columns(std::move(columns)), m_values(std::move(values)) {
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns.at(i).toLower();
        if (!m_columnByName.contains(key)) m_columnByName.insert(key, i);
        if (!m_columnExact.contains(m_columns.at(i))) m_columnExact.insert(m_columns.at(i), i);
    }
    m_rowCount = m_columns.isEmpty() ? 0 : int(m_values.size() / size_t(m_columns.size()));
}

void Recordset::fail(const QString& text) const {
    if (m_owner) m_owner->raise({text});
}

void Recordset::moveFirst() {
    if (m_rowCount == 0) {
        fail(QStringLiteral("沒有目前的記錄"));
        return;
    }
    m_row = 0;
}

void Recordset::moveNext() {
    if (eof()) {
        fail(QStringLiteral("沒有目前的記錄"));
        return;
    }
    ++m_row;
}

int Recordset::columnIndex(const QString& name) const {
    // Callers mostly spell a column as the statement does: that is looked up
    // as it stands, before any case is folded.
    const auto exact = m_columnExact.constFind(name);
    if (exact != m_columnExact.constEnd()) return *exact;
    return m_columnByName.value(name.toLower(), -1);
}

bool Recordset::hasColumn(const QString& name) const { return columnIndex(name) >= 0; }

QVariant Recordset::value(const QString& column) const {
    const int index = columnIndex(column);
    if (index < 0) {
        fail(QStringLiteral("找不到欄位 %1").arg(column));
        return {};
    }
    if (m_row < 0 || m_row >= m_rowCount) {
        fail(QStringLiteral("沒有目前的記錄"));
        return {};
    }
    return at(m_row, index);
}

QString Recordset::text(const QString& column) const { return textOf(value(column)); }

bool Recordset::isNull(const QString& column) const {
    const QVariant v = value(column);
    return !v.isValid() || v.isNull();
}

bool Recordset::find(const QString& column, const QString& value) {
    const int index = columnIndex(column);
    if (index < 0) {
        fail(QStringLiteral("找不到欄位 %1").arg(column));
        m_row = m_rowCount;
        return false;
    }
    if (m_row < 0 || m_row >= m_rowCount) {
        m_row = m_rowCount;
        return false;
    }
    auto indexIt = m_indexes.find(index);
    if (indexIt == m_indexes.end()) {
        QHash<QString, std::vector<int>> built;
        built.reserve(m_rowCount);
        for (int row = 0; row < m_rowCount; ++row) {
            const QVariant& v = at(row, index);
            if (v.isValid() && !v.isNull()) built[keyOf(v)].push_back(row);
        }
        indexIt = m_indexes.emplace(index, std::move(built));
    }
    const auto rows = indexIt->constFind(rtrimBlanks(value));
    if (rows == indexIt->constEnd()) {
        m_row = m_rowCount;
        return false;
    }
    const auto hit = std::lower_bound(rows->begin(), rows->end(), m_row);
    if (hit == rows->end()) {
        m_row = m_rowCount;
        return false;
    }
    m_row = *hit;
    return true;
}

bool Recordset::findFirst(const QString& column, const QString& value) {
    if (m_rowCount == 0) return false;
    m_row = 0;
    return find(column, value);
}

std::unique_ptr<Recordset> OpenRecordset(Connection& connection, const QString& source,
                                         const QVariantList& params) {
    connection.clearError();
    std::optional<QSqlQuery> query;
    // A lock conflict is tried again, but never longer in all than the
    // connection's time-out: SQLite has waited that long within the first
    // attempt already, and a busy database is reported, not waited for.
    QElapsedTimer waited;
    waited.start();
    for (int retries = 0;; ++retries) {
        query = connection.select(source, params);
        if (query) break;
        const auto& error = connection.pendingError();
        if (!error || !error->retryable() || retries >= kMaxRetries ||
            waited.elapsed() >= qint64(connection.commandTimeout()) * 1000)
            return nullptr;
        connection.clearError();
    }
    const QSqlRecord record = query->record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i) columns << record.fieldName(i);
    std::vector<QVariant> values;
    const int width = int(columns.size());
    while (query->next())
        for (int i = 0; i < width; ++i) values.push_back(query->value(i));
    if (query->lastError().isValid()) {
        connection.raiseFrom(query->lastError());
        return nullptr;
    }
    return std::make_unique<Recordset>(&connection, columns, std::move(values));
}

}  // namespace korvex
