#include "workbook/XlsWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "core/FileErrors.h"
#include "workbook/CompoundFile.h"
#include "workbook/RecordBuilder.h"
#include "workbook/SharedStrings.h"
#include "workbook/Workbook.h"

namespace korvex::xls {
namespace {

// Record ids.
enum : std::uint16_t {
    RecFormula = 0x0006,
    RecEof = 0x000A,
    RecCalcCount = 0x000C,
    RecCalcMode = 0x000D,
    RecPrecision = 0x000E,
    RecRefMode = 0x000F,
    RecDelta = 0x0010,
    RecIteration = 0x0011,
    RecProtect = 0x0012,
    RecPassword = 0x0013,
    RecHeader = 0x0014,
    RecFooter = 0x0015,
    RecWindowProtect = 0x0019,
    RecDateMode = 0x0022,
    RecLeftMargin = 0x0026,
    RecRightMargin = 0x0027,
    RecTopMargin = 0x0028,
    RecBottomMargin = 0x0029,
    RecPrintHeaders = 0x002A,
    RecPrintGridlines = 0x002B,
    RecFont = 0x0031,
    RecWindow1 = 0x003D,
    RecBackup = 0x0040,
    RecCodepage = 0x0042,
    RecDefColWidth = 0x0055,
    RecWriteAccess = 0x005C,
    RecSaveRecalc = 0x005F,
    RecObjProtect = 0x0063,
    RecColInfo = 0x007D,
    RecGuts = 0x0080,
    RecWsBool = 0x0081,
    RecGridSet = 0x0082,
    RecHCenter = 0x0083,
    RecVCenter = 0x0084,
    RecBoundSheet = 0x0085,
    RecCountry = 0x008C,
    RecHideObj = 0x008D,
    RecFnGroupCount = 0x009C,
    RecSetup = 0x00A1,
    RecMulBlank = 0x00BE,
    RecMms = 0x00C1,
    RecBookBool = 0x00DA,
    RecScenProtect = 0x00DD,
    RecXf = 0x00E0,
    RecInterfaceHdr = 0x00E1,
    RecInterfaceEnd = 0x00E2,
    RecMergedCells = 0x00E5,
    RecLabelSst = 0x00FD,
    RecTabId = 0x013D,
    RecUsesElfs = 0x0160,
    RecDsf = 0x0161,
    RecProt4Rev = 0x01AF,
    RecRefreshAll = 0x01B7,
    RecProt4RevPass = 0x01BC,
    RecDimensions = 0x0200,
    RecBlank = 0x0201,
    RecNumber = 0x0203,
    RecRow = 0x0208,
    RecDefaultRowHeight = 0x0225,
    RecWindow2 = 0x023E,
    RecRk = 0x027E,
    RecStyle = 0x0293,
    RecFormat = 0x041E,
    RecBof = 0x0809,
};

constexpr int kStyleXfCount = 15;  // XF 0 is Normal, 15 the first cell XF
constexpr int kMaxCellFormats = 4000;
constexpr int kMaxTextLength = 32767;  // what a cell can hold in Excel
constexpr int kMergesPerRecord = 1026;
constexpr int kFirstCustomFormat = 164;

void bof(RecordBuilder& b, std::uint16_t type) {
    b.begin(RecBof);
    b.u16(0x0600);  // BIFF8
    b.u16(type);
    b.u16(0x0DBB);  // build
    b.u16(0x07CC);  // year
    b.u32(0);       // file history
    b.u32(6);       // lowest version that can read it
    b.end();
}

int builtInFormat(const QString& f) {
    static const QHash<QString, int> builtIn = {
        {QStringLiteral("General"), 0},  {QStringLiteral("0"), 1},
        {QStringLiteral("0.00"), 2},     {QStringLiteral("#,##0"), 3},
        {QStringLiteral("#,##0.00"), 4}, {QStringLiteral("0%"), 9},
        {QStringLiteral("0.00%"), 10},   {QStringLiteral("0.00E+00"), 11},
        {QStringLiteral("@"), 49},
    };
    return builtIn.value(f, -1);
}

// Index of one of the workbook's fonts in FONT-record terms. Records 1 to 4
// are the default font's four styles (indexes 0 to 3); index 4 does not
// exist, so the workbook's font 1 is record 5 with index 5.
std::uint16_t fontIndex(int font) { return std::uint16_t(font == 0 ? 0 : font + 4); }

class Writer {
public:
    Writer(const Workbook& book, QString* error) : m_book(book), m_error(error) {}

