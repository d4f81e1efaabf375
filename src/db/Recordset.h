#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace korvex {

class Connection;

// A result set read whole into memory: the exact row count before the first
// row, columns by case-insensitive name, NULL distinct from empty text, move
// first/next, end test, and a forward search by column and value.
class Recordset {
public:
    Recordset(Connection* owner, QStringList columns, std::vector<QVariant> values);

    int recordCount() const { return m_rowCount; }
    bool eof() const { return m_row >= m_rowCount; }
    int position() const { return m_row; }
    // Moving on an empty set, or past the end, is a failure: it records a
    // pending error on the owning connection and leaves the position alone.
    void moveFirst();
    void moveNext();

    const QStringList& columns() const { return m_columns; }
    bool hasColumn(const QString& name) const;
    // The current row's value; a NULL comes back as a null QVariant. An
    // unknown column, or no current row, records a pending error on the
    // owning connection and gives a null QVariant.
    QVariant value(const QString& column) const;
    // The current row's value as text; NULL reads as the empty text.
    QString text(const QString& column) const;
    bool isNull(const QString& column) const;

    // Searches forward from the current row (included) for the first row
    // whose `column` equals `value` (compared as text, trailing blanks
    // ignored on both sides, NULL never equal). Found: that row becomes
    // current and true comes back. Not found: the set is at its end. The
    // first search on a column builds an index of it, so later searches are
    // constant time, with the same answer as a scan.
    bool find(const QString& column, const QString& value);
    // The same search over the whole set, from its first row: false (and the
    // set at its end) when it is empty or no row matches.
    bool findFirst(const QString& column, const QString& value);

    // The rows from the first, as a range: `for (Recordset& row : *set)`.
    // Each step makes the next row current; an empty set gives no row.
    class RowIterator {
    public:
        explicit RowIterator(Recordset* set) : m_set(set) {}
        Recordset& operator*() const { return *m_set; }
        RowIterator& operator++() {
            m_set->moveNext();
            return *this;
        }
        bool operator!=(const RowIterator&) const { return !m_set->eof(); }

    private:
        Recordset* m_set;
    };
    RowIterator begin() {
        m_row = 0;
        return RowIterator(this);
    }
    RowIterator end() { return RowIterator(this); }

private:
    int columnIndex(const QString& name) const;
    void fail(const QString& text) const;
    const QVariant& at(int row, int column) const {
        return m_values[size_t(row) * size_t(m_columns.size()) + size_t(column)];
    }

    Connection* m_owner;
    QStringList m_columns;
    QHash<QString, int> m_columnByName;  // lower-case name -> index
    QHash<QString, int> m_columnExact;   // name as the engine gave it -> index
    std::vector<QVariant> m_values;      // row-major
    int m_rowCount = 0;
    int m_row = 0;
    // Per column: value (trailing blanks removed) -> ascending row numbers.
    QHash<int, QHash<QString, std::vector<int>>> m_indexes;
};

// The one way a result set is opened: runs `source` on `connection` with
// `params` bound to its `?` placeholders and reads it whole, as a static
// snapshot with an exact row count. Clears any pending error first. A
// failure that a lock conflict caused is tried again, at most 11 attempts in
// all; any other failure gives nothing at once (the pending error says why).
std::unique_ptr<Recordset> OpenRecordset(Connection& connection, const QString& source,
                                         const QVariantList& params = {});

}  // namespace korvex
