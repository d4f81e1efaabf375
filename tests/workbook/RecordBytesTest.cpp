#include <gtest/gtest.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>

#include "HostCommand.h"
#include "TestFolder.h"
#include "XlsReadBack.h"
#include "workbook/CompoundFile.h"
#include "workbook/FormulaTokens.h"
#include "workbook/RecordBuilder.h"
#include "workbook/ScoreSheetTemplate.h"
#include "workbook/XlsWriter.h"

namespace korvex::test {
namespace {

using namespace korvex::xls;

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

struct Record {
    quint16 id;
    QByteArray payload;
    int offset;
};

// The records of a workbook stream, read with nothing but the framing.
QList<Record> records(const QByteArray& stream) {
    QList<Record> list;
    for (int pos = 0; pos + 4 <= stream.size();) {
        const quint16 id = quint8(stream[pos]) | quint8(stream[pos + 1]) << 8;
        const int size = quint8(stream[pos + 2]) | quint8(stream[pos + 3]) << 8;
        list.append({id, stream.mid(pos + 4, size), pos});
        pos += 4 + size;
    }
    return list;
}

quint32 u32At(const QByteArray& b, int at) {
    return quint8(b[at]) | quint8(b[at + 1]) << 8 | quint8(b[at + 2]) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}

TEST(XlsRecords, PasswordVerifier) {
    EXPECT_EQ(passwordHash("305172"), 0xC633);
    EXPECT_EQ(passwordHash("test"), 0xCBEB);
    EXPECT_EQ(passwordHash(""), 0);

    // A protected sheet carries PROTECT, SCENPROTECT, OBJPROTECT = 1 and the
    // verifier; an unprotected one none of them.
    const QByteArray stream = workbookStream(scoresheet::templateWorkbook());
    EXPECT_TRUE(stream.contains(hex("12000200 0100 dd000200 0100 63000200 0100 13000200 33c6")));
    const QByteArray base = workbookStream(scoresheet::baseWorkbook());
    int protects = 0;
    for (const Record& r : records(base))
        if (r.id == 0x0012 || r.id == 0x0013) ++protects;
    EXPECT_EQ(protects, 2);  // the workbook's own PROTECT 0 and PASSWORD 0
}

TEST(XlsRecords, FormulaTokens) {
    // The semester score of row 6, as Excel stores it: 95 bytes.
    const QByteArray ab6 =
        formulaTokens(QStringLiteral("ROUND(ROUND(W6,0)*W$3+ROUND(X6,0)*X$3+ROUND(Y6,0)*Y$3+ROUND("
                                     "Z6,0)*Z$3+ROUND(AA6,0)*AA$3,0)"));
    EXPECT_EQ(ab6.toHex(' '), hex("440500 16c0 1e0000 411b00 440200 1640 05"
                                  "440500 17c0 1e0000 411b00 440200 1740 05 03"
                                  "440500 18c0 1e0000 411b00 440200 1840 05 03"
                                  "440500 19c0 1e0000 411b00 440200 1940 05 03"
                                  "440500 1ac0 1e0000 411b00 440200 1a40 05 03"
                                  "1e0000 411b00")
                                  .toHex(' '));
    EXPECT_EQ(ab6.size(), 95);

    EXPECT_EQ(formulaTokens("$A$1").toHex(), QByteArray("4400000000"));
    EXPECT_EQ(formulaTokens("iv65536").toHex(), QByteArray("44ffffffc0"));
    // Unary minus, division, a fraction and parentheses.
    EXPECT_EQ(formulaTokens("-B2/(1.5)").toHex(),
              QByteArray("440100 01c0 13 1f000000000000f83f 15 06").replace(" ", ""));

    for (const char* bad : {"ROUND(A1)", "SUM(A1)", "A0", "IW1", "1+", "(A1", "A1 B1", "#"}) {
        QString error;
        EXPECT_TRUE(formulaTokens(QString::fromLatin1(bad), &error).isEmpty()) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
    EXPECT_EQ(cellName(5, 27), QStringLiteral("AB6"));
    EXPECT_EQ(columnName(255), QStringLiteral("IV"));
}

TEST(XlsRecords, SharedStringsWithChineseAndContinuations) {
    Workbook book = scoresheet::emptyWorkbook();
    ASSERT_TRUE(book.appendSheet(QStringLiteral("學科成績")));
    const QString longChinese = QString(5000, QChar(0x6210));  // 成
    QString longLatin;
    for (int i = 0; i < 9000; ++i) longLatin += QChar(u'a' + i % 26);
    const QString mixed = longLatin.left(4000) + QStringLiteral("績") + longLatin.left(4000);
    Worksheet& s = book.sheet(0);
    s.setText(0, 0, QStringLiteral("學科成績"));
    s.setText(0, 1, QStringLiteral("Sheet"));
    s.setText(1, 0, QStringLiteral("學科成績"));  // shared with A1
    s.setText(2, 0, QString());
    s.setText(3, 0, longChinese);
    s.setText(4, 0, longLatin);
    s.setText(5, 0, mixed);

    const QByteArray stream = workbookStream(book);
    const QList<Record> recs = records(stream);
    int sstAt = -1;
    for (int i = 0; i < recs.size(); ++i) {
        EXPECT_LE(recs[i].payload.size(), 8224);
        if (recs[i].id == 0x00FC) sstAt = i;
    }
    ASSERT_GE(sstAt, 0);
    // 7 uses, 6 strings; "學科成績" in UTF-16 (flag 1), "Sheet" in 8 bits.
    EXPECT_TRUE(recs[sstAt].payload.startsWith(
        hex("07000000 06000000 0400 01 785b d179 1062 3e7e 0500 00 5368656574 0000 00")));
    EXPECT_EQ(recs[sstAt + 1].id, 0x003C);  // the long strings go on in CONTINUE
    // EXTSST follows and points at the first string of its bucket.
    int extAt = sstAt + 1;
    while (recs[extAt].id == 0x003C) ++extAt;
    ASSERT_EQ(recs[extAt].id, 0x00FF);
    EXPECT_EQ(u32At(recs[extAt].payload, 2), quint32(recs[sstAt].offset + 12));

    TestFolder folder;
    QString error;
    ASSERT_TRUE(saveXls(book, folder.file("strings.xls"), &error)) << error.toStdString();
    const XlsReadBack back = XlsReadBack::read(folder.file("strings.xls"));
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_EQ(back.sheetNames(), QStringList{QStringLiteral("學科成績")});
    const SheetCells cells(back.sheet(QStringLiteral("學科成績")));
    EXPECT_EQ(cells.text(0, 0), QStringLiteral("學科成績"));
    EXPECT_EQ(cells.text(0, 1), QStringLiteral("Sheet"));
    EXPECT_EQ(cells.text(1, 0), QStringLiteral("學科成績"));
    EXPECT_EQ(cells.text(2, 0), QString());
    EXPECT_EQ(cells.text(3, 0), longChinese);
    EXPECT_EQ(cells.text(4, 0), longLatin);
    EXPECT_EQ(cells.text(5, 0), mixed);
}

TEST(XlsRecords, CompoundFileHeaderAndAllocationTable) {
    const QByteArray stream(5000, 'x');
    const QByteArray file = compoundFile(stream);
    // 512 header + 10 stream sectors + 1 FAT + 1 directory.
    ASSERT_EQ(file.size(), 512 * 13);
    EXPECT_TRUE(file.startsWith(hex("d0cf11e0a1b11ae1")));
    EXPECT_EQ(file.mid(0x18, 10), hex("3e00 0300 feff 0900 0600"));
    EXPECT_EQ(u32At(file, 0x2C), 1u);     // one FAT sector
    EXPECT_EQ(u32At(file, 0x30), 11u);    // directory in sector 11
    EXPECT_EQ(u32At(file, 0x38), 4096u);  // mini-stream cutoff
    EXPECT_EQ(u32At(file, 0x4C), 10u);    // the FAT is sector 10
    EXPECT_EQ(u32At(file, 0x50), 0xFFFFFFFFu);
    const int fat = 512 * 11;
    for (int i = 0; i < 9; ++i) EXPECT_EQ(u32At(file, fat + 4 * i), quint32(i + 1));
    EXPECT_EQ(u32At(file, fat + 4 * 9), 0xFFFFFFFEu);   // end of the stream
    EXPECT_EQ(u32At(file, fat + 4 * 10), 0xFFFFFFFDu);  // the FAT sector
    EXPECT_EQ(u32At(file, fat + 4 * 11), 0xFFFFFFFEu);  // the directory
    EXPECT_EQ(u32At(file, fat + 4 * 12), 0xFFFFFFFFu);
    const QByteArray dir = file.mid(qsizetype{512} * 12, 512);
    EXPECT_EQ(dir.left(22), QByteArray("R\0o\0o\0t\0 \0E\0n\0t\0r\0y\0\0\0", 22));
    EXPECT_EQ(dir.mid(128, 18), QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0\0\0", 18));
    EXPECT_EQ(quint8(dir[128 + 66]), 2);      // a stream
    EXPECT_EQ(u32At(dir, 128 + 116), 0u);     // starting at sector 0
    EXPECT_EQ(u32At(dir, 128 + 120), 5120u);  // padded to whole sectors

    // A small stream is padded to 4096 bytes, so that it need not live in
    // the mini stream; a stream larger than the header's 109 FAT slots can
    // map needs the extra FAT list. xlrd's reader gets both back.
    TestFolder folder;
    for (int size : {100, 8 * 1024 * 1024 + 77}) {
        QByteArray data(size, '\0');
        // In unsigned arithmetic: i * 7919 passes INT_MAX for the large stream.
        for (int i = 0; i < size; ++i) data[i] = char((static_cast<unsigned>(i) * 7919u) >> 3);
        QByteArray padded = data;
        padded.append(std::max(4096 - size, 0), '\0');
        padded.append((512 - padded.size() % 512) % 512, '\0');
        QFile out(folder.file("cfb.bin"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(compoundFile(data));
        out.close();
        const HostResult p =
            runHostCommand(QStringLiteral("/usr/bin/python3"),
                           {QStringLiteral(KORVEX_SOURCE_DIR "/tests/support/cfb_stream.py"),
                            hostPath(out.fileName())});
        ASSERT_TRUE(p.finished) << p.errors.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(p.output).object();
        EXPECT_EQ(o.value("size").toInt(), padded.size()) << size << p.errors.toStdString();
        EXPECT_EQ(o.value("sha256").toString().toLatin1(),
                  QCryptographicHash::hash(padded, QCryptographicHash::Sha256).toHex())
            << size;
    }
}

// A device that accepts a few bytes and then fails, like a full disk.
class FailingDevice : public QBuffer {
public:
    qint64 writeData(const char* data, qint64 len) override {
        if (pos() + len > 1000) {
            setErrorString(QStringLiteral("disk full"));
            return -1;
        }
        return QBuffer::writeData(data, len);
    }
};

TEST(XlsRecords, FailuresComeBackAsErrors) {
    Workbook book = scoresheet::baseWorkbook();
    FailingDevice device;
    device.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(writeXls(book, device, &error));
    EXPECT_TRUE(error.contains("disk full")) << error.toStdString();

    TestFolder folder;
    error.clear();
    EXPECT_FALSE(saveXls(book, folder.file("missing/x.xls"), &error));
    EXPECT_TRUE(error.contains("x.xls")) << error.toStdString();

    Workbook empty = scoresheet::emptyWorkbook();
    error.clear();
    EXPECT_FALSE(saveXls(empty, folder.file("empty.xls"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(folder.file("empty.xls")));

    // Text longer than a cell can hold is refused, not cut.
    book.sheet(0).setText(0, 0, QString(32768, QLatin1Char('x')));
    error.clear();
    EXPECT_TRUE(workbookStream(book, &error).isEmpty());
    EXPECT_TRUE(error.contains("Sheet1")) << error.toStdString();
}

TEST(XlsRecords, ColumnWidthsInExcelsUnit) {
    // Excel's default 8.43 characters of a 7-pixel digit is stored as 2340.
    EXPECT_EQ(storedColumnWidth(8.43, 7), 2340);
    // With the 8-pixel digit of 新細明體 12 pt.
    EXPECT_EQ(storedColumnWidth(2.75, 8), 864);
    EXPECT_EQ(storedColumnWidth(9.5, 8), 2592);
    EXPECT_EQ(storedColumnWidth(4.88, 8), 1408);  // 44 pixels
    EXPECT_EQ(storedColumnWidth(0, 8), 0);
}

}  // namespace
}  // namespace korvex::test
