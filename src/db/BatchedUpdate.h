#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <vector>

namespace korvex {

class Connection;

// An UPDATE of many rows of one table, each row given the new value of one
// column and the key that finds it, sent in as few statements as the
// engines allow: every statement to SQL Server is a round trip over the
// school's network. One statement carries up to kRowsPerStatement rows as a
// table of values joined to the table:
//
//   UPDATE t SET c = v.value FROM t INNER JOIN (VALUES (?,?,?), …)
//     AS v(value, k1, k2) ON t.k1 = v.k1 AND t.k2 = v.k2 WHERE <filter>
//
// (SQLite receives its own form of it, through the dialect). Two rows of
// one key never share a statement: the later goes in the next one, so that
// it is the value that stays, as when every row had a statement of its own.
// Keys are compared as a server may compare them, ignoring trailing blanks
// and letter case.
class BatchedUpdate {
public:
    // SQL Server takes at most 2,100 parameters in one statement.
    static constexpr int kRowsPerStatement = 500;
    static constexpr int kMaxParameters = 2100;

    struct Row {
        QVariant value;
        QVariantList key;
    };

    BatchedUpdate(Connection& connection, QString table, QString column, QStringList keyColumns,
                  QString filter = QStringLiteral("1=1"), QVariantList filterParams = {});

    // Called after each statement with the rows it carried and the rows the
    // engine says it changed; false stops the update (add and finish then
    // give false). Without it, the count is not looked at.
    std::function<bool(const std::vector<Row>& rows, int changed)> afterStatement;

    // Adds a row; the rows so far are sent first when the statement is full
    // or holds the key already. False when a statement failed (the
    // connection's pending error says why) or afterStatement said stop.
    bool add(const QVariant& value, const QVariantList& key);
    // Sends what is left.
    bool finish();

    // The statement for `rows` rows, as written (SQL Server's form).
    QString statement(int rows) const;
    int rowsPerStatement() const { return m_rowsPerStatement; }

private:
    bool send();

    Connection& m_connection;
    QString m_table;
    QString m_column;
    QStringList m_keyColumns;
    QString m_filter;
    QVariantList m_filterParams;
    int m_rowsPerStatement;
    std::vector<Row> m_rows;
    QSet<QString> m_keys;
};

// A key as the servers compare text: trailing blanks and letter case do not
// count; a NULL part is kept apart from every text.
QString comparedKey(const QVariantList& key);

}  // namespace korvex
