#include "workbook/SharedStrings.h"

#include <algorithm>
#include <vector>

#include "workbook/RecordBuilder.h"

namespace korvex::xls {
namespace {

constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSst = 0x00FF;

}  // namespace

std::uint32_t SharedStrings::add(const QString& text) {
    ++m_uses;
    const auto it = m_index.constFind(text);
    if (it != m_index.constEnd()) return it.value();
    const std::uint32_t index = std::uint32_t(m_strings.size());
    m_strings << text;
    m_index.insert(text, index);
    return index;
}

void SharedStrings::write(RecordBuilder& b) const {
    // At most 128 buckets, at least 8 strings each.
    const int perBucket = std::max(8, (int(m_strings.size()) + 127) / 128);
    struct Bucket {
        std::uint32_t streamOffset;
        std::uint16_t recordOffset;
    };
    std::vector<Bucket> buckets;

    int recordStart = b.position();
    b.begin(kSst);
    b.u32(m_uses);
    b.u32(std::uint32_t(m_strings.size()));
    auto room = [&] { return RecordBuilder::kMaxPayload - b.payloadSize(); };
    auto nextRecord = [&] {
        b.end();
        recordStart = b.position();
        b.begin(kContinue);
    };

    for (int i = 0; i < m_strings.size(); ++i) {
        const QString& s = m_strings[i];
        const bool compressed = fitsCompressed(s);
        const int charSize = compressed ? 1 : 2;
        // The string's header and its first character stay in one record.
        if (room() < 3 + (s.isEmpty() ? 0 : charSize)) nextRecord();
        if (i % perBucket == 0)
            buckets.push_back(
                {std::uint32_t(b.position()), std::uint16_t(b.position() - recordStart)});
        b.u16(std::uint16_t(s.size()));
        b.u8(compressed ? 0 : 1);
        qsizetype done = 0;
        while (done < s.size()) {
            qsizetype fit = room() / charSize;
            if (fit == 0) {
                // Characters go on in the next record after one byte that
                // says how they are stored.
                nextRecord();
                b.u8(compressed ? 0 : 1);
                fit = room() / charSize;
            }
            const qsizetype n = std::min(fit, s.size() - done);
            const QString part = s.mid(done, n);
            compressed ? b.latin1(part) : b.utf16(part);
            done += n;
        }
    }
    b.end();

    b.begin(kExtSst);
    b.u16(std::uint16_t(perBucket));
    for (const Bucket& bucket : buckets) {
        b.u32(bucket.streamOffset);
        b.u16(bucket.recordOffset);
        b.u16(0);
    }
    b.end();
}

}  // namespace korvex::xls
