#include "ImportFixture.h"
#include "import/BaseDataImports.h"

using namespace korvex;
using korvex::test::ImportFixture;
using Icon = MainWindowInterface::Icon;

namespace {

class SubjectsImport : public ImportFixture {};

}  // namespace

TEST_F(SubjectsImport, SixCharacterSubjectsOfTheClassesByName) {
    exam({QStringLiteral("insert into subject values ('000001','閱卷科目')"),
          QStringLiteral("insert into subject values ('123456','舊科目')")});
    school({QStringLiteral("insert into z_course values ('B10001','數學  ',NULL)"),
            QStringLiteral("insert into z_course values ('A10001',' 國文 ',NULL)"),
            QStringLiteral("insert into z_course values ('C1000','短碼',NULL)"),
            QStringLiteral("insert into z_course values ('D100001','長碼',NULL)"),
            QStringLiteral("insert into z_course values ('E10001 ','O''Reilly 英文',NULL)"),
            QStringLiteral("insert into z_course values ('F10001','無班級',NULL)"),
            // 班級碼, 科目碼, 教師碼, weights
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','B10001')"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101302','B10001')"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','A10001')"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','C1000')"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','D100001')"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','E10001 ')"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','G10001')")});

    ImportSubjects(context);

    // Each code once, trimmed, in the order of the names as stored; the
    // grading program's own subjects (0000...) are kept.
    EXPECT_EQ(
        examRows(QStringLiteral("select class, name from subject order by rowid")),
        (QStringList{"000001|閱卷科目", "A10001|國文", "E10001|O'Reilly 英文", "B10001|數學"}));
    EXPECT_EQ(messages(), QStringList{"科目資料匯入完成!"});
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000003/000003"));
    EXPECT_EQ(window.messages[0].icon, Icon::None);
    expectEndedCleanly();
}

TEST_F(SubjectsImport, NoSubjectsOrUnreadableSource) {
    exam({QStringLiteral("insert into subject values ('000001','閱卷科目')"),
          QStringLiteral("insert into subject values ('123456','舊科目')")});
    school({QStringLiteral("insert into z_course values ('C1000','短碼',NULL)"),
            QStringLiteral("insert into sbcourse (班級碼,科目碼) values ('101301','C1000')")});

    ImportSubjects(context);
    EXPECT_EQ(examRows(QStringLiteral("select class from subject")), QStringList{"000001"});
    EXPECT_EQ(messages(), QStringList{"沒有可供匯入的科目資料!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Information);
    expectEndedCleanly();

    window = {};
    school({QStringLiteral("drop table z_course")});
    ImportSubjects(context);
    EXPECT_EQ(examRows(QStringLiteral("select class from subject")), QStringList{"000001"});
    EXPECT_EQ(messages(), QStringList{"科目資料匯入失敗, 請重新執行!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    expectEndedCleanly();
}
