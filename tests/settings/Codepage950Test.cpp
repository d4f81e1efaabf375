#include <gtest/gtest.h>

#include "settings/Codepage950.h"

using namespace korvex;

TEST(Codepage950, ChineseAndWindowsOwnCodesRoundTrip) {
    const QByteArray examName("\xB4\xC1\xA4\xA4\xA6\xD2");  // 期中考
    EXPECT_EQ(fromCodepage950(examName), QStringLiteral("期中考"));
    EXPECT_EQ(toCodepage950(QStringLiteral("期中考")).value(), examName);
    EXPECT_EQ(toCodepage950(QStringLiteral("A1 €")).value(), QByteArray("A1 \xA3\xE1"));

    // Codes Windows maps that the Big5 table lacks: the single bytes 0x80 and
    // 0xFF and the three blocks of user-defined rows.
    const struct {
        QByteArray bytes;
        char16_t unit;
    } windowsOnly[] = {
        {QByteArray("\x80"), 0x0080},          {QByteArray("\xFF"), 0xF8F8},
        {QByteArray("\xFA\x40"), 0xE000},      {QByteArray("\xFE\xFE"), 0xE310},
        {QByteArray("\x8E\x40"), 0xE311},      {QByteArray("\xA0\xFE"), 0xEEB7},
        {QByteArray("\x81\x40"), 0xEEB8},      {QByteArray("\x8D\xFE"), 0xF6B0},
        {QByteArray("\x81\xA1"), 0xEEB8 + 63},
    };
    for (const auto& [bytes, unit] : windowsOnly) {
        const QString text = fromCodepage950(bytes);
        ASSERT_EQ(text.size(), 1) << bytes.toHex().constData();
        EXPECT_EQ(text[0].unicode(), unit) << bytes.toHex().constData();
        EXPECT_EQ(toCodepage950(text).value(), bytes) << bytes.toHex().constData();
    }
    // A user-defined character between ordinary ones.
    EXPECT_EQ(fromCodepage950(QByteArray("a\xFA\x41\xA4\xA4")),
              QStringLiteral("a") + QChar(0xE001) + QStringLiteral("中"));
}

TEST(Codepage950, BadBytesDecodeAsReplacementAndForeignTextIsRefused) {
    // A lone lead byte, a lead byte before a byte that cannot follow it, and
    // a lead byte at the very end.
    EXPECT_EQ(fromCodepage950(QByteArray("a\xA4 b\xA4")), QStringLiteral("a\uFFFD b\uFFFD"));
    // The same on every system, whatever its own table says: Windows' codes
    // beside a bad byte.
    EXPECT_EQ(fromCodepage950(QByteArray("\x80\xFF\xA4\n\xFA\x40")),
              QString(QChar(0x80)) + QChar(0xF8F8) + QChar(0xFFFD) + u'\n' + QChar(0xE000));
    QByteArray noise;
    for (int i = 0; i < 4096; ++i) noise.append(char((i * 7919 + 13) % 256));
    const QString decoded = fromCodepage950(noise);
    EXPECT_GE(decoded.size(), noise.size() / 2);
    EXPECT_LE(decoded.size(), noise.size());

    EXPECT_FALSE(toCodepage950(QStringLiteral("한")).has_value());
    EXPECT_FALSE(toCodepage950(QStringLiteral("ab😀")).has_value());
    EXPECT_FALSE(toCodepage950(QString(QChar(0xD800))).has_value());
    EXPECT_EQ(toCodepage950(QString()).value(), QByteArray());
}