    QByteArray run() {
        if (m_book.sheetCount() == 0) return fail(QStringLiteral("活頁簿沒有工作表"));
        if (m_book.formats().size() > size_t(kMaxCellFormats))
            return fail(QStringLiteral("儲存格格式過多"));
        if (!collectStrings()) return {};
        numberFormats();
        rowHeights();

        QByteArray out;
        out.reserve(4096 + 16384 * m_book.sheetCount());
        RecordBuilder b(out);
        std::vector<int> boundSheetAt;
        globals(b, boundSheetAt);
        for (int i = 0; i < m_book.sheetCount(); ++i) {
            // Each BOUNDSHEET holds the stream offset of its sheet's BOF.
            putU32(out, boundSheetAt[size_t(i)], std::uint32_t(out.size()));
            sheet(b, m_book.sheet(i), i == m_book.activeSheet());
        }
        return out;
    }

private:
    QByteArray fail(const QString& text) {
        if (m_error) *m_error = text;
        return {};
    }

    bool collectStrings() {
        for (int i = 0; i < m_book.sheetCount(); ++i) {
            const Worksheet& s = m_book.sheet(i);
            for (int r = 0; r < s.rowCount(); ++r)
                for (const Cell& c : s.row(r)) {
                    if (c.kind != Cell::Kind::Text) continue;
                    if (c.text.size() > kMaxTextLength) {
                        fail(QStringLiteral("工作表 %1 的儲存格文字超過 %2 個字")
                                 .arg(s.name())
                                 .arg(kMaxTextLength));
                        return false;
                    }
                    m_strings.add(c.text);
                }
        }
        return true;
    }

    void numberFormats() {
        int next = kFirstCustomFormat;
        for (const CellFormat& f : m_book.formats()) {
            if (builtInFormat(f.numberFormat) >= 0 || m_customFormats.contains(f.numberFormat))
                continue;
            m_customFormats.insert(f.numberFormat, next);
            m_customOrder << f.numberFormat;
            ++next;
        }
    }
    int formatId(const QString& f) const {
        const int builtIn = builtInFormat(f);
        return builtIn >= 0 ? builtIn : m_customFormats.value(f);
    }

    // Rows are as tall as their largest font needs, as Excel sizes rows whose
    // height nobody set.
    void rowHeights() {
        const auto& fonts = m_book.fonts();
        m_defaultRowHeight = rowHeightForFont(fonts[0].heightTwips);
        for (const CellFormat& f : m_book.formats())
            m_heightOfFormat.push_back(rowHeightForFont(fonts[size_t(f.font)].heightTwips));
    }

    // The workbook globals, record by record in the order Excel writes them.
    void globals(RecordBuilder& b, std::vector<int>& boundSheetAt) {
        bof(b, 0x0005);
        interfaceRecords(b);
        writeAccess(b);
        b.word(RecCodepage, 1200);  // UTF-16
        b.word(RecDsf, 0);
        tabIds(b);
        b.word(RecFnGroupCount, 14);
        bookProtection(b);
        window1(b);
        bookOptions(b);
        fonts(b);
        formats(b);
        xfs(b);
        normalStyle(b);
        b.word(RecUsesElfs, 0);
        boundSheets(b, boundSheetAt);
        country(b);
        m_strings.write(b);
        b.empty(RecEof);
    }

    static void interfaceRecords(RecordBuilder& b) {
        b.word(RecInterfaceHdr, 0x04B0);
        b.word(RecMms, 0);
        b.empty(RecInterfaceEnd);
    }

    // The user who last saved the file, padded with blanks to 112 bytes.
    static void writeAccess(RecordBuilder& b) {
        b.begin(RecWriteAccess);
        b.longString(QStringLiteral("KORVEX"));
        while (b.payloadSize() < 112) b.u8(' ');
        b.end();
    }

    void tabIds(RecordBuilder& b) const {
        b.begin(RecTabId);
        for (int i = 0; i < m_book.sheetCount(); ++i) b.u16(std::uint16_t(i + 1));
        b.end();
    }

