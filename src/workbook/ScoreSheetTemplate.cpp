#include "workbook/ScoreSheetTemplate.h"

#include "workbook/FormulaTokens.h"

namespace korvex::scoresheet {
namespace {

using xls::CellFormat;
using xls::CellRange;
using xls::HAlign;
using xls::Line;
using xls::VAlign;

constexpr std::uint8_t kChineseBig5Charset = 136;
constexpr int kLastStudentRow = kFirstStudentRow + kSeats - 1;  // row 60
constexpr int kDailyTests = 20;                                 // columns C to V

// Excel's page setup values for a finished course sheet, in points as
// Excel's PageSetup object takes them.
constexpr double kTopMarginPoints = 1;
constexpr double kBottomMarginPoints = 1;
constexpr double kRightMarginPoints = 0.8;
constexpr double kLeftMarginPoints = 0.8;
constexpr double kHeaderMarginPoints = 1;
constexpr double kFooterMarginPoints = 1;
constexpr int kPaperA4 = 9;

double inches(double points) { return points / 72.0; }

// Every format the sheet uses.
struct Formats {
    int title, header, weight, seat, name, score, daily, result, note;
};

Formats addFormats(xls::Workbook& book) {
    xls::Font titleFont = defaultFont();
    titleFont.heightTwips = 320;  // 16 pt
    titleFont.bold = true;
    const int titleFontIndex = book.font(titleFont);

    Formats f;
    CellFormat title;
    title.font = titleFontIndex;
    title.horizontal = HAlign::Center;
    title.vertical = VAlign::Center;
    title.locked = false;
    f.title = book.format(title);

    CellFormat header;
    header.horizontal = HAlign::Center;
    header.vertical = VAlign::Center;
    header.wrap = true;
    header.box(Line::Thin);
    f.header = book.format(header);

    CellFormat weight = header;
    weight.numberFormat = QStringLiteral("0%");
    weight.wrap = false;
    weight.locked = false;
    f.weight = book.format(weight);

    CellFormat seat;
    seat.horizontal = HAlign::Center;
    seat.vertical = VAlign::Center;
    seat.box(Line::Thin);
    f.seat = book.format(seat);

    CellFormat name;
    name.vertical = VAlign::Center;
    name.box(Line::Thin);
    name.locked = false;
    f.name = book.format(name);

    CellFormat score = name;
    score.numberFormat = QStringLiteral("0_ ");
    f.score = book.format(score);

    CellFormat daily = score;
    daily.numberFormat = QStringLiteral("0_);[Red]\\(0\\)");
    f.daily = book.format(daily);

    CellFormat result = score;
    result.locked = true;
    f.result = book.format(result);

    f.note = 0;
    return f;
}

// Fills A1:AB64 of `sheet` and sets its column widths.
void fillScoreSheet(xls::Workbook& book, int sheetIndex) {
    const Formats f = addFormats(book);
    xls::Worksheet& s = book.sheet(sheetIndex);

    // Title over the whole width, filled in per course by the program.
    s.formatRange({kTitleRow, kTitleRow, 0, kResultColumn}, f.title);
    s.setText(kTitleRow, 0, QStringLiteral("   94學年度第1學期學生成績表 X年X班 XX科"));
    s.merge({kTitleRow, kTitleRow, 0, kResultColumn});

    // Heading block, rows 2 to 5.
    s.formatRange({1, 4, 0, kResultColumn}, f.header);
    auto heading = [&](int row, int col, const QString& text, int lastRow, int lastCol) {
        s.setText(row, col, text);
        if (lastRow != row || lastCol != col) s.merge({row, lastRow, col, lastCol});
    };
    heading(1, 0, QStringLiteral("座號"), 4, 0);
    heading(1, 1, QStringLiteral("姓名"), 4, 1);
    heading(1, 2, QStringLiteral("日        常        考        查"), 1, kDailyColumn);
    for (int t = 0; t < kDailyTests; ++t) {
        s.setNumber(2, 2 + t, t + 1);
        s.merge({2, 4, 2 + t, 2 + t});
    }
    for (int c = kDailyColumn; c <= kFinalColumn; ++c) s.setNumber(kWeightRow, c, 0.2, f.weight);
    heading(3, kDailyColumn, QStringLiteral("平時"), 4, kDailyColumn);
    heading(1, 23, QStringLiteral("期中考查"), 1, 25);
    heading(3, 23, QStringLiteral("第一"), 4, 23);
    heading(3, 24, QStringLiteral("第二"), 4, 24);
    heading(3, 25, QStringLiteral("第三"), 4, 25);
    heading(1, kFinalColumn, QStringLiteral("期末"), 1, kFinalColumn);
    heading(3, kFinalColumn, QStringLiteral("期末"), 4, kFinalColumn);
    heading(1, kResultColumn, QStringLiteral("學期成績"), 4, kResultColumn);

    // One row per seat: seat number, name, twenty daily scores, the daily
    // score, three mid-terms, the final and the semester score, which rounds
    // each exam score and weighs it by the weight row.
    for (int r = kFirstStudentRow; r <= kLastStudentRow; ++r) {
        s.setNumber(r, 0, r - kFirstStudentRow + 1, f.seat);
        s.setBlank(r, kNameColumn, f.name);
        for (int c = 2; c < kDailyColumn; ++c) s.setBlank(r, c, f.score);
        s.setBlank(r, kDailyColumn, f.daily);
        for (int c = kDailyColumn + 1; c <= kFinalColumn; ++c) s.setBlank(r, c, f.score);
        const QString row = QString::number(r + 1);
        QStringList terms;
        for (int c = kDailyColumn; c <= kFinalColumn; ++c) {
            const QString col = xls::columnName(c);
            terms << QStringLiteral("ROUND(%1%2,0)*%1$3").arg(col, row);
        }
        const QString formula = QStringLiteral("ROUND(%1,0)").arg(terms.join(QLatin1Char('+')));
        // The scores are empty, so every semester score is 0 until they are
        // entered; Excel recalculates the formulas when the file is opened.
        s.setFormula(r, kResultColumn, formula, xls::formulaTokens(formula), 0, f.result);
    }

    s.setText(61, 0,
              QStringLiteral(
                  "(1)學期總成績以整數計算, 四捨五入, 60 分以上請用藍、黑筆，60分以下請用紅筆"),
              f.note);
    s.setText(62, 0, QStringLiteral("(2)學期結束時，繳交本表至教務處註冊組"), f.note);
    s.setText(63, 20, QStringLiteral("擔任教師:"), f.note);

    for (int c = 0; c < kColumns; ++c) s.setColumnWidth(c, columnWidths()[size_t(c)]);
}

}  // namespace

xls::Font defaultFont() {
    xls::Font font;
    font.name = QStringLiteral("新細明體");
    font.heightTwips = 240;  // 12 pt
    font.charset = kChineseBig5Charset;
    return font;
}

const std::array<double, kColumns>& columnWidths() {
    static const std::array<double, kColumns> widths = [] {
        std::array<double, kColumns> w{};
        w[0] = 2.75;                                                             // A: seat
        w[1] = 9.5;                                                              // B: name
        w[2] = 4;                                                                // C
        for (int c = 3; c < kDailyColumn; ++c) w[size_t(c)] = 3.75;              // D to V
        for (int c = kDailyColumn; c <= kFinalColumn; ++c) w[size_t(c)] = 4.88;  // W to AA
        w[kResultColumn] = 5.75;                                                 // AB
        return w;
    }();
    return widths;
}

xls::Workbook emptyWorkbook() { return xls::Workbook(defaultFont(), kDigitWidthPixels); }

xls::Workbook baseWorkbook() {
    xls::Workbook book = emptyWorkbook();
    book.appendSheet(QStringLiteral("Sheet1"));
    xls::PageSetup& p = book.sheet(0).pageSetup();
    p.paperSize = kPaperA4;
    p.fitToPage = true;
    p.fitWidth = 1;
    p.fitHeight = 1;
    p.centerHorizontally = true;
    p.centerVertically = true;
    return book;
}

QString templateSheetName() { return QStringLiteral("學科成績"); }

xls::Workbook templateWorkbook() {
    xls::Workbook book = emptyWorkbook();
    book.appendSheet(templateSheetName());
    fillScoreSheet(book, 0);
    book.sheet(0).pageSetup() = coursePageSetup();
    book.sheet(0).protect(password());
    return book;
}

xls::PageSetup coursePageSetup() {
    xls::PageSetup p;
    p.topMargin = inches(kTopMarginPoints);
    p.bottomMargin = inches(kBottomMarginPoints);
    p.rightMargin = inches(kRightMarginPoints);
    p.leftMargin = inches(kLeftMarginPoints);
    p.centerHorizontally = true;
    p.centerVertically = true;
    p.footerMargin = inches(kFooterMarginPoints);
    p.headerMargin = inches(kHeaderMarginPoints);
    p.fitToPage = true;  // zoom off
    p.fitHeight = 1;
    p.fitWidth = 1;
    p.paperSize = kPaperA4;
    return p;
}

}  // namespace korvex::scoresheet
