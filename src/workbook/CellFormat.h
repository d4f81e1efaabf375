#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace korvex::xls {

struct Font {
    QString name;
    int heightTwips = 240;  // 20 per point
    bool bold = false;
    bool italic = false;
    std::uint8_t charset = 0;

    bool operator==(const Font&) const = default;
};

enum class HAlign : std::uint8_t { General = 0, Left = 1, Center = 2, Right = 3 };
enum class VAlign : std::uint8_t { Top = 0, Center = 1, Bottom = 2 };
enum class Line : std::uint8_t { None = 0, Thin = 1, Medium = 2 };

// How a cell looks and whether it is locked: what one cell XF record holds.
// Locking takes effect only on a protected sheet.
struct CellFormat {
    int font = 0;  // index into the workbook's fonts
    QString numberFormat = QStringLiteral("General");
    HAlign horizontal = HAlign::General;
    VAlign vertical = VAlign::Bottom;
    bool wrap = false;
    Line left = Line::None;
    Line right = Line::None;
    Line top = Line::None;
    Line bottom = Line::None;
    bool locked = true;
    // The cell's text was entered after an apostrophe, which Excel keeps
    // with the cell so that it shows in the formula bar.
    bool quotePrefix = false;

    CellFormat& box(Line line) {
        left = right = top = bottom = line;
        return *this;
    }
    bool operator==(const CellFormat&) const = default;
    QByteArray key() const;
};

}  // namespace korvex::xls
