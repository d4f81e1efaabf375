#include "ImportFixture.h"
#include "import/BaseDataImports.h"

using namespace korvex;
using korvex::test::ImportFixture;
using korvex::test::TestFolder;
using Icon = MainWindowInterface::Icon;

namespace {

struct Student {
    QString department, grade, classNo, seat;
    QString name;
    QString id;
    QVariant groups = QStringLiteral("");
    QVariant status = QStringLiteral("");
    QString semester = QStringLiteral("1");
    QString zone = {}, zip = {}, address = {}, parent = {};
};

class StudentsImport : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        // High-school short codes: departments from 10, classes by name.
        school({QStringLiteral("insert into z_dept values ('101','普通科','11')"),
                QStringLiteral("insert into z_dept values ('301','資訊科','12')"),
                QStringLiteral("insert into z_class values ('101203','二仁','203','','203')"),
                QStringLiteral("insert into z_class values ('101301','三忠','301','','301')"),
                QStringLiteral("insert into z_class values ('101101','一忠','101','','101')"),
                QStringLiteral("insert into z_class values ('102101','一體','111','','111')"),
                QStringLiteral("insert into z_class values ('301152','一和','152','','152')")});
    }

    void add(const Student& s) {
        TestFolder::run(
            schoolFile,
            QStringLiteral("insert into sastuden (學號, 在學科別, 在學年級, 在學班次, "
                           "在學座號, 在學狀態, 在學學期, 姓名, 身份證號, 學期類組別, "
                           "通縣市區, 通郵遞區號, 通號碼地址, 家長姓名) "
                           "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {QStringLiteral("S%1").arg(++m_number), s.department, s.grade, s.classNo, s.seat,
             s.status, s.semester, s.name, s.id, s.groups, s.zone, s.zip, s.address, s.parent});
    }

    QStringList students() const {
        return examRows(
            QStringLiteral("select class, seat, name, sid, examno, gro from name order by rowid"));
    }

private:
    int m_number = 0;
};

}  // namespace

TEST_F(StudentsImport, RowsGroupCodesAndContactData) {
    exam(
        {QStringLiteral("insert into name(class,seat,name,sid,examno,gro) "
                        "values ('999','01','舊生','X','99901','10')")});
    // Grade 2, semester 1: positions 3 down to 1; position 3 holds 0, 2 holds 2.
    add({"101", "2", "03", "07", "王小明  ", "A100000001", "120000", "", "1", "臺北市 ", "100  ",
         "中正路1號  ", "王大明 "});
    // No group up to the current term: the department's short code.
    add({"101", "2", "03", "08", "李四", "A100000002", "000300"});
    // Grade 1, semester 1: only the first position counts.
    add({"101", "1", "01", "09", "張三", "A100000003", "03"});
    // Grade 3, semester 1 with a shorter group string: scanned from its end.
    add({"101", "3", "01", "01", "O'Neil", " B20000001 ", "12", "延修生", "1", "", "", "O'Street",
         ""});
    // A department beginning with 10 that z_dept does not know, no group.
    add({"102", "1", "01", "05", "陳五", "C1", QVariant()});
    // Another department: "1" and the class short code's second character.
    add({"301", "1", "52", "02", "林六", "D1", "999999", "畢業"});
    // A class that z_class does not know: no class code, the seat alone.
    add({"201", "1", "05", "09", "周七", "E1"});
    // Left out: seat 00, class 00, another status, another semester, NULL status.
    add({"101", "2", "03", "00", "座零", "F1"});
    add({"101", "2", "00", "10", "班零", "F2"});
    add({"101", "2", "03", "11", "休學生", "F3", "", "休學"});
    add({"101", "2", "03", "12", "下學期", "F4", "", "", "2"});
    add({"101", "2", "03", "13", "無狀態", "F5", "", QVariant()});

    ImportStudents(context);

    EXPECT_EQ(students(),
              (QStringList{"|09|周七|E1|09|1", "101|09|張三|A100000003|10109|11",
                           "111|05|陳五|C1|11105|00", "152|02|林六|D1|15202|15",
                           "203|07|王小明|A100000001|20307|02", "203|08|李四|A100000002|20308|11",
                           "301|01|O'Neil| B20000001 |30101|02"}));
    EXPECT_EQ(
        examRows(QStringLiteral("select address, zipcode, addzone, father from name where sid in "
                                "('A100000001',' B20000001 ') order by sid")),
        (QStringList{"O'Street|||", "中正路1號|100|臺北市|王大明"}));
    EXPECT_EQ(messages(), QStringList{"學生資料匯入完成!"});
    // The bar ran over the students, then over the table read back.
    EXPECT_EQ(windowEvents(),
              (QStringList{"disable", "busy", "range 7", "range 7", "enable", "end"}));
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000007/000007"));
    EXPECT_EQ(window.messages[0].icon, Icon::None);
    // Once per row copied and read back, and once after each read.
    EXPECT_EQ(window.yields, 14 + 2);
    expectEndedCleanly();
}

