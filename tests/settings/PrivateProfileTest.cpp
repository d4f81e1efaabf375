#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestFolder.h"
#include "settings/PrivateProfile.h"

using namespace korvex;

namespace {

QString valueOr(const PrivateProfile& profile, const char* section, const char* key,
                const char* missing = "<missing>") {
    return profile.value(QString::fromUtf8(section), QString::fromUtf8(key))
        .value_or(QString::fromUtf8(missing));
}

}  // namespace

TEST(PrivateProfile, ReadsTheWayWindowsParses) {
    const auto profile = PrivateProfile::fromFileBytes(
        "SERVER=before any section\r\n"
        "; a comment\r\n"
        "  [ School ]  trailing text\r\n"
        "Server = db1 \r\n"
        "server=second line of the same key\r\n"
        "  USER\t=\t\"  quoted  \"\n"  // LF alone, tabs, quotes keep inner blanks
        "A=1 ;not a comment\r"         // CR alone
        ";PASSWD=commented out\r\n"
        "NOEQUALS\r\n"
        "M1='x\"\r\n"  // quotes that do not match stay
        "M2=\"\r\n"    // a single quote character stays
        "M3=''\r\n"
        "EMPTY=\r\n"
        "[OTHER]\r\n"
        "K=other\r\n"
        "[SCHOOL]\r\n"
        "LATE=invisible\r\n"
        "[no bracket\r\n"
        "Z=in the section without a closing bracket");
    EXPECT_EQ(valueOr(profile, "SCHOOL", "SERVER"), QStringLiteral("db1"));
    EXPECT_EQ(valueOr(profile, "  school ", "server"), QStringLiteral("db1"));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "user"), QStringLiteral("  quoted  "));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "A"), QStringLiteral("1 ;not a comment"));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "PASSWD"), QStringLiteral("<missing>"));
    EXPECT_EQ(valueOr(profile, "SCHOOL", ";PASSWD"), QStringLiteral("<missing>"));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "NOEQUALS"), QStringLiteral("<missing>"));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "M1"), QStringLiteral("'x\""));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "M2"), QStringLiteral("\""));
    EXPECT_EQ(valueOr(profile, "SCHOOL", "M3"), QString());
    EXPECT_EQ(valueOr(profile, "SCHOOL", "EMPTY"), QString());
    EXPECT_EQ(valueOr(profile, "SCHOOL", "LATE"), QStringLiteral("<missing>"));
    EXPECT_EQ(valueOr(profile, "OTHER", "K"), QStringLiteral("other"));
    EXPECT_EQ(valueOr(profile, "no bracket", "Z"),
              QStringLiteral("in the section without a closing bracket"));
}

TEST(PrivateProfile, DoubleByteNamesAreNotCutOrFoldedInsideACharacter) {
    // 包 is A5 5D: its second byte is ']'. 乙 (A4 41) and 兀 (A4 61) differ
    // only by a second byte that looks like 'A' and 'a'.
    auto profile = PrivateProfile::fromFileBytes(
        "[\xA5\x5D]\r\n"
        "X\xA4\x41=first\r\n"
        "X\xA4\x61=second\r\n");
    EXPECT_EQ(valueOr(profile, "包", "X乙"), QStringLiteral("first"));
    EXPECT_EQ(valueOr(profile, "包", "x兀"), QStringLiteral("second"));
    ASSERT_TRUE(
        profile.setValue(QStringLiteral("包"), QStringLiteral("X兀"), QStringLiteral("期中考")));
    EXPECT_EQ(profile.fileBytes(), QByteArray("[\xA5\x5D]\r\n"
                                              "X\xA4\x41=first\r\n"
                                              "X\xA4\x61=\xB4\xC1\xA4\xA4\xA6\xD2\r\n"));
}

TEST(PrivateProfile, WritesInPlaceAndKeepsEveryOtherByte) {
    auto profile = PrivateProfile::fromFileBytes(
        "\x01junk before\r\n"
        "[school]\n"
        "  Server = old ; kept comment?\n"
        "USER=u\r\n"
        "; closing comment\r\n"
        "\r\n"
        "[OTHER]\r\n"
        "k=v");
    ASSERT_TRUE(profile.setValue(u"SCHOOL", u"SERVER", u"new"));
    ASSERT_TRUE(profile.setValue(u"SCHOOL", u"SYEAR", u"95"));
    ASSERT_TRUE(profile.setValue(u"SCHOOL", u"SSEMESTER", u"2"));
    ASSERT_TRUE(profile.setValue(u"other", u"k2", u"v2"));
    ASSERT_TRUE(profile.setValue(u"NEW", u"A", u""));
    EXPECT_EQ(profile.fileBytes(), QByteArray("\x01junk before\r\n"
                                              "[school]\n"
                                              "  Server =new\n"
                                              "USER=u\r\n"
                                              "SYEAR=95\r\n"
                                              "SSEMESTER=2\r\n"
                                              "; closing comment\r\n"
                                              "\r\n"
                                              "[OTHER]\r\n"
                                              "k=v\r\n"
                                              "k2=v2\r\n"
                                              "[NEW]\r\n"
                                              "A=\r\n"));

    // A new section after a last line with a break gets no blank line; an
    // empty section gets its first key right after the header.
    auto two = PrivateProfile::fromFileBytes("[A]\r\nx=1\r\n[SCHOOL]");
    ASSERT_TRUE(two.setValue(u"SCHOOL", u"K", u"1"));
    ASSERT_TRUE(two.setValue(u"B", u"K", u"2"));
    EXPECT_EQ(two.fileBytes(), QByteArray("[A]\r\nx=1\r\n[SCHOOL]\r\nK=1\r\n[B]\r\nK=2\r\n"));

    // Names that would not read back are refused and change nothing.
    EXPECT_FALSE(two.setValue(u"SCHOOL", u"A=B", u"1"));
    EXPECT_FALSE(two.setValue(u"SCHOOL", u";K", u"1"));
    EXPECT_FALSE(two.setValue(u"SC]HOOL", u"K", u"1"));
    EXPECT_FALSE(two.setValue(u"SCHOOL", u"K", u"two\r\nlines"));
    EXPECT_FALSE(two.setValue(u"SCHOOL", u"K", u"한국"));
    EXPECT_EQ(two.fileBytes(), QByteArray("[A]\r\nx=1\r\n[SCHOOL]\r\nK=1\r\n[B]\r\nK=2\r\n"));
}

