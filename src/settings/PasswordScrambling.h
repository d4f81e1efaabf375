#pragma once

#include <QString>
#include <optional>

namespace korvex {

// The reversible scrambling of the passwords kept in ASSISTANT.INI (and of
// the values the teacher import stores for the grading program). Each
// character's code page 950 code c becomes c - 2 when odd and c + 2 when even
// (decoding: c + 2 when odd, c - 2 when even), and the characters come out
// in reverse order: "abc" <-> "ad_", "5820" <-> "24:3". Double-byte
// characters use their 16-bit code (lead byte * 256 + trail byte).
//
// Accepted passwords are printable ASCII (blank to '~'), the codes 30 and
// 127 (what a scrambled blank and '}' decode to) and double-byte characters
// whose changed code is again a character. Anything else (other control
// characters, characters outside code page 950, a double-byte character that
// would turn into no character) gives nothing rather than a scrambled form
// that could not be read back. DecodePassword reads every printable ASCII
// text. For every accepted text s, DecodePassword(*EncodePassword(s)) == s,
// and DecodePassword accepts exactly the texts EncodePassword can produce.
std::optional<QString> EncodePassword(const QString& plain);
std::optional<QString> DecodePassword(const QString& scrambled);

}  // namespace korvex