    // The workbook's own structure is not protected; the sheets are.
    static void bookProtection(RecordBuilder& b) {
        b.word(RecWindowProtect, 0);
        b.word(RecProtect, 0);
        b.word(RecPassword, 0);
        b.word(RecProt4Rev, 0);
        b.word(RecProt4RevPass, 0);
    }

    void window1(RecordBuilder& b) const {
        b.begin(RecWindow1);
        b.u16(0x0168);  // position and size in twips
        b.u16(0x001E);
        b.u16(0x3A98);
        b.u16(0x2328);
        b.u16(0x0038);  // scroll bars and sheet tabs shown
        b.u16(std::uint16_t(m_book.activeSheet()));
        b.u16(0);  // first tab shown
        b.u16(1);  // selected sheets
        b.u16(600);
        b.end();
    }

    static void bookOptions(RecordBuilder& b) {
        b.word(RecBackup, 0);
        b.word(RecHideObj, 0);
        b.word(RecDateMode, 0);
        b.word(RecPrecision, 1);
        b.word(RecRefreshAll, 0);
        b.word(RecBookBool, 0);
    }

    // Fonts 0 to 3 are the default font plain, bold, italic and bold
    // italic, as Excel writes them; the workbook's other fonts follow from
    // index 5.
    void fonts(RecordBuilder& b) const {
        const auto& all = m_book.fonts();
        const Font& base = all[0];
        for (int i = 0; i < 4; ++i) {
            Font f = base;
            f.bold = base.bold || (i & 1);
            f.italic = base.italic || (i & 2);
            font(b, f);
        }
        for (size_t i = 1; i < all.size(); ++i) font(b, all[i]);
    }

    void formats(RecordBuilder& b) const {
        for (const QString& f : m_customOrder) {
            b.begin(RecFormat);
            b.u16(std::uint16_t(m_customFormats.value(f)));
            b.longString(f);
            b.end();
        }
    }

    // Style XFs: Normal, then the fourteen Excel keeps for its outline
    // styles, which use the bold and italic fonts; then the cells' XFs.
    void xfs(RecordBuilder& b) const {
        for (int i = 0; i < kStyleXfCount; ++i) {
            const std::uint16_t f = i == 0 ? 0 : (i <= 2 ? 1 : (i <= 4 ? 2 : 0));
            styleXf(b, f, i == 0 ? 0x00 : 0xF4);
        }
        for (const CellFormat& f : m_book.formats()) cellXf(b, f);
    }

    static void normalStyle(RecordBuilder& b) {
        b.begin(RecStyle);  // Normal style -> XF 0
        b.u16(0x8000);
        b.u8(0);
        b.u8(0xFF);
        b.end();
    }

    // One per sheet; `at` receives where each one's stream offset goes, to
    // be patched once the sheet is written.
    void boundSheets(RecordBuilder& b, std::vector<int>& at) const {
        for (int i = 0; i < m_book.sheetCount(); ++i) {
            b.begin(RecBoundSheet);
            at.push_back(b.position());
            b.u32(0);
            b.u8(0);  // visible
            b.u8(0);  // worksheet
            b.shortString(m_book.sheet(i).name());
            b.end();
        }
    }

    static void country(RecordBuilder& b) {
        b.begin(RecCountry);
        b.u16(1);
        b.u16(886);  // Taiwan
        b.end();
    }

    static void font(RecordBuilder& b, const Font& f) {
        b.begin(RecFont);
        b.u16(std::uint16_t(f.heightTwips));
        // Bit 0 marks bold for readers that look at it; the weight says it for Excel.
        b.u16(std::uint16_t((f.bold ? 0x01 : 0) | (f.italic ? 0x02 : 0)));
        b.u16(0x7FFF);  // automatic colour
        b.u16(f.bold ? 700 : 400);
        b.u16(0);  // no super/subscript
        b.u8(0);   // no underline
        b.u8(0);   // family
        b.u8(f.charset);
        b.u8(0);
        b.shortString(f.name);
        b.end();
    }

    static void styleXf(RecordBuilder& b, std::uint16_t font, std::uint8_t ignored) {
        b.begin(RecXf);
        b.u16(font);
        b.u16(0);
        b.u16(0xFFF5);  // locked, style XF, no parent
        b.u8(0x20);     // bottom aligned
        b.u8(0);
        b.u8(0);
        b.u8(ignored);
        b.u32(0);
        b.u32(0);
        b.u16(0x20C0);
        b.end();
    }

