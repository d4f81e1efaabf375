#include "ImportFixture.h"
#include "import/BaseDataImports.h"

using namespace korvex;
using korvex::test::ImportFixture;
using korvex::test::TestFolder;
using Icon = MainWindowInterface::Icon;

namespace {

class CoursesImport : public ImportFixture {};

}  // namespace

TEST_F(CoursesImport, ClassSubjectsWithTeachersAndWeights) {
    exam({QStringLiteral("insert into course (clsno,subjno,tchno) values ('999','X','T')")});
    school(
        {QStringLiteral("insert into z_class values ('101301','三忠','301','',' 31')"),
         QStringLiteral("insert into z_class values ('101302','三孝','302','','302')"),
         QStringLiteral("insert into sbcourse values ('101301',' A10001 ','T01 ',30,30,40,0,0,0)"),
         QStringLiteral("insert into sbcourse values ('101301','B10001','',33.5,33,33.5,0,0,0)"),
         QStringLiteral("insert into sbcourse values ('101302','A10001',NULL,1,2,3,4,5,6)"),
         QStringLiteral("insert into sbcourse values ('101302','B10001','   ',0,0,0,0,0,0)"),
         QStringLiteral("insert into sbcourse values ('101302','C10001',' T02',50,NULL,50,0,0,0)"),
         QStringLiteral("insert into sbcourse values ('109999','A10001','T09',1,1,1,1,1,1)"),
         QStringLiteral("insert into sbcourse values ('101302','D10001','O''K',0,0,0,0,0,0)")});

    ImportExamCourses(context);

    // Codes trimmed, a teacher's leading blank kept, ZZZZ for no teacher, the
    // weights as stored; a missing weight stays missing without losing the
    // row; a class that z_class does not hold is not imported.
    EXPECT_EQ(
        examRows(QStringLiteral("select clsno, subjno, tchno, ratio1, ratio2, ratio3, ratio4, "
                                "ratio5, ratio6 from course order by clsno, subjno")),
        (QStringList{"302|A10001|ZZZZ|1|2|3|4|5|6", "302|B10001|ZZZZ|0|0|0|0|0|0",
                     "302|C10001| T02|50|<null>|50|0|0|0", "302|D10001|O'K|0|0|0|0|0|0",
                     "31|A10001|T01|30|30|40|0|0|0", "31|B10001|ZZZZ|33.5|33|33.5|0|0|0"}));
    EXPECT_EQ(messages(), QStringList{"考試科目資料匯入完成!"});
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000006/000006"));
    EXPECT_EQ(window.messages[0].icon, Icon::None);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "busy", "range 6", "enable", "end"}));
    expectEndedCleanly();
}

TEST_F(CoursesImport, NoClassSubjectsOrUnreadableSource) {
    exam({QStringLiteral("insert into course (clsno,subjno,tchno) values ('999','X','T')")});
    school({QStringLiteral("insert into sbcourse values ('109999','A10001','T09',1,1,1,1,1,1)")});

    ImportExamCourses(context);
    EXPECT_TRUE(examRows(QStringLiteral("select * from course")).isEmpty());
    EXPECT_EQ(messages(), QStringList{"沒有可供匯入的考試科目資料!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Information);
    expectEndedCleanly();

    window = {};
    exam({QStringLiteral("insert into course (clsno,subjno,tchno) values ('999','X','T')")});
    school({QStringLiteral("drop table sbcourse")});
    ImportExamCourses(context);
    EXPECT_EQ(examRows(QStringLiteral("select clsno from course")), QStringList{"999"});
    EXPECT_EQ(messages(), QStringList{"考試科目資料匯入失敗, 請重新執行!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "enable"}));
    expectEndedCleanly();
}

TEST_F(CoursesImport, OldRowsThatCannotBeClearedAreKeptAndNothingIsWritten) {
    // course has no key: rows that could not be removed must not end up
    // beside the new ones.
    exam({QStringLiteral("insert into course (clsno,subjno,tchno) values ('301','A10001','OLD')"),
          QStringLiteral("create trigger keep before delete on course begin "
                         "select raise(abort, 'kept'); end")});
    school({QStringLiteral("insert into z_class values ('101301','三忠','301','','301')"),
            QStringLiteral("insert into sbcourse values ('101301','A10001','T01',1,1,1,1,1,1)")});

    ImportExamCourses(context);

    EXPECT_EQ(examRows(QStringLiteral("select clsno, subjno, tchno from course order by rowid")),
              (QStringList{"301|A10001|OLD"}));
    EXPECT_EQ(messages(), (QStringList{"無法清除考試資料庫中原有的考試科目資料, "
                                       "沒有寫入任何資料, 請重新執行!"}));
    EXPECT_EQ(reasons()[0], QStringLiteral("考試資料庫 exam.mdb: kept"));
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    expectEndedCleanly();
}

TEST_F(CoursesImport, WeightsAreNumbersAsOnTheServer) {
    school({QStringLiteral("insert into z_class values ('101301','三忠','301','','')")});
    // A weight that is no number is refused, as the server refuses to
    // convert it; a number written as text is stored as the number.
    EXPECT_TRUE(context.school.executeGuarded(QStringLiteral(
        "insert into sbcourse values ('101301','B10001','T01','30',' 25.5 ',NULL,0,0,45)")));
    for (const char* weight : {"'abc'", "'30%'", "''", "x'3330'"}) {
        EXPECT_FALSE(context.school.executeGuarded(
            QStringLiteral("insert into sbcourse values ('101301','A10001','T01',%1,0,0,0,0,0)")
                .arg(QString::fromLatin1(weight))))
            << weight;
        EXPECT_FALSE(context.school.executeGuarded(
            QStringLiteral("update sbcourse set 考試比例6=%1").arg(QString::fromLatin1(weight))))
            << weight;
    }
    EXPECT_EQ(
        TestFolder::rows(schoolFile,
                         QStringLiteral("select count(*) from sbcourse where typeof(考試比例1) "
                                        "<> 'real' or typeof(考試比例2) <> 'real'")),
        QStringList{"0"});

    ImportExamCourses(context);
    EXPECT_EQ(
        examRows(QStringLiteral("select subjno, ratio1, ratio2, ratio3, ratio6, typeof(ratio1) "
                                "from course")),
        QStringList{"B10001|30|25.5|<null>|45|real"});
    EXPECT_EQ(messages(), QStringList{"考試科目資料匯入完成!"});
    expectEndedCleanly();
}
