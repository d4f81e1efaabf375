#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestFolder.h"
#include "settings/PasswordScrambling.h"
#include "settings/PrivateProfile.h"
#include "settings/SettingsFile.h"

using namespace korvex;
using test::readBytes;
using test::writeBytes;

namespace {

const QByteArray kCreated(
    "[SCHOOL]\r\n"
    "SERVER=localhost\r\n"
    "DATABASENAME=school\r\n"
    "USER=student\r\n"
    "PASSWD=\r\n"
    "SYEAR=94\r\n"
    "SSEMESTER=1\r\n"
    "SEXAMNO=0\r\n"
    "SEXAMNAME=\r\n"
    "SVOCATION=0\r\n"
    "SINGLE=0\r\n"
    "ADMSYSTYPE=1\r\n"
    "ADMPASSWD=24:3\r\n");

void expectDefaults(const Settings& s, const QString& user = QStringLiteral("sa")) {
    EXPECT_EQ(s.server, QStringLiteral("localhost"));
    EXPECT_EQ(s.databaseName, QStringLiteral("school"));
    EXPECT_EQ(s.user, user);
    EXPECT_EQ(s.password, QString());
    EXPECT_EQ(s.year, QStringLiteral("94"));
    EXPECT_EQ(s.semester, QStringLiteral("1"));
    EXPECT_EQ(s.examNo, QStringLiteral("0"));
    EXPECT_EQ(s.examName, QString());
    EXPECT_EQ(s.dedicatedOperator, 0);
    EXPECT_EQ(s.vocational, 0);
    EXPECT_EQ(s.adminPassword, QStringLiteral("5820"));
}

}  // namespace

TEST(SettingsFile, CreateWritesTheDefaultsAndReadsThemBack) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    Settings settings;
    settings.server = QStringLiteral("something else");
    createSettingsFile(ini, settings);
    EXPECT_EQ(readBytes(ini), kCreated);
    expectDefaults(settings, QStringLiteral("student"));
    EXPECT_EQ(settings.admSysType, 1);
    expectDefaults(readSettingsFile(ini), QStringLiteral("student"));

    // A folder that does not exist: nothing is written, memory has the defaults.
    Settings nowhere;
    createSettingsFile(folder.file("missing/ASSISTANT.INI"), nowhere);
    expectDefaults(nowhere, QStringLiteral("student"));
    EXPECT_FALSE(QFile::exists(folder.file("missing/ASSISTANT.INI")));
}

TEST(SettingsFile, MissingKeysAndOddFilesGiveTheDefaults) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    expectDefaults(readSettingsFile(ini));  // no file at all

    const QByteArray sectionOnly("[SCHOOL]\r\n");
    writeBytes(ini, sectionOnly);
    expectDefaults(readSettingsFile(ini));
    EXPECT_EQ(readBytes(ini), sectionOnly);  // reading writes nothing back
    // Saving adds every key, in the order the settings dialog writes them.
    Settings read = readSettingsFile(ini);
    ASSERT_TRUE(saveSettingsFile(ini, read));
    EXPECT_EQ(readBytes(ini),
              QByteArray("[SCHOOL]\r\nSERVER=localhost\r\nDATABASENAME=school\r\nUSER=sa\r\n"
                         "PASSWD=\r\nSYEAR=94\r\nSSEMESTER=1\r\nSEXAMNO=0\r\nSEXAMNAME=\r\n"
                         "SINGLE=0\r\nSVOCATION=0\r\nADMPASSWD=24:3\r\nADMSYSTYPE=1\r\n"));

    // No SCHOOL section, keys outside any section, lines without '=', a
    // later SCHOOL section hidden behind an earlier one.
    writeBytes(ini,
               "USER=outside\r\n[OTHER]\r\nUSER=other\r\n[SCHOOL]\r\nUSER\r\nSERVER\r\n"
               "[SCHOOL]\r\nUSER=hidden\r\n");
    expectDefaults(readSettingsFile(ini));

    QByteArray noise;
    std::uint32_t state = 99;
    for (int i = 0; i < 50000; ++i) {
        state = state * 1664525u + 1013904223u;
        noise.append(char(state >> 24));
    }
    writeBytes(ini, noise);
    Settings fromNoise = readSettingsFile(ini);
    EXPECT_EQ(fromNoise.adminPassword, QStringLiteral("5820"));
    EXPECT_EQ(readBytes(ini), noise);
    // Saving keeps every byte there was and adds the section at the end.
    fromNoise.examName = QStringLiteral("期末考");
    ASSERT_TRUE(saveSettingsFile(ini, fromNoise));
    EXPECT_TRUE(readBytes(ini).startsWith(noise));
    EXPECT_EQ(readSettingsFile(ini).examName, QStringLiteral("期末考"));

    expectDefaults(readSettingsFile(folder.path()));  // a folder in the file's place
}

