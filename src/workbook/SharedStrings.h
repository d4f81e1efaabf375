#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace korvex::xls {

class RecordBuilder;

// The workbook's shared-string table: text cells refer to their string by
// index. Collected while the sheets are scanned, written as SST (continued in
// CONTINUE records as needed) followed by EXTSST, which tells Excel where
// every eighth string starts so it can find strings without reading them all.
class SharedStrings {
public:
    // Index of the string, adding it when new; counts every use.
    std::uint32_t add(const QString& text);
    std::uint32_t index(const QString& text) const { return m_index.value(text); }
    std::uint32_t uses() const { return m_uses; }
    int uniqueCount() const { return int(m_strings.size()); }

    // Appends SST, its CONTINUE records and EXTSST. Offsets in EXTSST are
    // counted from the start of the stream `b` writes to.
    void write(RecordBuilder& b) const;

private:
    QStringList m_strings;
    QHash<QString, std::uint32_t> m_index;
    std::uint32_t m_uses = 0;
};

}  // namespace korvex::xls