    void cellXf(RecordBuilder& b, const CellFormat& f) const {
        auto colour = [](Line l) { return l == Line::None ? 0u : 0x40u; };
        b.begin(RecXf);
        b.u16(fontIndex(f.font));
        b.u16(std::uint16_t(formatId(f.numberFormat)));
        // Parent is the Normal style XF 0.
        b.u16(std::uint16_t((f.locked ? 0x0001 : 0) | (f.quotePrefix ? 0x0008 : 0)));
        b.u8(std::uint8_t(std::uint8_t(f.horizontal) | (f.wrap ? 0x08 : 0) |
                          (std::uint8_t(f.vertical) << 4)));
        b.u8(0);     // rotation
        b.u8(0);     // indent
        b.u8(0xFC);  // every attribute group is this XF's own
        b.u32(std::uint32_t(f.left) | std::uint32_t(f.right) << 4 | std::uint32_t(f.top) << 8 |
              std::uint32_t(f.bottom) << 12 | colour(f.left) << 16 | colour(f.right) << 23);
        b.u32(colour(f.top) | colour(f.bottom) << 7);
        b.u16(0x20C0);  // no fill
        b.end();
    }

    // One sheet, record by record in the order Excel writes them.
    void sheet(RecordBuilder& b, const Worksheet& s, bool active) {
        bof(b, 0x0010);
        calculation(b);
        printOptions(b);
        defaultRowHeight(b);
        const PageSetup& p = s.pageSetup();
        b.word(RecWsBool, std::uint16_t(0x04C1 | (p.fitToPage ? 0x0100 : 0)));
        pageSetup(b, p);
        if (s.isProtected()) sheetProtection(b, s.passwordHash());
        b.word(RecDefColWidth, 8);
        columns(b, s);
        dimensions(b, s.usedRange());
        cells(b, s);
        window2(b, active);
        mergedCells(b, s.merges());
        b.empty(RecEof);
    }

    static void calculation(RecordBuilder& b) {
        b.word(RecCalcMode, 1);
        b.word(RecCalcCount, 100);
        b.word(RecRefMode, 1);
        b.word(RecIteration, 0);
        b.begin(RecDelta);
        b.f64(0.001);
        b.end();
        b.word(RecSaveRecalc, 1);
    }

    static void printOptions(RecordBuilder& b) {
        b.word(RecPrintHeaders, 0);
        b.word(RecPrintGridlines, 0);
        b.word(RecGridSet, 1);
        b.begin(RecGuts);
        b.zeros(8);
        b.end();
    }

    void defaultRowHeight(RecordBuilder& b) const {
        b.begin(RecDefaultRowHeight);
        b.u16(0);
        b.u16(std::uint16_t(m_defaultRowHeight));
        b.end();
    }

    static void sheetProtection(RecordBuilder& b, std::uint16_t passwordHash) {
        b.word(RecProtect, 1);
        b.word(RecScenProtect, 1);
        b.word(RecObjProtect, 1);
        b.word(RecPassword, passwordHash);
    }

    static void dimensions(RecordBuilder& b, const CellRange& used) {
        b.begin(RecDimensions);
        b.u32(std::uint32_t(used.firstRow));
        b.u32(std::uint32_t(used.lastRow));
        b.u16(std::uint16_t(used.firstCol));
        b.u16(std::uint16_t(used.lastCol));
        b.u16(0);
        b.end();
    }

    static void window2(RecordBuilder& b, bool active) {
        b.begin(RecWindow2);
        // Grid, headers, zeros, automatic grid colour, outline symbols; the
        // active sheet is also selected and shown.
        b.u16(active ? 0x06B6 : 0x00B6);
        b.u16(0);
        b.u16(0);
        b.u16(0x40);
        b.u16(0);
        b.u16(0);
        b.u16(0);
        b.u32(0);
        b.end();
    }

    static void mergedCells(RecordBuilder& b, const std::vector<CellRange>& merges) {
        for (size_t at = 0; at < merges.size(); at += kMergesPerRecord) {
            const size_t n = std::min(merges.size() - at, size_t(kMergesPerRecord));
            b.begin(RecMergedCells);
            b.u16(std::uint16_t(n));
            for (size_t i = at; i < at + n; ++i) {
                b.u16(std::uint16_t(merges[i].firstRow));
                b.u16(std::uint16_t(merges[i].lastRow));
                b.u16(std::uint16_t(merges[i].firstCol));
                b.u16(std::uint16_t(merges[i].lastCol));
            }
            b.end();
        }
    }