TEST(SettingsFile, ValuesAreReadAsTheOldProgramReadThem) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    writeBytes(ini,
               "[school]\r\n"
               "server =   10.1.2.3  \r\n"
               "SEXAMNAME=\"  \xB4\xC1\xA4\xA4\xA6\xD2  \"\r\n"  // "  期中考  " quoted
               "PASSWD=\r\n"
               "SINGLE=2\r\n"
               "SVOCATION= 1\r\n"
               "USER=first\r\n"
               "user=second\r\n"
               "DATABASENAME=" +
                   QByteArray(300, 'd') +
                   "\r\n"
                   "SYEAR=\"  95\"\r\n"
                   "SSEMESTER=\r\n");
    const Settings s = readSettingsFile(ini);
    EXPECT_EQ(s.server, QStringLiteral("10.1.2.3"));
    // Leading blanks go, trailing ones inside the quotes stay.
    EXPECT_EQ(s.examName, QStringLiteral("期中考  "));
    EXPECT_EQ(s.password, QString());
    EXPECT_EQ(s.dedicatedOperator, 2);
    EXPECT_EQ(s.vocational, 1);
    EXPECT_EQ(s.user, QStringLiteral("first"));
    EXPECT_EQ(s.databaseName, QString(254, u'd'));
    EXPECT_EQ(s.year, QStringLiteral("95"));
    EXPECT_EQ(s.semester, QString());
    EXPECT_EQ(s.adminPassword, QStringLiteral("5820"));

    // Numbers: leading number, halves to even, clamped to the field.
    const struct {
        const char* text;
        int single;
        int vocational;
    } numbers[] = {
        {"abc", 0, 0},    {"2.5", 2, 2},         {"3.5", 4, 4},         {"1e2x", 1, 1},
        {"-4", -4, 0},    {"99999", 32767, 255}, {"-99999", -32768, 0}, {"256", 256, 255},
        {" 1 2", 12, 12}, {"&H10", 0, 0},        {"&O7", 0, 0},
    };
    for (const auto& n : numbers) {
        writeBytes(ini,
                   QByteArray("[SCHOOL]\r\nSINGLE=") + n.text + "\r\nSVOCATION=" + n.text + "\r\n");
        const Settings read = readSettingsFile(ini);
        EXPECT_EQ(read.dedicatedOperator, n.single) << n.text;
        EXPECT_EQ(read.vocational, n.vocational) << n.text;
    }
}

TEST(SettingsFile, AFileWrittenByTheOldProgramReadsCorrectly) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    // What the old program wrote after a save: code page 950 text, both
    // passwords scrambled ("sa pw~" and "1234").
    const QByteArray old =
        "[SCHOOL]\r\n"
        "SERVER=SCHOOLSRV\\SQL2000\r\n"
        "DATABASENAME=\xBE\xC7\xAE\xD5\r\n"  // 學校
        "USER=sa\r\n"
        "PASSWD=\x80ur\"_q\r\n"
        "SYEAR=96\r\n"
        "SSEMESTER=2\r\n"
        "SEXAMNO=3\r\n"
        "SEXAMNAME=\xB4\xC1\xA5\xBD\xA6\xD2\r\n"  // 期末考
        "SINGLE=1\r\n"
        "SVOCATION=1\r\n"
        "ADMPASSWD=614/\r\n"
        "ADMSYSTYPE=1\r\n";
    writeBytes(ini, old);
    const Settings s = readSettingsFile(ini);
    EXPECT_EQ(s.server, QStringLiteral("SCHOOLSRV\\SQL2000"));
    EXPECT_EQ(s.databaseName, QStringLiteral("學校"));
    EXPECT_EQ(s.password, QStringLiteral("sa pw~"));
    EXPECT_EQ(s.year, QStringLiteral("96"));
    EXPECT_EQ(s.semester, QStringLiteral("2"));
    EXPECT_EQ(s.examNo, QStringLiteral("3"));
    EXPECT_EQ(s.examName, QStringLiteral("期末考"));
    EXPECT_EQ(s.dedicatedOperator, 1);
    EXPECT_EQ(s.vocational, 1);
    EXPECT_EQ(s.adminPassword, QStringLiteral("1234"));

    // Saving the same settings gives the same bytes back.
    Settings same = s;
    ASSERT_TRUE(saveSettingsFile(ini, same));
    EXPECT_EQ(readBytes(ini), old);
}

