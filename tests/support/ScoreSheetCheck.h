#pragma once

#include <QHash>
#include <QString>
#include <array>

#include "XlsReadBack.h"

namespace korvex::test {

// What one score sheet should hold beyond the fixed layout.
struct ExpectedScoreSheet {
    QString title;
    std::array<double, 5> weights{};  // W3 to AA3
    QHash<int, QString> names;        // 0-based row -> name in column B
};

// Checks every cell of A1:AB64 of a sheet read back by xlrd against the
// score-sheet layout: texts, numbers, formulas, number formats, locked and
// unlocked cells, merges, column widths as Excel shows them, page setup and
// protection. Failures are reported as GoogleTest failures naming the sheet.
void checkScoreSheet(const XlsReadBack& book, const QString& sheetName,
                     const ExpectedScoreSheet& expected);

// The column width Excel shows for a stored COLINFO width, with a digit of
// `digitPixels` pixels and Excel's padding.
double shownColumnWidth(int stored, int digitPixels);

}  // namespace korvex::test