TEST(PrivateProfile, ValuesTheReaderWouldChangeAreQuotedAndReadBack) {
    PrivateProfile profile;
    const QString values[] = {
        QStringLiteral("plain"),      QStringLiteral("  lead"), QStringLiteral("trail\t"),
        QStringLiteral("\"quoted\""), QStringLiteral("'x'"),    QStringLiteral("\"x'"),
        QStringLiteral("\""),         QStringLiteral("a=b;c"),  QString(),
    };
    int n = 0;
    for (const QString& value : values) {
        const QString key = QStringLiteral("K%1").arg(n++);
        ASSERT_TRUE(profile.setValue(u"S", key, value));
        EXPECT_EQ(profile.value(u"S", key).value_or(QStringLiteral("<missing>")), value);
    }
    EXPECT_EQ(profile.fileBytes(),
              QByteArray("[S]\r\nK0=plain\r\nK1=\"  lead\"\r\nK2=\"trail\t\"\r\n"
                         "K3=\"\"quoted\"\"\r\nK4=\"'x'\"\r\nK5=\"x'\r\nK6=\"\r\nK7=a=b;c\r\n"
                         "K8=\r\n"));
}

TEST(PrivateProfile, BufferCutNeverSplitsACharacter) {
    PrivateProfile profile;
    const QString ascii(300, u'x');
    const QString chinese = QString(127, QChar(0x4E2D));  // 中, two bytes each
    ASSERT_TRUE(profile.setValue(u"S", u"ASCII", ascii));
    ASSERT_TRUE(profile.setValue(u"S", u"EXACT", chinese));
    ASSERT_TRUE(profile.setValue(u"S", u"ODD", QStringLiteral("a") + chinese));
    EXPECT_EQ(getPrivateProfileString(profile, u"S", u"ASCII", QString(), 255), QString(254, u'x'));
    EXPECT_EQ(getPrivateProfileString(profile, u"S", u"EXACT", QString(), 255), chinese);
    EXPECT_EQ(getPrivateProfileString(profile, u"S", u"ODD", QString(), 255),
              QStringLiteral("a") + QString(126, QChar(0x4E2D)));
    // The default loses trailing spaces only, and is cut the same way.
    EXPECT_EQ(getPrivateProfileString(profile, u"S", u"NONE", QStringLiteral(" d  "), 255),
              QStringLiteral(" d"));
    EXPECT_EQ(getPrivateProfileString(profile, u"S", u"ASCII", QString(), 4),
              QStringLiteral("xxx"));
    EXPECT_EQ(getPrivateProfileString(profile, u"S", u"ASCII", QString(), 0), QString());
}

TEST(PrivateProfile, FilesWithAByteOrderMarkKeepTheirEncoding) {
    test::TestFolder folder;
    const QString utf8 = folder.file("utf8.ini");
    test::writeBytes(utf8,
                     "\xEF\xBB\xBF[SCHOOL]\r\nSEXAMNAME=\xE6\x9C\x9F\xE4\xB8\xAD\xE8\x80\x83\r\n");
    PrivateProfile profile;
    ASSERT_TRUE(profile.load(utf8));
    EXPECT_EQ(profile.encoding(), PrivateProfile::Encoding::Utf8);
    EXPECT_EQ(valueOr(profile, "SCHOOL", "SEXAMNAME"), QStringLiteral("期中考"));
    ASSERT_TRUE(profile.setValue(u"SCHOOL", u"USER", u"한"));  // fine in UTF-8
    ASSERT_TRUE(profile.save(utf8));
    EXPECT_EQ(
        test::readBytes(utf8),
        QByteArray("\xEF\xBB\xBF[SCHOOL]\r\nSEXAMNAME=\xE6\x9C\x9F\xE4\xB8\xAD\xE8\x80\x83\r\n"
                   "USER=\xED\x95\x9C\r\n"));

    const QString utf16 = folder.file("utf16.ini");
    test::writeBytes(utf16, QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\x2D\x4E\r\0\n\0", 22));
    ASSERT_TRUE(profile.load(utf16));
    EXPECT_EQ(valueOr(profile, "S", "K"), QStringLiteral("中"));
    ASSERT_TRUE(profile.setValue(u"S", u"K", u"x"));
    ASSERT_TRUE(profile.save(utf16));
    EXPECT_EQ(test::readBytes(utf16), QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0x\0\r\0\n\0", 22));
}
