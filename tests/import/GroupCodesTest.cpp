#include <gtest/gtest.h>

#include "ImportFixture.h"
#include "import/GroupCodes.h"

using namespace korvex;

TEST(GroupCodes, GroupNumbersWithAtLeastTwoDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"1", "01"},   {"12", "12"}, {"123", "123"}, {"", "00"},    {"x3", "00"},
        {" 4 ", "04"}, {"7a", "07"}, {"1.5", "02"},  {"2.5", "03"}, {"-7", "-07"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(groupNumberCode(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(GroupCodes, StudentGroupScansBackFromTheCurrentTerm) {
    QStringList looked;
    const ShortCodeLookup lookup = [&](const QString& code) {
        looked << code;
        return QStringLiteral("11");
    };
    auto gro = [&](const char* grade, const char* semester, const char* groups) {
        return studentGroupCode(QStringLiteral("101"), QString::fromUtf8(grade),
                                QString::fromUtf8(semester), QString::fromUtf8(groups),
                                QStringLiteral("301"), lookup);
    };
    EXPECT_EQ(gro("3", "2", "100003"), QStringLiteral("03"));  // position 6
    EXPECT_EQ(gro("3", "1", "100003"), QStringLiteral("01"));  // positions 5 to 1
    EXPECT_EQ(gro("2", "1", "12"), QStringLiteral("02"));      // shorter than the term
    EXPECT_EQ(gro("2", "1", "1 a"), QStringLiteral("01"));     // blanks and letters read as 0
    EXPECT_EQ(gro("9999999999", "1", "5"), QStringLiteral("05"));
    EXPECT_TRUE(looked.isEmpty());
    EXPECT_EQ(gro("", "1", "222222"), QStringLiteral("11"));  // no grade: term below 1
    EXPECT_EQ(gro("1", "1", "03"), QStringLiteral("11"));     // only position 1 counts
    EXPECT_EQ(looked, (QStringList{"101", "101"}));
    // Other departments take the class short code's second character.
    EXPECT_EQ(studentGroupCode(QStringLiteral("301"), QStringLiteral("1"), QStringLiteral("1"),
                               QStringLiteral("9"), QStringLiteral("152"), lookup),
              QStringLiteral("15"));
    EXPECT_EQ(studentGroupCode(QStringLiteral("201"), QStringLiteral("1"), QStringLiteral("1"),
                               QStringLiteral("9"), QString(), lookup),
              QStringLiteral("1"));
}
