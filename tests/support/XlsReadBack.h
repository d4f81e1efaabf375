#pragma once

#include "QtPrinting.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <ostream>

namespace korvex::test {

// An .xls file as python3-xlrd reads it (tests/support/xls_dump.py), with
// the page setup and protection records the script reads itself. A file
// xlrd cannot read fails the calling test.
struct XlsReadBack {
    QJsonObject root;
    QString error;  // set when the file could not be read

    static XlsReadBack read(const QString& path);

    QJsonArray sheets() const { return root.value(QStringLiteral("sheets")).toArray(); }
    QStringList sheetNames() const;
    QJsonObject sheet(const QString& name) const;
    QJsonObject xf(int index) const;
    QJsonObject font(int index) const;
};

// One sheet's cells by "row,col" (0-based): [type, value, xf].
struct SheetCells {
    explicit SheetCells(const QJsonObject& sheet);
    bool has(int row, int col) const;
    int type(int row, int col) const;  // xlrd: 0 empty, 1 text, 2 number, 6 blank
    QString text(int row, int col) const;
    double number(int row, int col) const;
    int xf(int row, int col) const;

    QHash<QString, QJsonArray> cells;
};

}  // namespace korvex::test
