#include "ImportFixture.h"
#include "import/BaseDataImports.h"

using namespace korvex;
using korvex::test::ImportFixture;
using Icon = MainWindowInterface::Icon;

namespace {

class TeachersImport : public ImportFixture {};

}  // namespace

TEST_F(TeachersImport, TeachersAndThePlaceholderWithScrambledCodes) {
    exam({QStringLiteral("insert into teacher values ('OLD','舊師','','')")});
    school({QStringLiteral("insert into z_teach values ('T01 ',' 王老師 ','A123456789','abc')"),
            QStringLiteral("insert into z_teach values ('S02','O''Hara',NULL,NULL)"),
            QStringLiteral("insert into z_teach values ('A03','李老師','B1',' 5820 ')"),
            QStringLiteral("insert into z_teach values ('B04','張老師','B2','a'||char(9)||'b')")});

    ImportTeachers(context);

    // Code and name trimmed; idno the scrambled code, passwd the scrambled
    // password; the placeholder teacher last.
    EXPECT_EQ(
        examRows(QStringLiteral("select tchno, name, idno, passwd from teacher order by rowid")),
        (QStringList{"A03|李老師|12?|24:3", "S02|O'Hara|42Q|", "T01|王老師|/2V|ad_",
                     "ZZZZ|未設定||"}));
    // A password that has no scrambled form keeps its teacher out, named.
    EXPECT_EQ(messages(),
              (QStringList{"教師資料匯入完成!",
                           "下列 1 筆教師資料無法寫入考試資料庫:\r\nB04 張老師\r\n請檢查!"}));
    EXPECT_EQ(window.messages[0].icon, Icon::None);
    // The bar ran over the 4 teachers, then over the 4 rows read back.
    EXPECT_EQ(windowEvents(),
              (QStringList{"disable", "busy", "range 4", "range 4", "enable", "end"}));
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000004/000004"));
    // Once per row copied and read back, and once after each read.
    EXPECT_EQ(window.yields, 8 + 2);
    expectEndedCleanly();
}

TEST_F(TeachersImport, SharedCodesAreReportedPairByPair) {
    school({QStringLiteral("insert into z_teach values (' T01','乙',NULL,NULL)"),
            QStringLiteral("insert into z_teach values ('A01','甲',NULL,NULL)"),
            QStringLiteral("insert into z_teach values ('T01 ','丙',NULL,NULL)"),
            QStringLiteral("insert into z_teach values ('ZZZZ','王',NULL,NULL)"),
            QStringLiteral("insert into z_teach values ('a01','丁',NULL,NULL)")});

    ImportTeachers(context);

    // Codes equal after trimming are a pair, a school teacher with the
    // placeholder's code is one, codes differing in letter case are not.
    EXPECT_EQ(messages(), QStringList{"[乙] 與 [丙] 有相同帳號 - T01!\r\n"
                                      "[王] 與 [未設定] 有相同帳號 - ZZZZ!\r\n"
                                      "請檢查!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000006/000006"));
    expectEndedCleanly();
}

TEST_F(TeachersImport, NoTeachersOrUnreadableSource) {
    exam({QStringLiteral("insert into teacher values ('OLD','舊師','','')")});

    // No teacher: no placeholder, the check finds nothing to report.
    ImportTeachers(context);
    EXPECT_TRUE(examRows(QStringLiteral("select * from teacher")).isEmpty());
    EXPECT_EQ(messages(), QStringList{"沒有可供匯入的教師資料!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Information);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "busy", "enable", "end"}));
    expectEndedCleanly();

    window = {};
    exam({QStringLiteral("insert into teacher values ('OLD','舊師','','')")});
    school({QStringLiteral("drop table z_teach")});
    ImportTeachers(context);
    EXPECT_EQ(examRows(QStringLiteral("select tchno from teacher")), QStringList{"OLD"});
    EXPECT_EQ(messages(), QStringList{"教師資料匯入失敗, 請重新執行!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "enable"}));
    expectEndedCleanly();
}

TEST_F(TeachersImport, PlaceholderRefusedBySchoolTeacherWithItsCodeIsNamed) {
    // An exam table that keeps one row per code: a school teacher holding
    // ZZZZ takes the code, and the placeholder that subjects without teacher
    // point at cannot be written. The user is told instead of a plain done.
    exam({QStringLiteral("drop table teacher"),
          QStringLiteral("create table teacher (tchno TEXT PRIMARY KEY, name TEXT, idno TEXT, "
                         "passwd TEXT)")});
    school({QStringLiteral("insert into z_teach values ('T01','甲',NULL,'p')"),
            QStringLiteral("insert into z_teach values ('ZZZZ','王',NULL,'q')")});

    ImportTeachers(context);

    EXPECT_EQ(examRows(QStringLiteral("select tchno, name from teacher order by tchno")),
              (QStringList{"T01|甲", "ZZZZ|王"}));
    EXPECT_EQ(messages(),
              (QStringList{"教師資料匯入完成!",
                           "下列 1 筆教師資料無法寫入考試資料庫:\r\nZZZZ 未設定\r\n請檢查!"}));
    EXPECT_EQ(window.messages[1].icon, Icon::Exclamation);
    EXPECT_FALSE(context.exam.errorPending());
    expectEndedCleanly();
}
