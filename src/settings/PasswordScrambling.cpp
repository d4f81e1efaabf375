#include "settings/PasswordScrambling.h"

#include "settings/Codepage950.h"

namespace korvex {

namespace {

// The code page 950 code of one character: its byte, or lead * 256 + trail.
std::optional<int> codeOf(QChar character) {
    const auto bytes = toCodepage950(QStringView(&character, 1));
    if (!bytes || bytes->isEmpty() || bytes->size() > 2) return std::nullopt;
    const auto first = static_cast<unsigned char>(bytes->at(0));
    if (bytes->size() == 1) return first;
    return first * 256 + static_cast<unsigned char>(bytes->at(1));
}

// The character whose code is `code`, when there is one and it encodes back
// to the same code.
std::optional<QChar> characterOf(int code) {
    if (code < 0 || code > 0xFFFF) return std::nullopt;
    QByteArray bytes;
    if (code > 0xFF) bytes.append(char(code >> 8));
    bytes.append(char(code & 0xFF));
    const QString text = fromCodepage950(bytes);
    if (text.size() != 1 || text[0] == QChar(0xFFFD)) return std::nullopt;
    if (codeOf(text[0]) != code) return std::nullopt;
    return text[0];
}

// Plain passwords are printable ASCII or double-byte characters, and the two
// control characters that a printable scrambled character decodes to: a
// blank (32) decodes to 30 and '}' (125) to 127. Accepting those keeps every
// printable scrambled text readable (a hand-edited PASSWD is decoded, not
// thrown away) and lets the decoded password be scrambled back unchanged.
bool isAcceptedPlainCode(int code) {
    return code == 0x1E || (code >= 0x20 && code <= 0x7F) || code > 0xFF;
}

enum class Direction { Encode, Decode };

std::optional<QString> scramble(const QString& text, Direction direction) {
    QString result;
    result.reserve(text.size());
    for (const QChar character : text) {
        const auto code = codeOf(character);
        if (!code) return std::nullopt;
        const bool odd = (*code % 2) != 0;
        const int changed = direction == Direction::Encode ? (odd ? *code - 2 : *code + 2)
                                                           : (odd ? *code + 2 : *code - 2);
        const int plainCode = direction == Direction::Encode ? *code : changed;
        if (!isAcceptedPlainCode(plainCode)) return std::nullopt;
        const auto out = characterOf(changed);
        if (!out) return std::nullopt;
        // Each character goes in front of those already done, so the result
        // comes out reversed.
        result.prepend(*out);
    }
    return result;
}

}  // namespace

std::optional<QString> EncodePassword(const QString& plain) {
    return scramble(plain, Direction::Encode);
}

std::optional<QString> DecodePassword(const QString& scrambled) {
    return scramble(scrambled, Direction::Decode);
}

}  // namespace korvex
