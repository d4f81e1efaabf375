#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace korvex {

// Text in code page 950 (Traditional Chinese, the Windows flavour of Big5):
// the encoding of ASSISTANT.INI and of every other ANSI text the old
// Windows program kept. Besides the Big5 table this covers what Windows adds:
// the single bytes 0x80 and 0xFF and the user-defined rows (lead bytes 0x81 to
// 0xA0 and 0xFA to 0xFE, mapped to the private-use area), where schools keep
// the characters they made for rare names.

// Decodes bytes; a byte or pair that is not a character decodes as U+FFFD,
// so any input gives some text.
QString fromCodepage950(QByteArrayView bytes);

// Encodes text; nothing when some character has no code in code page 950.
std::optional<QByteArray> toCodepage950(QStringView text);

// True for a byte that begins a double-byte character.
constexpr bool isCodepage950LeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
// True for a byte that can follow a lead byte.
constexpr bool isCodepage950TrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
}
// Length in bytes (1 or 2) of the character that begins at bytes[index].
qsizetype codepage950CharLength(QByteArrayView bytes, qsizetype index);

}  // namespace korvex
