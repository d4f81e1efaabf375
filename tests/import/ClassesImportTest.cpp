#include "ImportFixture.h"
#include "import/BaseDataImports.h"

using namespace korvex;
using korvex::test::ImportFixture;
using Icon = MainWindowInterface::Icon;

namespace {

class ClassesImport : public ImportFixture {};

}  // namespace

// Short codes as start-up leaves them for high-school class numbers: the
// departments numbered from 10, a class's short code its class name.
TEST_F(ClassesImport, HighSchoolCodesGiveGroupOrDepartmentCodes) {
    exam({QStringLiteral("insert into class values ('999','舊班','10','9')")});
    school({QStringLiteral("insert into z_dept values ('101','普通科','11')"),
            QStringLiteral("insert into z_dept values ('102','體育科',NULL)"),
            QStringLiteral("insert into z_dept values ('301','資訊科','12')"),
            // 班級碼, 班級簡稱, 班級名稱, 班級類組, 簡碼
            QStringLiteral("insert into z_class values ('101301','三忠  ','301','2','301')"),
            QStringLiteral("insert into z_class values ('101302',' 三孝','302','','302')"),
            QStringLiteral("insert into z_class values ('101303','三仁','303',' 2','303')"),
            QStringLiteral("insert into z_class values ('101304','三愛','304','12','304')"),
            QStringLiteral("insert into z_class values ('105305','三信','305',NULL,'305')"),
            QStringLiteral("insert into z_class values ('102306','三義','306','  ','306')"),
            QStringLiteral("insert into z_class values ('301152','一和','152','3','152')"),
            QStringLiteral("insert into z_class values ('301101','O''s 班',NULL,'',NULL)"),
            QStringLiteral("insert into z_class values ('301102','無碼','','','')"),
            QStringLiteral("insert into z_class values ('301103','零碼','000','','000')")});

    ImportClasses(context);

    // In short-code order; a group gives "0" and its first character as
    // stored, no group the department's short code (00 when the department
    // is unknown, empty when its short code is NULL), other departments "1"
    // and the short code's second character.
    EXPECT_EQ(examRows(QStringLiteral("select class, name, dep, yy from class order by rowid")),
              (QStringList{"152|一和|15|1", "301|三忠|02|3", "302| 三孝|11|3", "303|三仁|0 |3",
                           "304|三愛|01|3", "305|三信|00|3", "306|三義||3"}));
    EXPECT_EQ(messages(), QStringList{"班級資料匯入完成!"});
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000007/000007"));
    EXPECT_EQ(window.messages[0].icon, Icon::None);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "busy", "range 7", "enable", "end"}));
    expectEndedCleanly();
}

// Short codes as start-up leaves them for vocational class numbers: grade,
// the department short code's second character, the class's second digit.
TEST_F(ClassesImport, VocationalCodesGiveGroupOrDepartmentCodes) {
    school({QStringLiteral("insert into z_dept values ('101','普通科','05')"),
            QStringLiteral("insert into z_dept values ('301','資訊科','07')"),
            QStringLiteral("insert into z_class values ('101203','二仁','203','','253')"),
            QStringLiteral("insert into z_class values ('101204','二愛','204','1','254')"),
            QStringLiteral("insert into z_class values ('301102','一孝','102','3','172')")});

    ImportClasses(context);

    EXPECT_EQ(examRows(QStringLiteral("select class, name, dep, yy from class order by rowid")),
              (QStringList{"172|一孝|17|1", "253|二仁|05|2", "254|二愛|01|2"}));
    EXPECT_EQ(messages(), QStringList{"班級資料匯入完成!"});
    expectEndedCleanly();
}

TEST_F(ClassesImport, DepartmentLookupEmptyOrUnreadable) {
    exam({QStringLiteral("insert into class values ('999','舊班','10','9')")});
    school({QStringLiteral("insert into z_class values ('101301','三忠','301','','301')")});

    // No department at all: the code is 00.
    ImportClasses(context);
    EXPECT_EQ(examRows(QStringLiteral("select class, dep from class")), QStringList{"301|00"});
    EXPECT_EQ(messages(), QStringList{"班級資料匯入完成!"});

    // The departments cannot be read: no class is written with a code taken
    // from nothing; the run stops as when the classes cannot be read, and
    // the classes of the last import stay.
    window = {};
    school({QStringLiteral("drop table z_dept")});
    ImportClasses(context);
    EXPECT_EQ(examRows(QStringLiteral("select class, dep from class")), QStringList{"301|00"});
    EXPECT_EQ(messages(), QStringList{"班級資料匯入失敗, 請重新執行!"});
    EXPECT_TRUE(reasons()[0].startsWith(QStringLiteral("校務行政資料庫: ")))
        << reasons()[0].toStdString();
    EXPECT_TRUE(reasons()[0].contains(QStringLiteral("z_dept"))) << reasons()[0].toStdString();
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "enable"}));
    expectEndedCleanly();
}

TEST_F(ClassesImport, NoClassesOrNoClassTable) {
    exam({QStringLiteral("insert into class values ('999','舊班','10','9')")});
    school({QStringLiteral("insert into z_class values ('101301','三忠','301','','000')")});

    ImportClasses(context);
    EXPECT_TRUE(examRows(QStringLiteral("select * from class")).isEmpty());
    EXPECT_EQ(messages(), QStringList{"沒有可供匯入的班級資料!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Information);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "busy", "enable", "end"}));
    expectEndedCleanly();

    // A source that cannot be read leaves the table as it was.
    window = {};
    exam({QStringLiteral("insert into class values ('999','舊班','10','9')")});
    school({QStringLiteral("drop table z_class")});
    ImportClasses(context);
    EXPECT_EQ(examRows(QStringLiteral("select class from class")), QStringList{"999"});
    EXPECT_EQ(messages(), QStringList{"班級資料匯入失敗, 請重新執行!"});
    EXPECT_TRUE(reasons()[0].contains(QStringLiteral("z_class"))) << reasons()[0].toStdString();
    expectEndedCleanly();
}
