#include "workbook/RecordBuilder.h"

#include <cstring>

namespace korvex::xls {

void RecordBuilder::begin(std::uint16_t id) {
    m_start = int(m_out.size());
    u16(id);
    u16(0);
}

void RecordBuilder::end() {
    putU16(m_out, m_start + 2, std::uint16_t(payloadSize()));
    m_start = -1;
}

void RecordBuilder::f64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(std::uint32_t(bits & 0xFFFFFFFFu));
    u32(std::uint32_t(bits >> 32));
}

void RecordBuilder::utf16(const QString& text) {
    char* p = grow(text.size() * 2);
    for (QChar c : text) {
        *p++ = char(c.unicode() & 0xFF);
        *p++ = char(c.unicode() >> 8);
    }
}

void RecordBuilder::latin1(const QString& text) {
    char* p = grow(text.size());
    for (QChar c : text) *p++ = char(c.unicode());
}

void RecordBuilder::shortString(const QString& text) {
    const bool compressed = fitsCompressed(text);
    u8(std::uint8_t(text.size()));
    u8(compressed ? 0 : 1);
    compressed ? latin1(text) : utf16(text);
}

void RecordBuilder::longString(const QString& text) {
    const bool compressed = fitsCompressed(text);
    u16(std::uint16_t(text.size()));
    u8(compressed ? 0 : 1);
    compressed ? latin1(text) : utf16(text);
}

bool fitsCompressed(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF) return false;
    return true;
}

void putU16(QByteArray& data, int offset, std::uint16_t value) {
    data[offset] = char(value & 0xFF);
    data[offset + 1] = char(value >> 8);
}

void putU32(QByteArray& data, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) data[offset + i] = char((value >> (8 * i)) & 0xFF);
}

std::uint16_t passwordHash(const QByteArray& ansiPassword) {
    if (ansiPassword.isEmpty()) return 0;
    // Each byte is rotated left by its 1-based position inside 15 bits and
    // folded in; the length and a fixed key finish the verifier.
    std::uint32_t hash = 0;
    for (qsizetype k = 0; k < ansiPassword.size(); ++k) {
        const std::uint32_t shifted = std::uint32_t(std::uint8_t(ansiPassword[k])) << (k + 1) % 15;
        const std::uint32_t rotated = (shifted & 0x7FFF) | (shifted >> 15);
        hash ^= rotated;
    }
    hash ^= std::uint32_t(ansiPassword.size());
    hash ^= 0xCE4B;
    return std::uint16_t(hash);
}

}  // namespace korvex::xls
