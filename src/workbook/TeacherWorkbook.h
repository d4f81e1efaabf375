#pragma once

#include <QString>
#include <array>
#include <vector>

#include "workbook/Workbook.h"

namespace korvex {

// One teacher's workbook as it is built: the base workbook (scorep.xls) with
// one course sheet per class and subject. Each course is pasted from the
// template sheet (scoret.xls) and goes where Excel would put it: the first
// course on the base workbook's own "Sheet1", each later one on a sheet added
// before the active sheet, so the tabs end up in the reverse order of the
// courses.
class TeacherWorkbook {
public:
    explicit TeacherWorkbook(const xls::Workbook& templateBook);

    // Starts the next course sheet: the block A1:AB64 of the template and
    // its column widths. The sheet is "SheetN" until finishCourse names it.
    void startCourse();
    void setTitle(const QString& title);
    // Weights of the daily score, the three mid-terms and the final exam
    // (W3 to AA3), as fractions.
    void setWeights(const std::array<double, 5>& weights);
    // Writes a student's name in column B at row 5 + seat (B6 for seat 1),
    // as text, like a name typed after an apostrophe. The seat is not
    // bounded: 56 or more lands below the list, 0 in the heading. False when
    // the row lies outside the sheet.
    bool setStudentName(double seat, const QString& name);
    // Renames the sheet (a name Excel refuses or one already taken leaves
    // the sheet with the name it has), sets its page setup and protects it.
    // Returns whether the rename succeeded.
    bool finishCourse(const QString& sheetName);

    const xls::Workbook& workbook() const { return m_book; }

private:
    const xls::Workbook& m_template;
    const xls::Worksheet* m_templateSheet;
    xls::Workbook m_book;
    std::vector<int> m_formatMap;  // template format -> this workbook's format
    int m_current = 0;
    int m_courses = 0;
};

}  // namespace korvex
