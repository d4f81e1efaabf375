#include "db/TableIndexes.h"

#include <QMap>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include "db/Connection.h"
#include "db/OdbcHeaders.h"
#include "db/SqlDialect.h"

namespace korvex {
namespace {

std::optional<std::vector<QStringList>> sqliteIndexes(Connection& connection,
                                                      const QString& table) {
    std::vector<QStringList> indexes;
    auto list = connection.select(QStringLiteral("SELECT name FROM pragma_index_list(?)"), {table});
    if (!list) return std::nullopt;
    QStringList names;
    while (list->next()) names << list->value(0).toString();
    for (const QString& name : names) {
        auto info = connection.select(
            QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"), {name});
        if (!info) return std::nullopt;
        QStringList columns;
        while (info->next()) columns << info->value(0).toString();
        indexes.push_back(columns);
    }
    return indexes;
}

#ifdef KORVEX_HAVE_ODBC_HEADERS
QString columnText(SQLHSTMT statement, SQLUSMALLINT column) {
    SQLWCHAR buffer[256];
    SQLLEN length = 0;
    if (!SQL_SUCCEEDED(
            SQLGetData(statement, column, SQL_C_WCHAR, buffer, sizeof buffer, &length)) ||
        length == SQL_NULL_DATA)
        return QString();
    const qsizetype units =
        qMin<qsizetype>(qsizetype(length) / qsizetype(sizeof(SQLWCHAR)), std::size(buffer) - 1);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), units);
}

std::optional<std::vector<QStringList>> odbcIndexes(Connection& connection, const QString& table) {
    // The ODBC driver gives its connection handle as an SQLHANDLE, which is
    // a pointer; some Qt builds name the type SQLHANDLE, others void*.
    const QVariant handle = connection.database().driver()->handle();
    if (!handle.isValid() || handle.metaType().sizeOf() != int(sizeof(SQLHDBC)) ||
        (qstrcmp(handle.typeName(), "SQLHANDLE") != 0 &&
         qstrcmp(handle.typeName(), "void*") != 0)) {
        connection.raise({QStringLiteral("驅動程式無法列出索引")});
        return std::nullopt;
    }
    SQLHDBC dbc = *static_cast<SQLHDBC const*>(handle.constData());
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement))) {
        connection.raise({QStringLiteral("驅動程式無法列出索引")});
        return std::nullopt;
    }
    std::u16string name = table.toStdU16String();
    const SQLRETURN listed =
        SQLStatisticsW(statement, nullptr, 0, nullptr, 0, reinterpret_cast<SQLWCHAR*>(name.data()),
                       SQLSMALLINT(name.size()), SQL_INDEX_ALL, SQL_QUICK);
    if (!SQL_SUCCEEDED(listed)) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        connection.raise({QStringLiteral("驅動程式無法列出 %1 的索引").arg(table)});
        return std::nullopt;
    }
    // Columns 6 (INDEX_NAME), 7 (TYPE) and 8 (ORDINAL_POSITION), 9
    // (COLUMN_NAME); the table's statistics row has no index name.
    QMap<QString, QMap<int, QString>> byName;
    while (SQL_SUCCEEDED(SQLFetch(statement))) {
        const QString index = columnText(statement, 6);
        if (index.isEmpty()) continue;
        const int position = columnText(statement, 8).toInt();
        byName[index][position] = columnText(statement, 9);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    std::vector<QStringList> indexes;
    for (const auto& columns : byName) indexes.push_back(columns.values());
    return indexes;
}
#endif

}  // namespace

std::optional<std::vector<QStringList>> tableIndexes(Connection& connection, const QString& table) {
    if (connection.database().driverName() == QLatin1String("QSQLITE"))
        return sqliteIndexes(connection, table);
#ifdef KORVEX_HAVE_ODBC_HEADERS
    return odbcIndexes(connection, table);
#else
    connection.raise({QStringLiteral("驅動程式無法列出索引")});
    return std::nullopt;
#endif
}

bool hasIndexOn(const std::vector<QStringList>& indexes, const QStringList& columns) {
    for (const QStringList& index : indexes) {
        if (index.size() < columns.size()) continue;
        bool all = true;
        for (const QString& column : columns)
            if (!index.mid(0, columns.size()).contains(column, Qt::CaseInsensitive)) all = false;
        if (all) return true;
    }
    return false;
}

}  // namespace korvex
