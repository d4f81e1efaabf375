#include "workbook/Worksheet.h"

#include <algorithm>

#include "workbook/RecordBuilder.h"

namespace korvex::xls {
namespace {

bool inside(int row, int col) {
    return row >= 0 && row < Worksheet::kMaxRows && col >= 0 && col < Worksheet::kMaxCols;
}

}  // namespace

Cell* Worksheet::touch(int row, int col) {
    if (!inside(row, col)) return nullptr;
    if (size_t(row) >= m_rows.size()) m_rows.resize(size_t(row) + 1);
    std::vector<Cell>& cells = m_rows[size_t(row)];
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell& c, int column) { return c.col < column; });
    if (it == cells.end() || it->col != col) {
        Cell fresh;
        fresh.col = std::uint16_t(col);
        it = cells.insert(it, fresh);
    }
    return &*it;
}

const Cell* Worksheet::cell(int row, int col) const {
    if (!inside(row, col) || size_t(row) >= m_rows.size()) return nullptr;
    const std::vector<Cell>& cells = m_rows[size_t(row)];
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell& c, int column) { return c.col < column; });
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

int Worksheet::formatAt(int row, int col) const {
    const Cell* c = cell(row, col);
    return c ? c->format : 0;
}

bool Worksheet::setBlank(int row, int col, int format) {
    Cell* c = touch(row, col);
    if (!c) return false;
    c->kind = Cell::Kind::Blank;
    c->format = std::uint16_t(format);
    c->text.clear();
    c->tokens.clear();
    return true;
}

bool Worksheet::setNumber(int row, int col, double value) {
    Cell* c = touch(row, col);
    if (!c) return false;
    c->kind = Cell::Kind::Number;
    c->number = value;
    c->text.clear();
    c->tokens.clear();
    return true;
}

bool Worksheet::setNumber(int row, int col, double value, int format) {
    if (!setNumber(row, col, value)) return false;
    touch(row, col)->format = std::uint16_t(format);
    return true;
}

bool Worksheet::setText(int row, int col, const QString& text) {
    Cell* c = touch(row, col);
    if (!c) return false;
    c->kind = Cell::Kind::Text;
    c->text = text;
    c->tokens.clear();
    return true;
}

bool Worksheet::setText(int row, int col, const QString& text, int format) {
    if (!setText(row, col, text)) return false;
    touch(row, col)->format = std::uint16_t(format);
    return true;
}

bool Worksheet::setFormula(int row, int col, const QString& formula, const QByteArray& tokens,
                           double result, int format) {
    Cell* c = touch(row, col);
    if (!c) return false;
    c->kind = Cell::Kind::Formula;
    c->text = formula;
    c->tokens = tokens;
    c->number = result;
    c->format = std::uint16_t(format);
    return true;
}

void Worksheet::formatRange(const CellRange& range, int format) {
    for (int r = std::max(range.firstRow, 0); r <= std::min(range.lastRow, kMaxRows - 1); ++r)
        for (int c = std::max(range.firstCol, 0); c <= std::min(range.lastCol, kMaxCols - 1); ++c)
            touch(r, c)->format = std::uint16_t(format);
}

CellRange Worksheet::usedRange() const {
    CellRange used{0, 0, 0, 0};
    bool any = false;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r].empty()) continue;
        const int first = m_rows[r].front().col;
        const int last = m_rows[r].back().col + 1;
        if (!any) {
            used = CellRange{int(r), int(r) + 1, first, last};
            any = true;
        } else {
            used.lastRow = int(r) + 1;
            used.firstCol = std::min(used.firstCol, first);
            used.lastCol = std::max(used.lastCol, last);
        }
    }
    return used;
}

bool Worksheet::merge(const CellRange& range) {
    if (!inside(range.firstRow, range.firstCol) || !inside(range.lastRow, range.lastCol) ||
        range.firstRow > range.lastRow || range.firstCol > range.lastCol)
        return false;
    for (const CellRange& m : m_merges)
        if (m.intersects(range)) return false;
    m_merges.push_back(range);
    return true;
}

void Worksheet::setColumnWidth(int col, double characters) {
    if (col < 0 || col >= kMaxCols) return;
    if (size_t(col) >= m_widths.size()) m_widths.resize(size_t(col) + 1, -1.0);
    m_widths[size_t(col)] = std::clamp(characters, 0.0, 255.0);
}

double Worksheet::columnWidth(int col) const {
    return col >= 0 && size_t(col) < m_widths.size() ? m_widths[size_t(col)] : -1.0;
}

void Worksheet::protect(const QByteArray& ansiPassword) {
    m_protected = true;
    m_passwordHash = xls::passwordHash(ansiPassword);
}

void Worksheet::pasteBlock(const Worksheet& source, const CellRange& block,
                           const std::vector<int>& formatMap) {
    auto mapped = [&](int format) {
        return format >= 0 && size_t(format) < formatMap.size() ? formatMap[size_t(format)] : 0;
    };
    // Clear the target block, then copy cell by cell.
    for (int r = block.firstRow; r <= block.lastRow && size_t(r) < m_rows.size(); ++r) {
        std::vector<Cell>& cells = m_rows[size_t(r)];
        std::erase_if(cells, [&](const Cell& c) {
            return c.col >= block.firstCol && c.col <= block.lastCol;
        });
    }
    std::erase_if(m_merges, [&](const CellRange& m) { return m.intersects(block); });
    const int lastRow = std::min(block.lastRow, source.rowCount() - 1);
    if (lastRow >= block.firstRow && size_t(lastRow) >= m_rows.size())
        m_rows.resize(size_t(lastRow) + 1);
    for (int r = block.firstRow; r <= lastRow; ++r) {
        std::vector<Cell>& cells = m_rows[size_t(r)];
        cells.reserve(cells.size() + source.row(r).size());
        for (const Cell& from : source.row(r)) {
            if (from.col < block.firstCol || from.col > block.lastCol) continue;
            // Cells come in column order: an empty target row (the usual
            // case, a paste onto a new sheet) is filled by appending.
            Cell* to = nullptr;
            if (cells.empty() || cells.back().col < from.col) {
                to = &cells.emplace_back(from);
            } else {
                to = touch(r, from.col);
                *to = from;
            }
            to->format = std::uint16_t(mapped(from.format));
        }
    }
    for (const CellRange& m : source.merges())
        if (m.within(block)) m_merges.push_back(m);
}

}  // namespace korvex::xls