    static void pageSetup(RecordBuilder& b, const PageSetup& p) {
        b.empty(RecHeader);
        b.empty(RecFooter);
        b.word(RecHCenter, p.centerHorizontally ? 1 : 0);
        b.word(RecVCenter, p.centerVertically ? 1 : 0);
        const std::pair<std::uint16_t, double> margins[] = {{RecLeftMargin, p.leftMargin},
                                                            {RecRightMargin, p.rightMargin},
                                                            {RecTopMargin, p.topMargin},
                                                            {RecBottomMargin, p.bottomMargin}};
        for (const auto& [id, inches] : margins) {
            b.begin(id);
            b.f64(inches);
            b.end();
        }
        b.begin(RecSetup);
        b.u16(std::uint16_t(p.paperSize));
        b.u16(std::uint16_t(std::clamp(p.scale, 10, 400)));
        b.u16(1);  // first page number (not used)
        b.u16(std::uint16_t(p.fitWidth));
        b.u16(std::uint16_t(p.fitHeight));
        // Across then down off, portrait; the printer fields are valid, so
        // that the paper size counts.
        b.u16(p.portrait ? 0x0002 : 0x0000);
        b.u16(600);
        b.u16(600);
        b.f64(p.headerMargin);
        b.f64(p.footerMargin);
        b.u16(1);  // copies
        b.end();
    }

    void columns(RecordBuilder& b, const Worksheet& s) const {
        const auto& widths = s.columnWidths();
        for (size_t c = 0; c < widths.size();) {
            if (widths[c] < 0) {
                ++c;
                continue;
            }
            size_t last = c;
            while (last + 1 < widths.size() && widths[last + 1] == widths[c]) ++last;
            b.begin(RecColInfo);
            b.u16(std::uint16_t(c));
            b.u16(std::uint16_t(last));
            b.u16(std::uint16_t(storedColumnWidth(widths[c], m_book.digitWidthPixels())));
            b.u16(kStyleXfCount);
            b.u16(widths[c] == 0 ? 0x0001 : 0x0000);  // a zero width hides the column
            b.u16(0);
            b.end();
            c = last + 1;
        }
    }

    // Rows go in blocks of 32: the block's ROW records, then its cells.
    void cells(RecordBuilder& b, const Worksheet& s) const {
        for (int block = 0; block < s.rowCount(); block += 32) {
            const int end = std::min(block + 32, s.rowCount());
            for (int r = block; r < end; ++r) {
                const std::vector<Cell>& cells = s.row(r);
                if (cells.empty()) continue;
                int height = m_defaultRowHeight;
                for (const Cell& c : cells) height = std::max(height, m_heightOfFormat[c.format]);
                b.begin(RecRow);
                b.u16(std::uint16_t(r));
                b.u16(cells.front().col);
                b.u16(std::uint16_t(cells.back().col + 1));
                b.u16(std::uint16_t(height));
                b.u16(0);
                b.u16(0);
                // Bit 8 is always set; bit 6 says the height is not the default.
                b.u32(0x0100 | (height != m_defaultRowHeight ? 0x0040 : 0));
                b.end();
            }
            for (int r = block; r < end; ++r) row(b, r, s.row(r));
        }
    }

