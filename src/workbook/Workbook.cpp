#include "workbook/Workbook.h"

namespace korvex::xls {

QByteArray CellFormat::key() const {
    QByteArray k;
    k.reserve(32 + numberFormat.size() * 2);
    k.append(QByteArray::number(font));
    k.append('|');
    k.append(numberFormat.toUtf8());
    k.append('|');
    const char flags[] = {char(horizontal), char(vertical), char(wrap),
                          char(left),       char(right),    char(top),
                          char(bottom),     char(locked),   char(quotePrefix)};
    k.append(flags, sizeof flags);
    return k;
}

Workbook::Workbook(const Font& defaultFont, int digitWidthPixels)
    : m_digitWidth(digitWidthPixels > 0 ? digitWidthPixels : 7) {
    m_fonts.push_back(defaultFont);
    format(CellFormat{});
}

int Workbook::font(const Font& f) {
    for (size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i] == f) return int(i);
    m_fonts.push_back(f);
    return int(m_fonts.size()) - 1;
}

int Workbook::format(const CellFormat& f) {
    const QByteArray k = f.key();
    const auto it = m_formatIndex.constFind(k);
    if (it != m_formatIndex.constEnd()) return it.value();
    CellFormat stored = f;
    if (stored.font < 0 || size_t(stored.font) >= m_fonts.size()) stored.font = 0;
    m_formats.push_back(stored);
    const int index = int(m_formats.size()) - 1;
    m_formatIndex.insert(k, index);
    return index;
}

int Workbook::quotePrefixed(int index) {
    if (index < 0 || size_t(index) >= m_formats.size()) index = 0;
    if (m_formats[size_t(index)].quotePrefix) return index;
    CellFormat f = m_formats[size_t(index)];
    f.quotePrefix = true;
    return format(f);
}

int Workbook::findSheet(const QString& name) const {
    for (size_t i = 0; i < m_sheets.size(); ++i)
        if (m_sheets[i].name().compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

void Workbook::setActiveSheet(int index) {
    if (index >= 0 && index < sheetCount()) m_active = index;
}

bool Workbook::appendSheet(const QString& name) {
    if (!validSheetName(name) || findSheet(name) >= 0) return false;
    m_sheets.emplace_back(name);
    ++m_sheetCounter;
    return true;
}

int Workbook::addSheetBeforeActive() {
    // The counter only grows: names of deleted or renamed sheets are not
    // given out again, and names another sheet has taken are skipped.
    QString name;
    do {
        name = QStringLiteral("Sheet%1").arg(++m_sheetCounter);
    } while (findSheet(name) >= 0);
    const int at = m_sheets.empty() ? 0 : m_active;
    m_sheets.insert(m_sheets.begin() + at, Worksheet(name));
    m_active = at;
    return at;
}

bool Workbook::renameSheet(int index, const QString& name) {
    if (index < 0 || index >= sheetCount() || !validSheetName(name)) return false;
    const int other = findSheet(name);
    if (other >= 0 && other != index) return false;
    m_sheets[size_t(index)].setNameUnchecked(name);
    return true;
}

std::vector<int> Workbook::importFormats(const Workbook& other) {
    std::vector<int> fontMap;
    fontMap.reserve(other.m_fonts.size());
    for (const Font& f : other.m_fonts) fontMap.push_back(font(f));
    std::vector<int> map;
    map.reserve(other.m_formats.size());
    for (const CellFormat& f : other.m_formats) {
        CellFormat copy = f;
        copy.font = fontMap[size_t(f.font)];
        map.push_back(format(copy));
    }
    return map;
}

bool validSheetName(const QString& name) {
    if (name.isEmpty() || name.size() > 31) return false;
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\''))) return false;
    for (QChar c : name) {
        switch (c.unicode()) {
            case ':':
            case '\\':
            case '/':
            case '?':
            case '*':
            case '[':
            case ']':
                return false;
            default:
                break;
        }
    }
    return name.compare(QLatin1String("History"), Qt::CaseInsensitive) != 0;
}

}  // namespace korvex::xls