TEST(SettingsFile, SaveRefusesWhatItCannotStoreAndReportsAFailedWrite) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    Settings s;
    createSettingsFile(ini, s);

    Settings badPassword = s;
    badPassword.password = QStringLiteral("pass\t");
    EXPECT_EQ(settingsValueProblems(badPassword), QStringList{"PASSWD"});
    EXPECT_FALSE(saveSettingsFile(ini, badPassword));
    Settings badAdmin = s;
    badAdmin.adminPassword = QStringLiteral("才");
    EXPECT_EQ(settingsValueProblems(badAdmin), QStringList{"ADMPASSWD"});
    EXPECT_FALSE(saveSettingsFile(ini, badAdmin));
    Settings both = badPassword;
    both.server = QStringLiteral("srv\r\n");
    EXPECT_EQ(settingsValueProblems(both), (QStringList{"SERVER", "PASSWD"}));
    EXPECT_FALSE(saveSettingsFile(ini, both));
    EXPECT_EQ(readBytes(ini), kCreated);  // nothing written, not even in part
    EXPECT_EQ(settingsValueProblems(s), QStringList());

    EXPECT_FALSE(saveSettingsFile(folder.path(), s));  // a folder in the file's place
    EXPECT_FALSE(saveSettingsFile(folder.file("missing/ASSISTANT.INI"), s));
    EXPECT_TRUE(saveSettingsFile(folder.file("NEW.INI"), s));
    EXPECT_EQ(readSettingsFile(folder.file("NEW.INI")).user, QStringLiteral("student"));
}

TEST(SettingsFile, TextTheFileCannotHoldIsStoredAsTheAnsiProfileCallStoresIt) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    Settings s;
    createSettingsFile(ini, s);

    // An exam name with characters outside code page 950: each becomes '?'
    // in the file (one for a character beyond U+FFFF), memory keeps the name.
    s.examName = QStringLiteral("期中😀考한");
    EXPECT_EQ(settingsValueProblems(s), QStringList{"SEXAMNAME"});
    ASSERT_TRUE(saveSettingsFile(ini, s));
    EXPECT_EQ(s.examName, QStringLiteral("期中😀考한"));
    EXPECT_TRUE(readBytes(ini).contains("SEXAMNAME=\xB4\xC1\xA4\xA4?\xA6\xD2?\r\n"));
    EXPECT_EQ(readSettingsFile(ini).examName, QStringLiteral("期中?考?"));

    // A line break ends the value: no second line, no stray key.
    s.examName = QStringLiteral("期末考\r\nSERVER=elsewhere");
    ASSERT_TRUE(saveSettingsFile(ini, s));
    const Settings read = readSettingsFile(ini);
    EXPECT_EQ(read.examName, QStringLiteral("期末考"));
    EXPECT_EQ(read.server, QStringLiteral("localhost"));
    EXPECT_FALSE(readBytes(ini).contains("elsewhere"));

    EXPECT_EQ(ansiProfileText(QStringLiteral("a\0b")), QStringLiteral("a"));
    EXPECT_EQ(ansiProfileText(QStringLiteral("學校 \x1F~")), QStringLiteral("學校 \x1F~"));
}

TEST(SettingsFile, AHandEditedPasswordIsDecodedNotDropped) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    const QByteArray edited = "[SCHOOL]\r\nPASSWD=my pass}\r\nADMPASSWD=a b\r\n";
    writeBytes(ini, edited);
    Settings s = readSettingsFile(ini);
    EXPECT_EQ(s.password, QChar(127) + QStringLiteral("uucn") + QChar(30) + QStringLiteral("{o"));
    EXPECT_EQ(s.adminPassword, QStringLiteral("`") + QChar(30) + QStringLiteral("c"));
    // Saved again, both come back as they were typed.
    ASSERT_TRUE(saveSettingsFile(ini, s));
    const QByteArray saved = readBytes(ini);
    EXPECT_TRUE(saved.contains("PASSWD=my pass}\r\n"));
    EXPECT_TRUE(saved.contains("ADMPASSWD=a b\r\n"));
}
