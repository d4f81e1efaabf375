#include "db/BatchedUpdate.h"

#include <algorithm>

#include "core/ValueRules.h"
#include "db/Connection.h"

namespace korvex {

QString comparedKey(const QVariantList& key) {
    QString text;
    for (const QVariant& part : key) {
        text +=
            part.isNull() ? QStringLiteral("\u0001") : rtrimBlanks(part.toString()).toCaseFolded();
        text += u'\u0002';
    }
    return text;
}

BatchedUpdate::BatchedUpdate(Connection& connection, QString table, QString column,
                             QStringList keyColumns, QString filter, QVariantList filterParams)
    : m_connection(connection),
      m_table(std::move(table)),
      m_column(std::move(column)),
      m_keyColumns(std::move(keyColumns)),
      m_filter(std::move(filter)),
      m_filterParams(std::move(filterParams)) {
    const int perRow = 1 + int(m_keyColumns.size());
    m_rowsPerStatement =
        std::clamp((kMaxParameters - int(m_filterParams.size())) / perRow, 1, kRowsPerStatement);
    m_rows.reserve(size_t(m_rowsPerStatement));
}

QString BatchedUpdate::statement(int rows) const {
    const QString row =
        u'(' + QStringList(qsizetype(m_keyColumns.size()) + 1, QStringLiteral("?")).join(u',') +
        u')';
    QStringList on;
    for (const QString& key : m_keyColumns) on << QStringLiteral("%1.%2 = v.%2").arg(m_table, key);
    return QStringLiteral(
               "UPDATE %1 SET %2 = v.value FROM %1 INNER JOIN (VALUES %3) AS v(value, %4) "
               "ON %5 WHERE %6")
        .arg(m_table, m_column, QStringList(rows, row).join(u','),
             m_keyColumns.join(QStringLiteral(", ")), on.join(QStringLiteral(" AND ")), m_filter);
}

bool BatchedUpdate::add(const QVariant& value, const QVariantList& key) {
    const QString compared = comparedKey(key);
    if (int(m_rows.size()) >= m_rowsPerStatement || m_keys.contains(compared))
        if (!send()) return false;
    m_keys.insert(compared);
    m_rows.push_back({value, key});
    return true;
}

bool BatchedUpdate::finish() { return send(); }

bool BatchedUpdate::send() {
    if (m_rows.empty()) return true;
    QVariantList params;
    params.reserve(qsizetype(m_rows.size()) * (m_keyColumns.size() + 1) + m_filterParams.size());
    for (const Row& row : m_rows) params << row.value << row.key;
    params << m_filterParams;
    const bool sent = m_connection.execute(statement(int(m_rows.size())), params) &&
                      (!afterStatement || afterStatement(m_rows, m_connection.rowsAffected()));
    m_rows.clear();
    m_keys.clear();
    return sent;
}

}  // namespace korvex
