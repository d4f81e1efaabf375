#include "settings/PrivateProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "settings/Codepage950.h"

namespace korvex {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArray kUtf16Mark("\xFF\xFE", 2);
const QByteArray kLineBreak("\r\n", 2);

// Blanks around names and values: space, TAB and vertical tab.
bool isBlank(char byte) { return byte == ' ' || byte == '\t' || byte == '\v'; }

QByteArrayView trimmed(QByteArrayView bytes) {
    qsizetype begin = 0, end = bytes.size();
    while (begin < end && isBlank(bytes[begin])) ++begin;
    while (end > begin && isBlank(bytes[end - 1])) --end;
    return bytes.sliced(begin, end - begin);
}

bool isQuote(char byte) { return byte == '"' || byte == '\''; }

// True when the reader would not give `bytes` back unchanged.
bool readerWouldChange(QByteArrayView bytes) {
    if (bytes.isEmpty()) return false;
    if (isBlank(bytes.front()) || isBlank(bytes.back())) return true;
    return bytes.size() >= 2 && isQuote(bytes.front()) && bytes.front() == bytes.back();
}

// Section and key arguments lose their surrounding spaces.
QStringView trimmedSpaces(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.sliced(begin, end - begin);
}

}  // namespace

PrivateProfile PrivateProfile::fromFileBytes(const QByteArray& fileBytes) {
    PrivateProfile profile;
    if (fileBytes.startsWith(kUtf16Mark)) {
        profile.m_encoding = Encoding::Utf16;
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        const QString text = decoder(QByteArrayView(fileBytes).sliced(kUtf16Mark.size()));
        profile.m_data = text.toUtf8();
    } else if (fileBytes.startsWith(kUtf8Mark)) {
        profile.m_encoding = Encoding::Utf8;
        profile.m_data = fileBytes.mid(kUtf8Mark.size());
    } else {
        profile.m_data = fileBytes;
    }
    return profile;
}

bool PrivateProfile::load(const QString& path) {
    *this = PrivateProfile();
    const QFileInfo info(path);
    if (!info.exists()) return true;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    *this = fromFileBytes(bytes);
    return true;
}

bool PrivateProfile::save(const QString& path) const {
    const QFileInfo info(path);
    if (info.exists() && (info.isDir() || !info.isWritable())) return false;
    QSaveFile file(path);
    // A folder where no temporary file can be made still lets the file itself
    // be rewritten.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = fileBytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray PrivateProfile::fileBytes() const {
    switch (m_encoding) {
        case Encoding::Codepage950:
            return m_data;
        case Encoding::Utf8:
            return kUtf8Mark + m_data;
        case Encoding::Utf16: {
            QStringEncoder encoder(QStringEncoder::Utf16LE);
            return kUtf16Mark + QByteArray(encoder(QString::fromUtf8(m_data)));
        }
    }
    return m_data;
}

std::vector<PrivateProfile::Line> PrivateProfile::lines() const {
    std::vector<Line> result;
    qsizetype begin = 0;
    const qsizetype size = m_data.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char byte = m_data[i];
        if (byte != '\r' && byte != '\n') continue;
        const qsizetype next =
            (byte == '\r' && i + 1 < size && m_data[i + 1] == '\n') ? i + 2 : i + 1;
        result.push_back({begin, i, next});
        begin = next;
        i = next - 1;
    }
    if (begin < size) result.push_back({begin, size, size});
    return result;
}

std::optional<QByteArray> PrivateProfile::sectionNameOf(const Line& line) const {
    qsizetype pos = line.begin;
    while (pos < line.end && isBlank(m_data[pos])) ++pos;
    if (pos >= line.end || m_data[pos] != '[') return std::nullopt;
    const qsizetype nameBegin = ++pos;
    // The name ends at the first ']' that is a character of its own, not the
    // second byte of a double-byte character.
    while (pos < line.end && m_data[pos] != ']')
        pos += m_encoding == Encoding::Codepage950 ? codepage950CharLength(m_data, pos) : 1;
    pos = std::min(pos, line.end);
    return trimmed(QByteArrayView(m_data).sliced(nameBegin, pos - nameBegin)).toByteArray();
}

std::optional<std::pair<QByteArray, qsizetype>> PrivateProfile::keyOf(const Line& line) const {
    if (sectionNameOf(line)) return std::nullopt;
    qsizetype pos = line.begin;
    while (pos < line.end && isBlank(m_data[pos])) ++pos;
    if (pos >= line.end || m_data[pos] == ';') return std::nullopt;
    // '=' is below the range of second bytes, so a plain search is safe.
    const qsizetype equals = m_data.indexOf('=', pos);
    if (equals < 0 || equals >= line.end) return std::nullopt;
    const QByteArray key = trimmed(QByteArrayView(m_data).sliced(pos, equals - pos)).toByteArray();
    return std::make_pair(key, equals + 1);
}

QByteArray PrivateProfile::folded(QByteArrayView bytes) const {
    QByteArray result(bytes.toByteArray());
    for (qsizetype i = 0; i < result.size();) {
        const qsizetype length =
            m_encoding == Encoding::Codepage950 ? codepage950CharLength(result, i) : 1;
        if (length == 1 && result[i] >= 'A' && result[i] <= 'Z') result[i] = char(result[i] + 32);
        i += length;
    }
    return result;
}

