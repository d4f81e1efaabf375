#pragma once

#include <QString>
#include <array>

#include "workbook/Workbook.h"

namespace korvex {

// The score-entry sheet, defined once: the template workbook scoret.xls, the
// base workbook scorep.xls and every teacher's course sheets come from here.
namespace scoresheet {

// Cell positions, counted from 0 (A1 is row 0, column 0).
constexpr int kTitleRow = 0;                // A1, merged over A1:AB1
constexpr int kWeightRow = 2;               // W3:AA3
constexpr int kFirstStudentRow = 5;         // row 6 holds seat number 1
constexpr int kSeats = 55;                  // seats 1 to 55, rows 6 to 60
constexpr int kNameColumn = 1;              // B
constexpr int kDailyColumn = 22;            // W, daily score (平時)
constexpr int kFinalColumn = 26;            // AA, final exam (期末)
constexpr int kResultColumn = 27;           // AB, semester score
constexpr int kColumns = 28;                // A to AB
const xls::CellRange kBlock{0, 63, 0, 27};  // A1:AB64, what a course sheet receives

// The Traditional Chinese default font; its digits are 8 pixels wide at
// 96 dpi, the unit of the column widths below.
xls::Font defaultFont();
constexpr int kDigitWidthPixels = 8;

// The password of the protected sheets.
inline QByteArray password() { return QByteArrayLiteral("305172"); }

// The column widths of A to AB in Excel's unit.
const std::array<double, kColumns>& columnWidths();

// A workbook with the default font and nothing else.
xls::Workbook emptyWorkbook();

// scorep.xls: one empty sheet "Sheet1", A4, fitted to one page, centred.
xls::Workbook baseWorkbook();

// scoret.xls: one protected sheet "學科成績" holding the layout of A1:AB64.
xls::Workbook templateWorkbook();
QString templateSheetName();

// Page setup of a finished course sheet. Excel takes the margins of its
// page setup in points; the file keeps them in inches.
xls::PageSetup coursePageSetup();

}  // namespace scoresheet
}  // namespace korvex
