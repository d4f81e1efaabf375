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
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("-1.5E-2")), -0.015);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("12e")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("-")), 0);
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