std::optional<PrivateProfile::SectionRange> PrivateProfile::findSection(
    const std::vector<Line>& all, const QByteArray& foldedName) const {
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto name = sectionNameOf(all[i]);
        if (!name || folded(*name) != foldedName) continue;
        std::size_t end = i + 1;
        while (end < all.size() && !sectionNameOf(all[end])) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<QByteArray> PrivateProfile::encode(QStringView text) const {
    if (m_encoding == Encoding::Codepage950) return toCodepage950(text);
    return text.toUtf8();
}

QString PrivateProfile::decode(QByteArrayView bytes) const {
    if (m_encoding == Encoding::Codepage950) return fromCodepage950(bytes);
    return QString::fromUtf8(bytes);
}

std::optional<QString> PrivateProfile::value(QStringView section, QStringView key) const {
    const auto sectionBytes = encode(trimmedSpaces(section));
    const auto keyBytes = encode(trimmedSpaces(key));
    if (!sectionBytes || !keyBytes || keyBytes->isEmpty()) return std::nullopt;
    const auto all = lines();
    const auto range = findSection(all, folded(*sectionBytes));
    if (!range) return std::nullopt;
    const QByteArray wanted = folded(*keyBytes);
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto found = keyOf(all[i]);
        if (!found || folded(found->first) != wanted) continue;
        QByteArrayView raw =
            QByteArrayView(m_data).sliced(found->second, all[i].end - found->second);
        // The value is a C string for the platform: it ends at a NUL byte.
        if (const qsizetype nul = raw.indexOf('\0'); nul >= 0) raw = raw.first(nul);
        raw = trimmed(raw);
        if (raw.size() >= 2 && isQuote(raw.front()) && raw.front() == raw.back())
            raw = raw.sliced(1, raw.size() - 2);
        return decode(raw);
    }
    return std::nullopt;
}

bool PrivateProfile::canStore(QStringView value) const {
    for (const QChar c : value) {
        if (c == u'\r' || c == u'\n' || c == u'\0') return false;
    }
    return encode(value).has_value();
}

bool PrivateProfile::setValue(QStringView section, QStringView key, QStringView value) {
    const QStringView sectionName = trimmedSpaces(section);
    const QStringView keyName = trimmedSpaces(key);
    // Names that would not read back as the same section or key are refused.
    if (sectionName.isEmpty() || keyName.isEmpty() || sectionName.contains(u']') ||
        keyName.contains(u'=') || keyName.startsWith(u';') || keyName.startsWith(u'[') ||
        !canStore(sectionName) || !canStore(keyName) || !canStore(value))
        return false;
    const QByteArray sectionBytes = *encode(sectionName);
    const QByteArray keyBytes = *encode(keyName);
    QByteArray valueBytes = *encode(value);
    if (readerWouldChange(valueBytes)) valueBytes = '"' + valueBytes + '"';

    const auto all = lines();
    const auto range = findSection(all, folded(sectionBytes));
    if (!range) {
        QByteArray added;
        if (!m_data.isEmpty() && !m_data.endsWith('\r') && !m_data.endsWith('\n'))
            added += kLineBreak;
        added += '[' + sectionBytes + ']' + kLineBreak + keyBytes + '=' + valueBytes + kLineBreak;
        m_data += added;
        return true;
    }

    const QByteArray wanted = folded(keyBytes);
    std::size_t lastKeyLine = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto found = keyOf(all[i]);
        if (!found) continue;
        if (folded(found->first) == wanted) {
            m_data.replace(found->second, all[i].end - found->second, valueBytes);
            return true;
        }
        lastKeyLine = i;
    }
    // A new key goes right after the section's last key, before any comment
    // or blank lines that close the section.
    const Line& after = all[lastKeyLine];
    QByteArray added;
    if (after.next == after.end) added += kLineBreak;  // the file ended without a line break
    added += keyBytes + '=' + valueBytes + kLineBreak;
    m_data.insert(after.next, added);
    return true;
}

QString ansiProfileText(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n' || c == u'\0') break;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            result += u'?';
            ++i;
        } else if (c.unicode() >= 0x80 && !toCodepage950(QStringView(&c, 1))) {
            result += u'?';
        } else {
            result += c;
        }
    }
    return result;
}

QString cutToCodepage950Bytes(const QString& text, qsizetype maxBytes) {
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype units = 1;
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            units = 2;
        } else if (text[i].unicode() >= 0x80) {
            const auto encoded = toCodepage950(QStringView(text).sliced(i, 1));
            if (encoded) length = encoded->size();
        }
        if (bytes + length > maxBytes) break;
        bytes += length;
        i += units;
    }
    return text.left(i);
}

QString getPrivateProfileString(const PrivateProfile& profile, QStringView section, QStringView key,
                                const QString& defaultValue, int bufferSize) {
    if (bufferSize <= 0) return QString();
    QString result;
    if (const auto found = profile.value(section, key)) {
        result = *found;
    } else {
        qsizetype end = defaultValue.size();
        while (end > 0 && defaultValue[end - 1] == u' ') --end;
        result = defaultValue.left(end);
    }
    return cutToCodepage950Bytes(result, bufferSize - 1);
}

}  // namespace korvex
