#include "check/TableChecks.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "check/CheckReport.h"
#include "core/KnownTables.h"
#include "db/Connection.h"

namespace korvex {
namespace {

bool holdsText(QMetaType type) {
    return type.id() == QMetaType::QString || type.id() == QMetaType::QByteArray;
}

}  // namespace

bool checkKnownTables(Connection& connection, DatabaseRole role,
                      const std::vector<KnownTable>& tables, CheckReport& report) {
    bool all = true;
    for (const KnownTable& table : tables) {
        auto query =
            connection.select(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table.name), {});
        if (!query) {
            report.fail(QStringLiteral("資料表 %1 無法讀取: %2")
                            .arg(table.name, failureReason(connection, role)));
            connection.clearError();
            all = false;
            continue;
        }
        const QSqlRecord record = query->record();
        QStringList missing;
        QStringList textNumbers;
        for (const KnownColumn& column : table.columns) {
            const int index = record.indexOf(column.name);
            if (index < 0) {
                missing << column.name;
                continue;
            }
            if (column.kind == KnownColumn::Kind::Number &&
                holdsText(record.field(index).metaType()))
                textNumbers << column.name;
        }
        if (!missing.isEmpty()) {
            report.fail(QStringLiteral("資料表 %1 缺少欄位 %2")
                            .arg(table.name, missing.join(QStringLiteral(", "))));
            all = false;
        } else if (!textNumbers.isEmpty()) {
            report.warn(QStringLiteral("資料表 %1 的欄位 %2 是文字型別, 應為數值")
                            .arg(table.name, textNumbers.join(QStringLiteral(", "))));
        } else {
            report.pass(QStringLiteral("資料表 %1: %2 個欄位都在")
                            .arg(table.name)
                            .arg(table.columns.size()));
        }
    }
    return all;
}

}  // namespace korvex
