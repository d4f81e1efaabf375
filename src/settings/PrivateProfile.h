#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace korvex {

// An INI file read and edited the way the Windows private-profile functions
// do it, so that ASSISTANT.INI stays exchangeable with the old program:
//
// - Lines end in CRLF, LF or CR. A line whose first non-blank character is
//   '[' starts a section; its name runs to the first ']' (or the line's end)
//   and loses surrounding blanks. Text before the first section belongs to
//   none. A line beginning with ';' is a comment; a line without '=' is no key.
// - Section and key names match without regard to letter case; the first
//   section of a name wins (later ones are invisible), and within it the
//   first line of a key.
// - A value loses surrounding blanks (space, TAB, VT), then one outer pair of
//   matching quotes ('...' or "...").
// - Writing replaces the value of an existing key in place (the stored
//   spelling of names kept), inserts a new key right after the section's last
//   key line, or appends a new section at the end; new lines end in CRLF.
//   Every other byte of the file stays as it was.
//
// Unlike the Windows call, a value is written so that it reads back as it
// was given: when the read rules would change it (surrounding blanks, or an
// outer pair of matching quotes of its own) it is written inside one more
// pair of double quotes, which the reader removes again.
//
// The text is code page 950 (no byte order mark). A file that begins with a
// UTF-16LE mark is read and written as UTF-16LE, as Windows does; a file
// that begins with a UTF-8 mark (left by an editor) is read and written as
// UTF-8 rather than letting the mark hide the first section.
class PrivateProfile {
public:
    enum class Encoding { Codepage950, Utf8, Utf16 };

    PrivateProfile() = default;
    // A profile holding the given file contents.
    static PrivateProfile fromFileBytes(const QByteArray& fileBytes);

    // Reads the file. A missing file gives an empty profile; false when the
    // file exists but cannot be read (the profile is then empty).
    bool load(const QString& path);
    // Writes the whole file at once (through a temporary file where the
    // folder allows it). False when it cannot be written; a file marked
    // read-only is not replaced.
    bool save(const QString& path) const;

    // The file contents as save() writes them.
    QByteArray fileBytes() const;
    Encoding encoding() const { return m_encoding; }

    // The value of `key` in `section`, or nothing when either is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // Whether `value` can be written to this file: no line breaks or NUL, and
    // every character in the file's code page.
    bool canStore(QStringView value) const;
    // Sets `key` in `section` to `value`; false (and nothing changed) when
    // the value cannot be stored or a name is empty.
    bool setValue(QStringView section, QStringView key, QStringView value);

private:
    struct Line {
        qsizetype begin;  // first byte
        qsizetype end;    // end of the text, before the line break
        qsizetype next;   // first byte of the following line
    };
    struct SectionRange {
        std::size_t header;  // index of the section line
        std::size_t end;     // index of the next section line, or the line count
    };

    std::vector<Line> lines() const;
    std::optional<QByteArray> sectionNameOf(const Line& line) const;
    // Key (trimmed) and the offset just past its '=', for a key line.
    std::optional<std::pair<QByteArray, qsizetype>> keyOf(const Line& line) const;
    std::optional<SectionRange> findSection(const std::vector<Line>& all,
                                            const QByteArray& foldedName) const;
    QByteArray folded(QByteArrayView bytes) const;
    std::optional<QByteArray> encode(QStringView text) const;
    QString decode(QByteArrayView bytes) const;

    QByteArray m_data;  // code page 950 or UTF-8 text, without a byte order mark
    Encoding m_encoding = Encoding::Codepage950;
};

// GetPrivateProfileStringA into a buffer of `bufferSize` bytes: the value,
// or `defaultValue` less its trailing spaces when the key is missing, cut to
// bufferSize - 1 bytes of code page 950. A double-byte character that would
// be split by the cut is left out whole, so the result never ends in half a
// character.
QString getPrivateProfileString(const PrivateProfile& profile, QStringView section, QStringView key,
                                const QString& defaultValue, int bufferSize);

// `text` as the old program's ANSI profile call stores it: every character
// outside code page 950 becomes '?' (a character beyond U+FFFF is one '?'),
// and the text ends before its first line break or NUL, which is what reads
// back from the file. Text that can be stored comes back unchanged.
QString ansiProfileText(const QString& text);

// `text` cut to at most `maxBytes` bytes of code page 950 without splitting a
// character (a character outside the code page counts as the one byte '?'
// it would become).
QString cutToCodepage950Bytes(const QString& text, qsizetype maxBytes);

}  // namespace korvex
