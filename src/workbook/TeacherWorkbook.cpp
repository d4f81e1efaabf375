#include "workbook/TeacherWorkbook.h"

#include <cmath>

#include "core/ValueRules.h"
#include "workbook/ScoreSheetTemplate.h"

namespace korvex {

TeacherWorkbook::TeacherWorkbook(const xls::Workbook& templateBook)
    : m_template(templateBook), m_book(scoresheet::baseWorkbook()) {
    const int index = m_template.findSheet(scoresheet::templateSheetName());
    m_templateSheet = &m_template.sheet(index >= 0 ? index : 0);
    m_formatMap = m_book.importFormats(m_template);
}

void TeacherWorkbook::startCourse() {
    if (m_courses == 0) {
        const int first = m_book.findSheet(QStringLiteral("sheet1"));
        m_current = first >= 0 ? first : m_book.addSheetBeforeActive();
    } else {
        m_current = m_book.addSheetBeforeActive();
    }
    ++m_courses;
    xls::Worksheet& sheet = m_book.sheet(m_current);
    sheet.pasteBlock(*m_templateSheet, scoresheet::kBlock, m_formatMap);
    // A paste does not carry column widths: they are copied one by one.
    for (int c = 0; c < scoresheet::kColumns; ++c)
        sheet.setColumnWidth(c, m_templateSheet->columnWidth(c));
}

void TeacherWorkbook::setTitle(const QString& title) {
    m_book.sheet(m_current).setText(scoresheet::kTitleRow, 0, title);
}

void TeacherWorkbook::setWeights(const std::array<double, 5>& weights) {
    xls::Worksheet& sheet = m_book.sheet(m_current);
    for (int i = 0; i < 5; ++i)
        sheet.setNumber(scoresheet::kWeightRow, scoresheet::kDailyColumn + i, weights[size_t(i)]);
}

bool TeacherWorkbook::setStudentName(double seat, const QString& name) {
    // Sheet row 5 + seat, counted from 1; a fractional row rounds as Excel
    // rounds a row number it is given, halves to even.
    const double row = roundHalfEven(5.0 + seat) - 1;
    if (!(row >= 0 && row < xls::Worksheet::kMaxRows)) return false;
    xls::Worksheet& sheet = m_book.sheet(m_current);
    const int r = int(row);
    const int format = m_book.quotePrefixed(sheet.formatAt(r, scoresheet::kNameColumn));
    return sheet.setText(r, scoresheet::kNameColumn, name, format);
}

bool TeacherWorkbook::finishCourse(const QString& sheetName) {
    const bool renamed = m_book.renameSheet(m_current, sheetName);
    xls::Worksheet& sheet = m_book.sheet(m_current);
    sheet.pageSetup() = scoresheet::coursePageSetup();
    sheet.protect(scoresheet::password());
    return renamed;
}

}  // namespace korvex
