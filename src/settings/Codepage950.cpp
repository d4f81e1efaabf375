#include "settings/Codepage950.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace korvex {

qsizetype codepage950CharLength(QByteArrayView bytes, qsizetype index) {
    const auto lead = static_cast<unsigned char>(bytes[index]);
    if (isCodepage950LeadByte(lead) && index + 1 < bytes.size() &&
        isCodepage950TrailByte(static_cast<unsigned char>(bytes[index + 1])))
        return 2;
    return 1;
}

namespace {

// The user-defined rows as Windows maps them: each row holds 157 codes
// (trail bytes 0x40-0x7E, then 0xA1-0xFE), laid one after the other into the
// private-use area in three blocks.
struct UserDefinedBlock {
    unsigned char firstLead, lastLead;
    char16_t firstCode;
};
constexpr UserDefinedBlock kUserDefinedBlocks[] = {
    {0xFA, 0xFE, 0xE000},
    {0x8E, 0xA0, 0xE311},
    {0x81, 0x8D, 0xEEB8},
};
constexpr int kCodesPerRow = 157;

std::optional<char16_t> decodeWindowsOnly(QByteArrayView bytes, qsizetype index) {
    const auto lead = static_cast<unsigned char>(bytes[index]);
    if (lead == 0x80) return char16_t(0x0080);
    if (lead == 0xFF) return char16_t(0xF8F8);
    if (codepage950CharLength(bytes, index) != 2) return std::nullopt;
    const auto trail = static_cast<unsigned char>(bytes[index + 1]);
    const int column = trail <= 0x7E ? trail - 0x40 : trail - 0xA1 + 63;
    for (const auto& block : kUserDefinedBlocks) {
        if (lead >= block.firstLead && lead <= block.lastLead)
            return char16_t(block.firstCode + (lead - block.firstLead) * kCodesPerRow + column);
    }
    return std::nullopt;
}

std::optional<QByteArray> encodeWindowsOnly(char16_t unit) {
    if (unit == 0x0080) return QByteArray(1, char(0x80));
    if (unit == 0xF8F8) return QByteArray(1, char(0xFF));
    for (const auto& block : kUserDefinedBlocks) {
        const int rows = block.lastLead - block.firstLead + 1;
        const int offset = int(unit) - block.firstCode;
        if (offset < 0 || offset >= rows * kCodesPerRow) continue;
        const int column = offset % kCodesPerRow;
        QByteArray pair(2, Qt::Uninitialized);
        pair[0] = char(block.firstLead + offset / kCodesPerRow);
        pair[1] = char(column < 63 ? 0x40 + column : 0xA1 + column - 63);
        return pair;
    }
    return std::nullopt;
}

}  // namespace

#ifdef _WIN32

namespace {

// Decodes bytes that hold only characters; nothing when some byte or pair is
// not one.
std::optional<QString> decodeStrict(const char* bytes, int size) {
    const int length = MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, bytes, size,
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

}  // namespace

QString fromCodepage950(QByteArrayView bytes) {
    if (bytes.isEmpty()) return QString();
    if (auto whole = decodeStrict(bytes.data(), int(bytes.size()))) return *whole;
    // Left to itself Windows turns a bad byte into '?' and swallows the byte
    // after a lone lead byte; decode one character at a time instead, so each
    // bad byte or pair gives one U+FFFD and the byte after it is kept, as on
    // every other system.
    QString text;
    text.reserve(bytes.size());
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype length = codepage950CharLength(bytes, pos);
        if (const auto character = decodeStrict(bytes.data() + pos, int(length)))
            text.append(*character);
        else
            text.append(QChar(decodeWindowsOnly(bytes, pos).value_or(char16_t(0xFFFD))));
        pos += length;
    }
    return text;
}

namespace {

// Encodes text all of whose characters have a code; nothing otherwise.
std::optional<QByteArray> encodeStrict(QStringView text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(950, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), nullptr,
                                         0, nullptr, &usedDefault);
    if (usedDefault || size <= 0) return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(950, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), bytes.data(), size,
                        nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<QByteArray> toCodepage950(QStringView text) {
    if (text.isEmpty()) return QByteArray();
    if (auto whole = encodeStrict(text)) return whole;
    // The codes Windows adds to Big5 come from the same table on every
    // system, whatever this Windows' own table holds.
    QByteArray bytes;
    for (const QChar c : text) {
        auto code = encodeStrict(QStringView(&c, 1));
        if (!code) code = encodeWindowsOnly(c.unicode());
        if (!code) return std::nullopt;
        bytes += *code;
    }
    return bytes;
}

#else

namespace {

// One conversion descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    // iconv_open's failure is (iconv_t)-1.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

}  // namespace

QString fromCodepage950(QByteArrayView bytes) {
    thread_local Converter converter("UTF-16LE", "CP950");
    QString text;
    text.reserve(bytes.size());
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (converter.valid()) {
            iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
            char16_t buffer[1024];
            char* in = const_cast<char*>(bytes.data() + pos);
            size_t inLeft = size_t(bytes.size() - pos);
            char* out = reinterpret_cast<char*>(buffer);
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
            const int error = errno;
            text.append(QStringView(buffer, (reinterpret_cast<char16_t*>(out) - buffer)));
            pos = in - bytes.data();
            if (result != size_t(-1) || (error == E2BIG)) continue;
        }
        if (pos >= bytes.size()) break;
        // A byte or pair iconv does not know: Windows' own codes, or not a character.
        const auto unit = decodeWindowsOnly(bytes, pos);
        text.append(QChar(unit.value_or(char16_t(0xFFFD))));
        pos += codepage950CharLength(bytes, pos);
    }
    return text;
}

std::optional<QByteArray> toCodepage950(QStringView text) {
    thread_local Converter converter("CP950", "UTF-16LE");
    if (!converter.valid()) return std::nullopt;
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    qsizetype pos = 0;
    while (pos < text.size()) {
        iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
        char buffer[2048];
        char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.utf16() + pos));
        size_t inLeft = size_t(text.size() - pos) * 2;
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        bytes.append(buffer, out - buffer);
        pos = reinterpret_cast<const char16_t*>(in) - text.utf16();
        if (result != size_t(-1) || error == E2BIG) continue;
        const auto extra = encodeWindowsOnly(text[pos].unicode());
        if (!extra) return std::nullopt;
        bytes.append(*extra);
        ++pos;
    }
    return bytes;
}

#endif

}  // namespace korvex
