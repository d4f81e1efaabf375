#include <gtest/gtest.h>

#include "settings/PasswordScrambling.h"

using namespace korvex;

TEST(PasswordScrambling, ChangesEachCodeByParityAndReversesTheOrder) {
    EXPECT_EQ(EncodePassword(QStringLiteral("abc")).value(), QStringLiteral("ad_"));
    EXPECT_EQ(DecodePassword(QStringLiteral("ad_")).value(), QStringLiteral("abc"));
    EXPECT_EQ(EncodePassword(QStringLiteral("5820")).value(), QStringLiteral("24:3"));
    EXPECT_EQ(DecodePassword(QStringLiteral("24:3")).value(), QStringLiteral("5820"));
    EXPECT_EQ(EncodePassword(QString()).value(), QString());
    EXPECT_EQ(DecodePassword(QString()).value(), QString());
    EXPECT_EQ(EncodePassword(QStringLiteral("a")).value(), QStringLiteral("_"));
    EXPECT_EQ(EncodePassword(QStringLiteral("ab")).value(), QStringLiteral("d_"));
    // '~' (126) becomes code 128, which code page 950 holds as the single byte 0x80.
    EXPECT_EQ(EncodePassword(QStringLiteral("~")).value(), QString(QChar(0x80)));
    // '!' (33) becomes 31, a control character, and comes back.
    EXPECT_EQ(EncodePassword(QStringLiteral("!")).value(), QString(QChar(31)));
}

TEST(PasswordScrambling, EveryPrintablePairRoundTrips) {
    for (char16_t a = 0x20; a <= 0x7E; ++a) {
        for (char16_t b = 0x20; b <= 0x7E; ++b) {
            const QString plain = QString(QChar(a)) + QChar(b);
            const auto scrambled = EncodePassword(plain);
            ASSERT_TRUE(scrambled.has_value()) << int(a) << ' ' << int(b);
            ASSERT_EQ(DecodePassword(*scrambled).value_or(QStringLiteral("<none>")), plain);
        }
    }
}

TEST(PasswordScrambling, DoubleByteCharactersUseTheirSixteenBitCode) {
    // 中 is A4A4 (even) and becomes A4A6, 丹; 一 is A440 and becomes A442.
    EXPECT_EQ(EncodePassword(QStringLiteral("中a")).value(), QStringLiteral("_丹"));
    EXPECT_EQ(DecodePassword(QStringLiteral("_丹")).value(), QStringLiteral("中a"));
    const QString mixed = QStringLiteral("一中x9");
    EXPECT_EQ(DecodePassword(EncodePassword(mixed).value()).value(), mixed);

    // Characters whose changed code is no character, or that have no code at
    // all, are refused rather than scrambled into something unreadable:
    // 才 A47E -> A480, 丙 A4FE -> A500, 丑 A4A1 -> A49F.
    for (const QString& refused :
         {QStringLiteral("才"), QStringLiteral("ab丙"), QStringLiteral("丑"), QStringLiteral("😀"),
          QStringLiteral("한"), QStringLiteral("tab\there"), QString(QChar(0)), QString(QChar(1)),
          QString(QChar(0x1F)), QString(QChar(0x81))}) {
        EXPECT_FALSE(EncodePassword(refused).has_value()) << refused.toStdString();
    }
    // Decoding refuses exactly what no password scrambles to.
    EXPECT_FALSE(DecodePassword(QString(QChar(0x7F))).has_value());  // would be 0x81
    EXPECT_FALSE(DecodePassword(QStringLiteral("\uFFFD")).has_value());
    EXPECT_EQ(DecodePassword(QString(QChar(0x80))).value(), QStringLiteral("~"));
}

TEST(PasswordScrambling, EveryPrintableTextDecodesAndScramblesBack) {
    // A blank decodes to code 30 and '}' to 127; neither is refused.
    EXPECT_EQ(DecodePassword(QStringLiteral(" ")).value(), QString(QChar(30)));
    EXPECT_EQ(DecodePassword(QStringLiteral("}")).value(), QString(QChar(127)));
    EXPECT_EQ(EncodePassword(QString(QChar(30))).value(), QStringLiteral(" "));
    EXPECT_EQ(EncodePassword(QString(QChar(127))).value(), QStringLiteral("}"));
    // "my pass" typed into the file by hand: m 109 -> 111 o, y 121 -> 123 {,
    // blank -> 30, p 112 -> 110 n, a 97 -> 99 c, s 115 -> 117 u, reversed.
    EXPECT_EQ(DecodePassword(QStringLiteral("my pass")).value(),
              QStringLiteral("uucn") + QChar(30) + QStringLiteral("{o"));
    for (char16_t a = 0x20; a <= 0x7E; ++a) {
        for (char16_t b = 0x20; b <= 0x7E; ++b) {
            const QString scrambled = QString(QChar(a)) + QChar(b);
            const auto plain = DecodePassword(scrambled);
            ASSERT_TRUE(plain.has_value()) << int(a) << ' ' << int(b);
            ASSERT_EQ(EncodePassword(*plain).value_or(QStringLiteral("<none>")), scrambled);
        }
    }
}
