#include "workbook/FormulaTokens.h"

#include <cmath>

#include "workbook/RecordBuilder.h"

namespace korvex::xls {
namespace {

// Token ids. Operands are written in value class, as Excel writes the
// operands of operators and of functions taking values.
constexpr std::uint8_t kPtgAdd = 0x03;
constexpr std::uint8_t kPtgSub = 0x04;
constexpr std::uint8_t kPtgMul = 0x05;
constexpr std::uint8_t kPtgDiv = 0x06;
constexpr std::uint8_t kPtgUminus = 0x13;
constexpr std::uint8_t kPtgParen = 0x15;
constexpr std::uint8_t kPtgInt = 0x1E;
constexpr std::uint8_t kPtgNum = 0x1F;
constexpr std::uint8_t kPtgFuncValue = 0x41;
constexpr std::uint8_t kPtgRefValue = 0x44;

struct Function {
    const char* name;
    std::uint16_t index;  // Excel's built-in function number
    int arguments;
};
constexpr Function kFunctions[] = {
    {"ROUND", 27, 2},
};

class Parser {
public:
    Parser(const QString& text, QByteArray& out) : m_text(text), m_b(out) {}

    bool parse() {
        if (!expression()) return false;
        skipBlanks();
        if (m_pos != m_text.size()) return fail(QStringLiteral("多餘的字元"));
        return true;
    }
    QString error;

private:
    bool fail(const QString& what) {
        if (error.isEmpty())
            error = QStringLiteral("公式錯誤 (第 %1 個字元): %2").arg(m_pos + 1).arg(what);
        return false;
    }
    void skipBlanks() {
        while (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char(' ')) ++m_pos;
    }
    QChar peek() {
        skipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : QChar();
    }

    bool expression() {
        if (!term()) return false;
        for (QChar op = peek(); op == QLatin1Char('+') || op == QLatin1Char('-'); op = peek()) {
            ++m_pos;
            if (!term()) return false;
            m_b.u8(op == QLatin1Char('+') ? kPtgAdd : kPtgSub);
        }
        return true;
    }
    bool term() {
        if (!factor()) return false;
        for (QChar op = peek(); op == QLatin1Char('*') || op == QLatin1Char('/'); op = peek()) {
            ++m_pos;
            if (!factor()) return false;
            m_b.u8(op == QLatin1Char('*') ? kPtgMul : kPtgDiv);
        }
        return true;
    }
    bool factor() {
        const QChar c = peek();
        if (c == QLatin1Char('-')) {
            ++m_pos;
            if (!factor()) return false;
            m_b.u8(kPtgUminus);
            return true;
        }
        if (c == QLatin1Char('(')) {
            ++m_pos;
            if (!expression()) return false;
            if (peek() != QLatin1Char(')')) return fail(QStringLiteral("缺少右括號"));
            ++m_pos;
            m_b.u8(kPtgParen);
            return true;
        }
        if (c.isDigit() || c == QLatin1Char('.')) return number();
        if (c == QLatin1Char('$') || (c.unicode() < 128 && c.isLetter())) return referenceOrCall();
        return fail(QStringLiteral("無法解讀"));
    }
    bool number() {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() &&
               (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.')))
            ++m_pos;
        if (m_pos < m_text.size() &&
            (m_text[m_pos] == QLatin1Char('E') || m_text[m_pos] == QLatin1Char('e'))) {
            ++m_pos;
            if (m_pos < m_text.size() &&
                (m_text[m_pos] == QLatin1Char('+') || m_text[m_pos] == QLatin1Char('-')))
                ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos].isDigit()) ++m_pos;
        }
        bool ok = false;
        const double v = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (!ok) return fail(QStringLiteral("數字錯誤"));
        if (v >= 0 && v <= 65535 && v == std::floor(v)) {
            m_b.u8(kPtgInt);
            m_b.u16(std::uint16_t(v));
        } else {
            m_b.u8(kPtgNum);
            m_b.f64(v);
        }
        return true;
    }
    bool referenceOrCall() {
        const qsizetype start = m_pos;
        const bool colAbsolute = m_text[m_pos] == QLatin1Char('$');
        if (colAbsolute) ++m_pos;
        QString letters;
        while (m_pos < m_text.size() && m_text[m_pos].unicode() < 128 && m_text[m_pos].isLetter())
            letters += m_text[m_pos++].toUpper();
        if (!colAbsolute && m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('('))
            return call(letters);
        const bool rowAbsolute = m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('$');
        if (rowAbsolute) ++m_pos;
        const qsizetype digits = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].isDigit()) ++m_pos;
        if (letters.isEmpty() || letters.size() > 2 || digits == m_pos) {
            m_pos = start;
            return fail(QStringLiteral("儲存格參照錯誤"));
        }
        int col = 0;
        for (QChar l : letters) col = col * 26 + (l.unicode() - 'A' + 1);
        --col;
        const long row = m_text.mid(digits, m_pos - digits).toLong() - 1;
        if (col > 255 || row < 0 || row > 65535) {
            m_pos = start;
            return fail(QStringLiteral("儲存格超出範圍"));
        }
        m_b.u8(kPtgRefValue);
        m_b.u16(std::uint16_t(row));
        // Bits 14 and 15 mark the column and the row as relative.
        m_b.u16(std::uint16_t(col | (colAbsolute ? 0 : 0x4000) | (rowAbsolute ? 0 : 0x8000)));
        return true;
    }
    bool call(const QString& name) {
        const Function* function = nullptr;
        for (const Function& f : kFunctions)
            if (name == QLatin1String(f.name)) function = &f;
        if (!function) return fail(QStringLiteral("不支援的函數 %1").arg(name));
        ++m_pos;  // (
        for (int i = 0; i < function->arguments; ++i) {
            if (i > 0) {
                if (peek() != QLatin1Char(','))
                    return fail(QStringLiteral("%1 的參數個數不對").arg(name));
                ++m_pos;
            }
            if (!expression()) return false;
        }
        if (peek() != QLatin1Char(')')) return fail(QStringLiteral("%1 的參數個數不對").arg(name));
        ++m_pos;
        m_b.u8(kPtgFuncValue);
        m_b.u16(function->index);
        return true;
    }

    const QString& m_text;
    RecordBuilder m_b;
    qsizetype m_pos = 0;
};

}  // namespace

QByteArray formulaTokens(const QString& formula, QString* error) {
    QByteArray out;
    Parser parser(formula, out);
    if (!parser.parse()) {
        if (error) *error = parser.error;
        return {};
    }
    return out;
}

QString columnName(int col) {
    QString name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

QString cellName(int row, int col) { return columnName(col) + QString::number(row + 1); }

}  // namespace korvex::xls
