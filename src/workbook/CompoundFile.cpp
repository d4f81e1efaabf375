#include "workbook/CompoundFile.h"

#include "workbook/RecordBuilder.h"

namespace korvex::xls {
namespace {

constexpr int kSectorSize = 512;
constexpr int kEntriesPerFatSector = kSectorSize / 4;
constexpr int kHeaderFatSlots = 109;
constexpr int kMiniStreamCutoff = 4096;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

// Excel.Sheet.8, the class of the root storage of an Excel 97 file.
constexpr unsigned char kExcelClsid[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void directoryEntry(QByteArray& out, const QString& name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint32_t size, bool withClsid) {
    RecordBuilder b(out);
    const int at = b.position();
    if (!name.isEmpty()) {
        b.utf16(name);
        b.u16(0);
    }
    b.zeros(64 - (b.position() - at));
    b.u16(name.isEmpty() ? 0 : std::uint16_t((name.size() + 1) * 2));
    b.u8(type);
    b.u8(type == 0 ? 0 : 1);  // black: a tree of one node per level
    b.u32(kNoStream);         // left sibling
    b.u32(kNoStream);         // right sibling
    b.u32(child);
    if (withClsid)
        out.append(reinterpret_cast<const char*>(kExcelClsid), 16);
    else
        b.zeros(16);
    b.u32(0);     // state bits
    b.zeros(16);  // creation and modification times
    b.u32(start);
    b.u32(size);
    b.u32(0);  // high part of the size, unused in version 3
}

}  // namespace

QByteArray compoundFile(const QByteArray& workbookStream) {
    QByteArray stream = workbookStream;
    if (stream.size() < kMiniStreamCutoff) stream.append(kMiniStreamCutoff - stream.size(), '\0');
    const int streamSectors = int((stream.size() + kSectorSize - 1) / kSectorSize);
    stream.append(qsizetype{streamSectors} * kSectorSize - stream.size(), '\0');

    // The FAT must map every sector including its own and those of the
    // extra FAT list (DIFAT) needed beyond the header's 109 slots.
    int fatSectors = 1;
    int difatSectors = 0;
    for (;;) {
        const int total = streamSectors + fatSectors + difatSectors + 1;
        const int needFat = (total + kEntriesPerFatSector - 1) / kEntriesPerFatSector;
        const int needDifat = needFat > kHeaderFatSlots
                                  ? (needFat - kHeaderFatSlots + kEntriesPerFatSector - 2) /
                                        (kEntriesPerFatSector - 1)
                                  : 0;
        if (needFat == fatSectors && needDifat == difatSectors) break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const std::uint32_t firstFat = std::uint32_t(streamSectors);
    const std::uint32_t firstDifat = firstFat + std::uint32_t(fatSectors);
    const std::uint32_t directory = firstDifat + std::uint32_t(difatSectors);

    QByteArray out;
    out.reserve(qsizetype{directory + 2} * kSectorSize);
    RecordBuilder b(out);

    // Header.
    out.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    b.zeros(16);
    b.u16(0x003E);  // minor version
    b.u16(0x0003);  // major version 3
    b.u16(0xFFFE);  // little-endian
    b.u16(9);       // 2^9 = 512-byte sectors
    b.u16(6);       // 2^6 = 64-byte mini sectors
    b.zeros(6);
    b.u32(0);  // directory sectors: always 0 in version 3
    b.u32(std::uint32_t(fatSectors));
    b.u32(directory);
    b.u32(0);  // transaction signature
    b.u32(kMiniStreamCutoff);
    b.u32(kEndOfChain);  // no mini FAT
    b.u32(0);
    b.u32(difatSectors ? firstDifat : kEndOfChain);
    b.u32(std::uint32_t(difatSectors));
    for (int i = 0; i < kHeaderFatSlots; ++i)
        b.u32(i < fatSectors ? firstFat + std::uint32_t(i) : kFreeSector);

    // The stream.
    out.append(stream);

    // FAT: the stream is one chain, then the FAT and DIFAT sectors are
    // marked as such, then the directory's chain of one sector.
    const int fatEntries = fatSectors * kEntriesPerFatSector;
    for (int i = 0; i < fatEntries; ++i) {
        std::uint32_t v = kFreeSector;
        if (i < streamSectors)
            v = i + 1 < streamSectors ? std::uint32_t(i + 1) : kEndOfChain;
        else if (std::uint32_t(i) < firstDifat)
            v = kFatSector;
        else if (std::uint32_t(i) < directory)
            v = kDifatSector;
        else if (std::uint32_t(i) == directory)
            v = kEndOfChain;
        b.u32(v);
    }

    // DIFAT sectors: the FAT sector numbers beyond the header's slots, 127
    // per sector, each sector ending with the number of the next.
    int listed = kHeaderFatSlots;
    for (int d = 0; d < difatSectors; ++d) {
        for (int i = 0; i < kEntriesPerFatSector - 1; ++i, ++listed)
            b.u32(listed < fatSectors ? firstFat + std::uint32_t(listed) : kFreeSector);
        b.u32(d + 1 < difatSectors ? firstDifat + std::uint32_t(d + 1) : kEndOfChain);
    }

    // Directory: the root storage holding the one stream, and two unused entries.
    directoryEntry(out, QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0, true);
    directoryEntry(out, QStringLiteral("Workbook"), 2, kNoStream, 0, std::uint32_t(stream.size()),
                   false);
    directoryEntry(out, QString(), 0, kNoStream, 0, 0, false);
    directoryEntry(out, QString(), 0, kNoStream, 0, 0, false);
    return out;
}

}  // namespace korvex::xls