    void row(RecordBuilder& b, int r, const std::vector<Cell>& cells) const {
        for (size_t i = 0; i < cells.size();) {
            const Cell& c = cells[i];
            const std::uint16_t xf = std::uint16_t(kStyleXfCount + c.format);
            if (c.kind == Cell::Kind::Blank) {
                size_t last = i;
                while (last + 1 < cells.size() && cells[last + 1].kind == Cell::Kind::Blank &&
                       cells[last + 1].col == cells[last].col + 1 && last + 1 - i < 250)
                    ++last;
                if (last == i) {
                    b.begin(RecBlank);
                    b.u16(std::uint16_t(r));
                    b.u16(c.col);
                    b.u16(xf);
                    b.end();
                } else {
                    b.begin(RecMulBlank);
                    b.u16(std::uint16_t(r));
                    b.u16(c.col);
                    for (size_t k = i; k <= last; ++k)
                        b.u16(std::uint16_t(kStyleXfCount + cells[k].format));
                    b.u16(cells[last].col);
                    b.end();
                }
                i = last + 1;
                continue;
            }
            switch (c.kind) {
                case Cell::Kind::Number:
                    number(b, r, c.col, xf, c.number);
                    break;
                case Cell::Kind::Text:
                    b.begin(RecLabelSst);
                    b.u16(std::uint16_t(r));
                    b.u16(c.col);
                    b.u16(xf);
                    b.u32(m_strings.index(c.text));
                    b.end();
                    break;
                case Cell::Kind::Formula:
                    b.begin(RecFormula);
                    b.u16(std::uint16_t(r));
                    b.u16(c.col);
                    b.u16(xf);
                    b.f64(c.number);  // last result
                    b.u16(0x0001);    // always calculate
                    b.u32(0);
                    b.u16(std::uint16_t(c.tokens.size()));
                    b.bytes(c.tokens);
                    b.end();
                    break;
                case Cell::Kind::Blank:
                    break;
            }
            ++i;
        }
    }

    // Whole numbers that fit in 30 bits go as RK, the compact form Excel
    // uses for them; the others as NUMBER.
    static void number(RecordBuilder& b, int r, std::uint16_t col, std::uint16_t xf, double v) {
        if (v == std::floor(v) && v >= -536870912.0 && v <= 536870911.0 &&
            !(v == 0 && std::signbit(v))) {
            b.begin(RecRk);
            b.u16(std::uint16_t(r));
            b.u16(col);
            b.u16(xf);
            b.u32(std::uint32_t(std::int32_t(v)) << 2 | 0x02);
            b.end();
            return;
        }
        b.begin(RecNumber);
        b.u16(std::uint16_t(r));
        b.u16(col);
        b.u16(xf);
        b.f64(v);
        b.end();
    }

    const Workbook& m_book;
    QString* m_error;
    SharedStrings m_strings;
    QHash<QString, int> m_customFormats;
    QStringList m_customOrder;
    int m_defaultRowHeight = 255;
    std::vector<int> m_heightOfFormat;
};

}  // namespace

int storedColumnWidth(double characters, int digitWidthPixels) {
    if (characters <= 0) return 0;
    const int mdw = digitWidthPixels > 0 ? digitWidthPixels : 7;
    const int padding = 2 * std::max((mdw + 3) / 4, 2) + 1;
    const int pixels = int(std::lround(characters * mdw)) + padding;
    return std::min(pixels * 256 / mdw, 0xFFFF);
}

int rowHeightForFont(int fontTwips) {
    const double fontPixels = fontTwips / 15.0;
    return int(std::ceil(fontPixels * 1.375 - 1e-9)) * 15;
}

QByteArray workbookStream(const Workbook& book, QString* error) {
    return Writer(book, error).run();
}

QByteArray xlsFile(const Workbook& book, QString* error) {
    const QByteArray stream = workbookStream(book, error);
    return stream.isEmpty() ? QByteArray() : compoundFile(stream);
}

bool writeXls(const Workbook& book, QIODevice& device, QString* error) {
    const QByteArray bytes = xlsFile(book, error);
    if (bytes.isEmpty()) return false;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            if (error) *error = QStringLiteral("寫入失敗: %1").arg(device.errorString());
            return false;
        }
        written += n;
    }
    return true;
}

bool saveXls(const Workbook& book, const QString& path, QString* error) {
    QString invalid;
    const QByteArray bytes = xlsFile(book, &invalid);
    if (bytes.isEmpty()) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, invalid);
        return false;
    }
    // Written beside the old file under a temporary name and renamed over it
    // only when complete: a full disk or a crash leaves the old file whole.
    // Unbuffered, so that a failed write keeps the system's reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        QString why = file.errorString();
        // Qt loses the reason of some failures ("Unknown error"); the folder
        // still tells it (a full disk, a read-only folder).
        if (file.error() == QFileDevice::NoError || why.isEmpty() ||
            why == QLatin1String("Unknown error")) {
            const QString folder = folderWriteProblem(QFileInfo(path).absolutePath());
            if (!folder.isEmpty()) why = folder;
        }
        if (error)
            *error = QStringLiteral("無法寫入 %1: %2")
                         .arg(QDir::toNativeSeparators(path), fileErrorText(why));
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace korvex::xls
