#include <QDir>
#include <QFileInfo>

#include "ImportFixture.h"
#include "import/BaseDataImports.h"

using namespace korvex;
using korvex::test::ImportFixture;
using korvex::test::TestFolder;
using Icon = MainWindowInterface::Icon;

namespace {

class DepartmentsImport : public ImportFixture {};

}  // namespace

TEST_F(DepartmentsImport, GroupsThenDepartmentsWithTheirCodes) {
    exam({QStringLiteral("insert into dep values ('99','舊資料')")});
    school({QStringLiteral("insert into z_ugroup values ('1','自然組  ')"),
            QStringLiteral("insert into z_ugroup values ('12',' 社會組')"),
            QStringLiteral("insert into z_ugroup values ('x3','其他')"),
            QStringLiteral("insert into z_ugroup values ('1.5','半組')"),
            QStringLiteral("insert into z_ugroup values (' 4 ','O''Brien 組')"),
            QStringLiteral("insert into z_dept values ('301','資訊科  ','12')"),
            QStringLiteral("insert into z_dept values ('101','普通科','11')"),
            QStringLiteral("insert into z_dept values ('201','商業科','00')"),
            QStringLiteral("insert into z_dept values ('202','美工科','')"),
            QStringLiteral("insert into z_dept values ('203','機械科',NULL)")});

    ImportDepartmentsAndGroups(context);

    // Groups first (their number as two digits, names without trailing
    // blanks, a quote intact), then departments by short code; departments
    // without a short code above 00 are left out; old rows are gone. The
    // department whose short code a group took is refused and named.
    EXPECT_EQ(examRows(QStringLiteral("select class, name from dep order by rowid")),
              (QStringList{"01|自然組", "12| 社會組", "00|其他", "02|半組", "04|O'Brien 組",
                           "11|普通科"}));
    EXPECT_EQ(messages(),
              (QStringList{"類組資料匯入完成!", "科別資料匯入完成!",
                           "下列 1 筆科別資料無法寫入考試資料庫:\r\n301 資訊科\r\n請檢查!"}));
    ASSERT_EQ(window.messages.size(), 3);
    EXPECT_EQ(window.messages[0].icon, Icon::None);
    // The messages come once every row is committed, over the final count.
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000002/000002"));
    EXPECT_TRUE(window.messages[0].labelVisible);
    EXPECT_EQ(window.messages[0].title, QStringLiteral("KORVEX小幫手Zamo高中版"));
    EXPECT_EQ(window.messages[1].labelText, QStringLiteral("000002/000002"));
    EXPECT_EQ(window.messages[2].icon, Icon::Exclamation);
    EXPECT_EQ(windowEvents(),
              (QStringList{"disable", "busy", "range 5", "busy", "range 2", "enable", "end"}));
    // Once per row, and once after each source is read.
    EXPECT_EQ(window.yields, 7 + 2);
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, GroupCodesAreReadWithoutExponent) {
    // A letter after the digits ends the number: '1e1' is group 1, not 10.
    school({QStringLiteral("insert into z_ugroup values ('1e1','甲')"),
            QStringLiteral("insert into z_ugroup values ('3e-1','乙')"),
            QStringLiteral("insert into z_ugroup values ('2d1','丙')"),
            QStringLiteral("insert into z_ugroup values ('5e400','丁')"),
            QStringLiteral("insert into z_ugroup values ('&H10','戊')")});

    ImportDepartmentsAndGroups(context);

    EXPECT_EQ(examRows(QStringLiteral("select class, name from dep order by rowid")),
              (QStringList{"01|甲", "03|乙", "02|丙", "05|丁", "00|戊"}));
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, NoGroupsStillImportsDepartments) {
    school({QStringLiteral("insert into z_dept values ('101','普通科','10')")});

    ImportDepartmentsAndGroups(context);

    EXPECT_EQ(examRows(QStringLiteral("select class, name from dep")), QStringList{"10|普通科"});
    EXPECT_EQ(messages(), (QStringList{"沒有可供匯入的類組資料!", "科別資料匯入完成!"}));
    EXPECT_EQ(window.messages[0].icon, Icon::Information);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "busy", "busy", "range 1", "enable", "end"}));
    expectEndedCleanly();

    // Nothing at all: two information messages, the run ends normally.
    window = {};
    school({QStringLiteral("delete from z_dept")});
    ImportDepartmentsAndGroups(context);
    EXPECT_TRUE(examRows(QStringLiteral("select * from dep")).isEmpty());
    EXPECT_EQ(messages(), (QStringList{"沒有可供匯入的類組資料!", "沒有可供匯入的科別資料!"}));
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, SourceThatCannotBeOpenedStopsTheRun) {
    exam({QStringLiteral("insert into dep values ('99','舊資料')")});
    school({QStringLiteral("drop table z_ugroup"),
            QStringLiteral("insert into z_dept values ('101','普通科','10')")});

    ImportDepartmentsAndGroups(context);

    // The table keeps its rows, no department is written, the busy display
    // was never shown.
    EXPECT_EQ(examRows(QStringLiteral("select * from dep")), QStringList{"99|舊資料"});
    EXPECT_EQ(messages(), QStringList{"類組資料匯入失敗, 請重新執行!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "enable"}));
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, DepartmentSourceFailingAfterGroupsChangesNothing) {
    // Both sources are read before the table is touched: the groups are not
    // written without their departments.
    exam({QStringLiteral("insert into dep values ('99','舊資料')")});
    school({QStringLiteral("insert into z_ugroup values ('1','甲')"),
            QStringLiteral("insert into z_ugroup values ('2','乙')"),
            QStringLiteral("drop table z_dept")});

    ImportDepartmentsAndGroups(context);

    EXPECT_EQ(examRows(QStringLiteral("select class from dep order by class")), QStringList{"99"});
    EXPECT_EQ(messages(), QStringList{"科別資料匯入失敗, 請重新執行!"});
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "enable"}));
    // Nothing was changed, so no copy of exam.mdb was needed.
    EXPECT_FALSE(QDir(folder.file("backup")).exists());
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, FailedClearingWritesNothing) {
    // The exam database refuses to delete: the old rows stay and no new row
    // is written beside them.
    exam({QStringLiteral("insert into dep values ('01','舊甲')"),
          QStringLiteral("insert into dep values ('07','舊乙')"),
          QStringLiteral("create trigger keep before delete on dep begin "
                         "select raise(abort, 'kept'); end")});
    school({QStringLiteral("insert into z_ugroup values ('1','新甲')"),
            QStringLiteral("insert into z_ugroup values ('2','新乙')")});

    ImportDepartmentsAndGroups(context);

    EXPECT_EQ(examRows(QStringLiteral("select class, name from dep order by class")),
              (QStringList{"01|舊甲", "07|舊乙"}));
    EXPECT_EQ(messages(), QStringList{"無法清除考試資料庫中原有的類組及科別資料, "
                                      "沒有寫入任何資料, 請重新執行!"});
    EXPECT_EQ(reasons(), QStringList{"考試資料庫 exam.mdb: kept"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_FALSE(context.exam.errorPending());
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, RefusedRowsAreLeftOutAloneAndListed) {
    // A repeated code and a code too long for the column are refused; the
    // rows around them are written, and every source row counts.
    exam({QStringLiteral("insert into dep values ('07','舊乙')")});
    school({QStringLiteral("insert into z_ugroup values ('1','新甲')"),
            QStringLiteral("insert into z_ugroup values ('1','重複')"),
            QStringLiteral("insert into z_ugroup values ('123','長')"),
            QStringLiteral("insert into z_ugroup values ('2','新乙')")});

    ImportDepartmentsAndGroups(context);

    EXPECT_EQ(examRows(QStringLiteral("select class, name from dep order by class")),
              (QStringList{"01|新甲", "02|新乙"}));
    EXPECT_EQ(messages(),
              (QStringList{"類組資料匯入完成!",
                           "下列 2 筆類組資料無法寫入考試資料庫:\r\n1 重複\r\n123 長\r\n請檢查!",
                           "沒有可供匯入的科別資料!"}));
    // The last message names the copy of exam.mdb taken before the change,
    // which holds the old rows.
    const QString copy = backupTaken();
    ASSERT_FALSE(copy.isEmpty());
    EXPECT_TRUE(QFileInfo(copy).fileName().endsWith(QStringLiteral(".mdb"))) << copy.toStdString();
    EXPECT_EQ(TestFolder::rows(copy, QStringLiteral("select class, name from dep")),
              QStringList{"07|舊乙"});
    EXPECT_FALSE(context.exam.errorPending());
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, ErrorLeftPendingBeforeTheRunDoesNotKeepOldRows) {
    // Earlier work on the exam connection left an error pending: the table
    // is still emptied, and the new groups are not refused as repeats.
    exam({QStringLiteral("insert into dep values ('01','舊甲')")});
    school({QStringLiteral("insert into z_ugroup values ('1','新甲')")});
    context.exam.raise({QStringLiteral("earlier failure")});

    ImportDepartmentsAndGroups(context);

    EXPECT_EQ(examRows(QStringLiteral("select class, name from dep")), QStringList{"01|新甲"});
    EXPECT_EQ(messages(), (QStringList{"類組資料匯入完成!", "沒有可供匯入的科別資料!"}));
    expectEndedCleanly();
}

TEST_F(DepartmentsImport, ManyRefusedRowsAreCountedBeyondTheListed) {
    QStringList statements;
    for (int i = 0; i < 25; ++i)
        statements << QStringLiteral("insert into z_ugroup values ('%1','組%1')").arg(100 + i);
    school(statements);

    ImportDepartmentsAndGroups(context);

    ASSERT_EQ(messages().size(), 3);
    const QString warning = messages()[1];
    EXPECT_TRUE(warning.startsWith(
        QStringLiteral("下列 25 筆類組資料無法寫入考試資料庫:\r\n100 組100\r\n")));
    EXPECT_TRUE(warning.endsWith(QStringLiteral("119 組119\r\n…其餘 5 筆未列出\r\n請檢查!")));
    EXPECT_EQ(warning.count(QStringLiteral("\r\n")), 22);  // heading, 20 rows, the rest
}
