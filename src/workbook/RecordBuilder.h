#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace korvex::xls {

// Appends Excel 97 (BIFF8) records to a byte stream: a record is its id, the
// size of its payload and the payload, all little-endian. A payload holds at
// most 8224 bytes; longer data goes on in CONTINUE records, which only the
// shared-string table needs (see SharedStrings).
class RecordBuilder {
public:
    static constexpr int kMaxPayload = 8224;

    explicit RecordBuilder(QByteArray& out) : m_out(out) {}

    // Starts a record; end() writes its size. Records do not nest.
    void begin(std::uint16_t id);
    void end();
    // A whole record from a few values.
    void empty(std::uint16_t id) { begin(id), end(); }
    void word(std::uint16_t id, std::uint16_t value) { begin(id), u16(value), end(); }

    void u8(std::uint8_t v) { *grow(1) = char(v); }
    void u16(std::uint16_t v) {
        char* p = grow(2);
        p[0] = char(v & 0xFF);
        p[1] = char(v >> 8);
    }
    void u32(std::uint32_t v) {
        char* p = grow(4);
        for (int i = 0; i < 4; ++i) p[i] = char((v >> (8 * i)) & 0xFF);
    }
    void f64(double v);
    void bytes(const QByteArray& b) { m_out.append(b); }
    void zeros(int count) { m_out.append(count, '\0'); }
    // UTF-16LE characters, no header.
    void utf16(const QString& text);
    // Low bytes of characters that all lie below U+0100, no header.
    void latin1(const QString& text);
    // ShortXLUnicodeString (8-bit length) and XLUnicodeString (16-bit
    // length): header, then the characters, compressed when they allow it.
    void shortString(const QString& text);
    void longString(const QString& text);

    // Size of the payload written since begin().
    int payloadSize() const { return int(m_out.size()) - m_start - 4; }
    int position() const { return int(m_out.size()); }
    QByteArray& out() { return m_out; }

private:
    // Room for n more bytes at the end; resizing within the reserved
    // capacity is much cheaper than appending a few bytes at a time.
    char* grow(qsizetype n) {
        const qsizetype at = m_out.size();
        m_out.resize(at + n);
        return m_out.data() + at;
    }

    QByteArray& m_out;
    int m_start = -1;
};

// Whether every character lies below U+0100, so that the string can be stored
// one byte per character.
bool fitsCompressed(const QString& text);

// Writes a little-endian value at a fixed place of a byte array.
void putU16(QByteArray& data, int offset, std::uint16_t value);
void putU32(QByteArray& data, int offset, std::uint32_t value);

// The 16-bit verifier Excel keeps for a sheet or workbook password. The
// password is given in the ANSI code page, as Excel hashes it.
std::uint16_t passwordHash(const QByteArray& ansiPassword);

}  // namespace korvex::xls
