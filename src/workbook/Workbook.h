#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "workbook/CellFormat.h"
#include "workbook/Worksheet.h"

namespace korvex::xls {

// An Excel 97 workbook in memory: fonts, cell formats, sheets in tab order
// and the active sheet. Sheets are added, named and renamed by Excel's rules,
// so that a workbook built here ends up as Excel would have left it.
class Workbook {
public:
    // `defaultFont` is font 0, the font of the Normal style: Excel measures
    // column widths in widths of its digit, `digitWidthPixels` at 96 dpi.
    explicit Workbook(const Font& defaultFont, int digitWidthPixels);

    // --- fonts and formats (added once, then shared by index)
    int font(const Font& font);
    const std::vector<Font>& fonts() const { return m_fonts; }
    int format(const CellFormat& format);
    const std::vector<CellFormat>& formats() const { return m_formats; }
    // The same format with the quote prefix set.
    int quotePrefixed(int format);
    int digitWidthPixels() const { return m_digitWidth; }

    // --- sheets
    int sheetCount() const { return int(m_sheets.size()); }
    Worksheet& sheet(int index) { return m_sheets[size_t(index)]; }
    const Worksheet& sheet(int index) const { return m_sheets[size_t(index)]; }
    // Index of the sheet of that name, compared case-insensitively; -1 if none.
    int findSheet(const QString& name) const;
    int activeSheet() const { return m_active; }
    void setActiveSheet(int index);

    // Adds a sheet at the end with the given name, as when the workbook is
    // first made; false when the name is refused.
    bool appendSheet(const QString& name);
    // What Worksheets.Add with no arguments does: inserts a sheet before the
    // active sheet, makes it active and names it "SheetN" from the workbook's
    // counter, skipping names already taken. Returns its index.
    int addSheetBeforeActive();
    // Renames a sheet; false (name unchanged) when Excel would refuse the name
    // (see validSheetName) or another sheet has it already.
    bool renameSheet(int index, const QString& name);

    // Maps every format of `other` to a format of this workbook (adding fonts
    // and formats as needed), for pasting cells from one workbook into another.
    std::vector<int> importFormats(const Workbook& other);

private:
    std::vector<Font> m_fonts;
    std::vector<CellFormat> m_formats;
    QHash<QByteArray, int> m_formatIndex;
    std::vector<Worksheet> m_sheets;
    int m_active = 0;
    int m_sheetCounter = 0;  // sheets ever created, for default names
    int m_digitWidth;
};

// Excel's rules for a sheet name: 1 to 31 characters, none of : \ / ? * [ ],
// not beginning or ending with an apostrophe, and not "History", which Excel
// keeps for its change history.
bool validSheetName(const QString& name);

}  // namespace korvex::xls