TEST_F(StudentsImport, TheSemesterSettingChoosesTheStudentsAndTheTerm) {
    // Grade 3, semester 2: positions 6 down to 1.
    add({"101", "3", "01", "01", "甲", "A1", "100003", "", "2"});
    add({"101", "3", "01", "02", "乙", "A2", "1000030", "", "2"});
    add({"101", "3", "01", "03", "丙", "A3", "100003", "", "1"});
    context.settings.semester = QStringLiteral("2");

    ImportStudents(context);

    EXPECT_EQ(students(), (QStringList{"301|01|甲|A1|30101|03", "301|02|乙|A2|30102|03"}));
}

TEST_F(StudentsImport, StudentsSharingAnExamNumberAreReported) {
    add({"101", "2", "03", "07", "王一", "A1"});
    add({"101", "2", "03", "07", "王二", "A2"});
    add({"101", "2", "03", "07", "王三", "A3"});
    add({"101", "2", "03", "08", "李四", "A4"});
    // Two classes that z_class does not know, the same seat.
    add({"201", "1", "05", "09", "周七", "E1"});
    add({"202", "1", "06", "09", "吳八", "E2"});

    ImportStudents(context);

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QStringLiteral("[E1周七] 與 [E2吳八] 有相同班級座號 - 09!\r\n"
                                            "[A1王一] 與 [A2王二] 有相同班級座號 - 20307!\r\n"
                                            "[A2王二] 與 [A3王三] 有相同班級座號 - 20307!\r\n"
                                            "請檢查!"));
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000006/000006"));
    expectEndedCleanly();
}

TEST_F(StudentsImport, NoStudentsUnreadableSourceOrDepartments) {
    exam(
        {QStringLiteral("insert into name(class,seat,name,sid,examno,gro) "
                        "values ('999','01','舊生','X','99901','10')")});
    add({"101", "2", "03", "07", "下學期", "A1", "", "", "2"});

    // No student this semester: the information message, nothing after it.
    ImportStudents(context);
    EXPECT_TRUE(students().isEmpty());
    EXPECT_EQ(messages(), QStringList{"沒有可供匯入的學生資料!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Information);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "busy", "enable", "end"}));
    expectEndedCleanly();

    // The departments cannot be read: nothing is written.
    window = {};
    context.settings.semester = QStringLiteral("2");
    school({QStringLiteral("alter table z_dept rename to z_dept_gone")});
    ImportStudents(context);
    EXPECT_TRUE(students().isEmpty());
    EXPECT_EQ(messages(), QStringList{"學生資料匯入失敗, 請重新執行!"});
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_EQ(windowEvents(), (QStringList{"disable", "enable"}));
    expectEndedCleanly();

    // The students cannot be read.
    window = {};
    school({QStringLiteral("alter table z_dept_gone rename to z_dept"),
            QStringLiteral("drop table sastuden")});
    ImportStudents(context);
    EXPECT_EQ(messages(), QStringList{"學生資料匯入失敗, 請重新執行!"});
    expectEndedCleanly();
}

TEST_F(StudentsImport, RefusedStudentIsNamedAfterTheCheck) {
    exam(
        {QStringLiteral("create trigger refuse before insert on name when new.name = '王二' "
                        "begin select raise(abort, 'refused'); end")});
    add({"101", "2", "03", "07", "王一", "A1"});
    add({"101", "2", "03", "08", "王二", "A2"});
    ImportStudents(context);
    EXPECT_EQ(students(), QStringList{"203|07|王一|A1|20307|11"});
    EXPECT_EQ(messages(),
              (QStringList{"學生資料匯入完成!",
                           "下列 1 筆學生資料無法寫入考試資料庫:\r\nS2 王二\r\n請檢查!"}));
    // The copy counted both students, the check the one in the table.
    EXPECT_EQ(windowEvents(),
              (QStringList{"disable", "busy", "range 2", "range 1", "enable", "end"}));
    EXPECT_EQ(window.messages[0].labelText, QStringLiteral("000001/000001"));
    expectEndedCleanly();
}
