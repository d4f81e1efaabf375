#include <gtest/gtest.h>

#include "core/ExamSlot.h"
#include "core/ValueRules.h"

using namespace korvex;

TEST(ValueRules, LeadingNumberReadsLikeTheOldRuntime) {
    EXPECT_EQ(leadingNumber(QStringLiteral(" 2 45 7")), 2457);
    EXPECT_EQ(leadingNumber(QStringLiteral("24 and 57")), 24);
    EXPECT_EQ(leadingNumber(QStringLiteral("1,000")), 1);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingNumber(QString()), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral(".5")), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("1.2.3")), 1.2);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("12e")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("-")), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral(" - 2.5x")), -2.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("+-1")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("5.x")), 5);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("-.5")), -0.5);
}

TEST(ValueRules, LeadingNumberIsDecimalWithoutExponent) {
    // The number stops at an exponent letter, whichever the letter.
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("-1.5E-2")), -1.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("1e1")), 1);
    EXPECT_EQ(leadingNumber(QStringLiteral("3e-1")), 3);
    EXPECT_EQ(leadingNumber(QStringLiteral("2d1")), 2);
    EXPECT_EQ(leadingNumber(QStringLiteral("2D1")), 2);
    EXPECT_EQ(leadingNumber(QStringLiteral("1e400")), 1);
    // Prefixes of other number bases are no number.
    EXPECT_EQ(leadingNumber(QStringLiteral("&H10")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("&O7")), 0);
    // Digits beyond what a double holds read as 0 rather than infinity.
    EXPECT_EQ(leadingNumber(QString(400, u'9')), 0);
}

TEST(ValueRules, NumbersReadAsTextHaveNoExponent) {
    // A number from a numeric column reads back as the same number.
    const double numbers[] = {0.00001, -1.5e-7, 1e20, 72.5, 30, -0.015, 1.25e-300};
    for (const double n : numbers) {
        const QString text = textOf(QVariant(n));
        EXPECT_FALSE(text.contains(u'e', Qt::CaseInsensitive)) << text.toStdString();
        EXPECT_DOUBLE_EQ(leadingNumber(text), n) << text.toStdString();
    }
    EXPECT_EQ(textOf(QVariant(0.00001)), QStringLiteral("0.00001"));
    EXPECT_EQ(textOf(QVariant(-1.5e-7)), QStringLiteral("-0.00000015"));
    EXPECT_EQ(textOf(QVariant(1e20)), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(textOf(QVariant(0.1f)), QStringLiteral("0.1"));
    EXPECT_EQ(textOf(QVariant(3.5e-5f)), QStringLiteral("0.000035"));
    EXPECT_EQ(textOf(QVariant(30.0)), QStringLiteral("30"));
    // Text is left as it is, exponent letters and all.
    EXPECT_EQ(textOf(QVariant(QStringLiteral("1e1"))), QStringLiteral("1e1"));

    EXPECT_EQ(withoutExponent(QStringLiteral("1.5E+3")), QStringLiteral("1500"));
    EXPECT_EQ(withoutExponent(QStringLiteral("-2.50e-2")), QStringLiteral("-0.025"));
    EXPECT_EQ(withoutExponent(QStringLiteral("12.5")), QStringLiteral("12.5"));
    EXPECT_EQ(withoutExponent(QStringLiteral("inf")), QStringLiteral("inf"));
    EXPECT_EQ(withoutExponent(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(withoutExponent(QStringLiteral("e5")), QStringLiteral("e5"));
}

TEST(ValueRules, RoundingMasksAndTrimming) {
    EXPECT_EQ(roundHalfEven(84.5), 84);
    EXPECT_EQ(roundHalfEven(85.5), 86);
    EXPECT_EQ(roundHalfEven(84.4), 84);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(72.5), 72);
    EXPECT_EQ(roundHalfEven(73.5), 74);

    EXPECT_EQ(zeroPadded(0, 2), QStringLiteral("00"));
    EXPECT_EQ(zeroPadded(7, 2), QStringLiteral("07"));
    EXPECT_EQ(zeroPadded(123, 2), QStringLiteral("123"));
    EXPECT_EQ(zeroPadded(-7, 2), QStringLiteral("-07"));
    EXPECT_EQ(progressText(12, 345), QStringLiteral("000012/000345"));

    EXPECT_EQ(rtrimBlanks(QStringLiteral("  甲 乙  ")), QStringLiteral("  甲 乙"));
    EXPECT_EQ(trimBlanks(QStringLiteral("  甲 乙  ")), QStringLiteral("甲 乙"));
    EXPECT_EQ(rtrimBlanks(QStringLiteral("a\t ")), QStringLiteral("a\t"));  // blanks only
    EXPECT_EQ(textOf(QVariant()), QString());
}

TEST(ExamNumber, OnlyOneDigitOneToSixMakesNames) {
    EXPECT_EQ(examSlot(QStringLiteral("3")), 3);
    for (const char* bad : {"0", "7", "", "1 ", "12", "a", "1;drop"})
        EXPECT_FALSE(examSlot(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(rosterTableName(2), QStringLiteral("periodical2"));
    EXPECT_EQ(scoreColumnName(6), QStringLiteral("考試成績6"));
}
