#include "db/TableColumns.h"

#include "db/Recordset.h"

namespace korvex {

std::optional<QStringList> tableColumns(Connection& connection, const QString& table) {
    const std::unique_ptr<Recordset> none =
        OpenRecordset(connection, QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table));
    if (!none) return std::nullopt;
    return none->columns();
}

bool hasColumn(const QStringList& columns, const QString& column) {
    return columns.contains(column, Qt::CaseInsensitive);
}

}  // namespace korvex
