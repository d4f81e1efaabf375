#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace korvex::xls {

// A block of cells, 0-based and inclusive.
struct CellRange {
    int firstRow = 0;
    int lastRow = 0;
    int firstCol = 0;
    int lastCol = 0;

    bool contains(int row, int col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
    bool within(const CellRange& outer) const {
        return outer.contains(firstRow, firstCol) && outer.contains(lastRow, lastCol);
    }
    bool intersects(const CellRange& o) const {
        return firstRow <= o.lastRow && o.firstRow <= lastRow && firstCol <= o.lastCol &&
               o.firstCol <= lastCol;
    }
    bool operator==(const CellRange&) const = default;
};

struct Cell {
    enum class Kind : std::uint8_t { Blank, Number, Text, Formula };
    std::uint16_t col = 0;
    std::uint16_t format = 0;  // the workbook's cell-format index; 0 is the default
    Kind kind = Kind::Blank;
    double number = 0;  // Number, and the last result of a Formula
    QString text;       // Text, and the formula as written for Formula
    QByteArray tokens;  // Formula: the parsed expression
};

// Page setup as Excel's PageSetup object holds it, margins in inches.
struct PageSetup {
    int paperSize = 0;  // 0: the printer's default; 9 is A4
    bool portrait = true;
    int scale = 100;
    bool fitToPage = false;
    int fitWidth = 1;  // pages; 0 = as many as needed
    int fitHeight = 1;
    bool centerHorizontally = false;
    bool centerVertically = false;
    double leftMargin = 0.75;
    double rightMargin = 0.75;
    double topMargin = 1.0;
    double bottomMargin = 1.0;
    double headerMargin = 0.5;
    double footerMargin = 0.5;

    bool operator==(const PageSetup&) const = default;
};

// One worksheet: its name, cells by row, merged blocks, column widths, page
// setup and protection. Rows and columns count from 0 (A1 is 0,0); BIFF8
// holds 65536 rows and 256 columns, and cells outside are refused.
class Worksheet {
public:
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxCols = 256;

    explicit Worksheet(QString name = QString()) : m_name(std::move(name)) {}

    const QString& name() const { return m_name; }
    // The workbook renames sheets: it knows the other names.
    void setNameUnchecked(const QString& name) { m_name = name; }

    // Values keep the format the cell has, as typing into a cell does; the
    // setters with a format also set it. False for a cell outside the sheet.
    bool setBlank(int row, int col, int format);
    bool setNumber(int row, int col, double value);
    bool setNumber(int row, int col, double value, int format);
    bool setText(int row, int col, const QString& text);
    bool setText(int row, int col, const QString& text, int format);
    // A formula with its parsed tokens (see FormulaTokens) and its current result.
    bool setFormula(int row, int col, const QString& formula, const QByteArray& tokens,
                    double result, int format);
    // Gives a block of cells one format, keeping their values.
    void formatRange(const CellRange& range, int format);

    const Cell* cell(int row, int col) const;
    int formatAt(int row, int col) const;
    int rowCount() const { return int(m_rows.size()); }  // one past the last row with cells
    const std::vector<Cell>& row(int r) const { return m_rows[size_t(r)]; }
    // First and one-past-last used row and column; all zero when empty.
    CellRange usedRange() const;

    bool merge(const CellRange& range);
    const std::vector<CellRange>& merges() const { return m_merges; }

    // Column widths in Excel's unit, characters of the default font's digit.
    void setColumnWidth(int col, double characters);
    // The width set for a column, or a negative number for the default width.
    double columnWidth(int col) const;
    const std::vector<double>& columnWidths() const { return m_widths; }

    PageSetup& pageSetup() { return m_pageSetup; }
    const PageSetup& pageSetup() const { return m_pageSetup; }

    // Protects the sheet's locked cells, drawing objects and scenarios; the
    // password (ANSI bytes) may be empty.
    void protect(const QByteArray& ansiPassword);
    bool isProtected() const { return m_protected; }
    std::uint16_t passwordHash() const { return m_passwordHash; }

    // Copies a block of another sheet here at the same place: values,
    // formulas, merges and formats (mapped through `formatMap`, source
    // format index -> this sheet's workbook's index). What the block held
    // before goes. Widths are not carried, as in Excel.
    void pasteBlock(const Worksheet& source, const CellRange& block,
                    const std::vector<int>& formatMap);

private:
    Cell* touch(int row, int col);

    QString m_name;
    std::vector<std::vector<Cell>> m_rows;  // by row, cells in column order
    std::vector<CellRange> m_merges;
    std::vector<double> m_widths;  // by column; negative: default
    PageSetup m_pageSetup;
    bool m_protected = false;
    std::uint16_t m_passwordHash = 0;
};

}  // namespace korvex::xls
