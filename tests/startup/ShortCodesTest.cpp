#include <gtest/gtest.h>

#include "SchoolFixture.h"
#include "startup/StartupSteps.h"

using namespace korvex;
using korvex::test::SchoolFixture;
using korvex::test::TestFolder;

namespace {

const QString kExtended = QStringLiteral("延修一");
const QString kGraduated = QStringLiteral("畢業");

// Connects and prepares the short codes as start-up does.
void prepare(SchoolFixture& f) {
    ASSERT_TRUE(openSchoolConnection(f.context));
    prepareShortCodes(f.context);
    EXPECT_FALSE(f.context.school.errorPending());
}

int columnCount(const QString& file, const QString& table, const QString& column) {
    return int(TestFolder::rows(
                   file, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table))
                   .count(column));
}

}  // namespace

TEST(ShortCodes, VocationalDepartmentsAndClassesFirstAndSecondStart) {
    SchoolFixture f;
    f.context.settings.vocational = 1;
    for (const char* code : {"301", "302", "A01", "B02", "303"})
        f.department(QString::fromLatin1(code));
    f.schoolClass(QStringLiteral("301203"), QStringLiteral("機二三"));
    f.schoolClass(QStringLiteral("302101"), QStringLiteral("電一一"));
    f.schoolClass(QStringLiteral("A01311"), QStringLiteral("商三一"));
    f.schoolClass(QStringLiteral("303101"), QStringLiteral("空班"));
    // Student numbers carry the department's short code in characters 2 and 3.
    f.student(QStringLiteral("105001"), QStringLiteral("301"), QStringLiteral("2"),
              QStringLiteral("03"), QStringLiteral("01"));
    f.student(QStringLiteral("105002"), QStringLiteral("301"), QStringLiteral("2"),
              QStringLiteral("03"), QStringLiteral("02"), kExtended);
    f.student(QStringLiteral("107001"), QStringLiteral("302"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1X9001"), QStringLiteral("A01"), QStringLiteral("3"),
              QStringLiteral("11"), QStringLiteral("05"));
    // Not active: graduated, no class, no seat. Department 303 and B02 have
    // only such students, so they get no code and their class none either.
    f.student(QStringLiteral("133001"), QStringLiteral("303"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"), kGraduated);
    f.student(QStringLiteral("133002"), QStringLiteral("303"), QStringLiteral("1"),
              QStringLiteral("00"), QStringLiteral("01"));
    f.student(QStringLiteral("1Y0001"), QStringLiteral("B02"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("00"));

    const QStringList departments{QStringLiteral("301|05"), QStringLiteral("302|07"),
                                  QStringLiteral("303|"), QStringLiteral("A01|08"),
                                  QStringLiteral("B02|")};
    // Grade, 2nd character of the department's short code, 2nd digit of the class.
    QStringList classes{QStringLiteral("301203|253"), QStringLiteral("302101|171"),
                        QStringLiteral("303101|<null>"), QStringLiteral("A01311|381")};

    prepare(f);
    EXPECT_EQ(f.departmentCodes(), departments);
    EXPECT_EQ(f.classCodes(), classes);

    // A second start: the columns exist, the ALTERs fail quietly, and the
    // codes come out the same; a class without active students keeps
    // whatever code it has.
    TestFolder::run(f.schoolFile,
                    {QStringLiteral("UPDATE z_class SET 簡碼='old' WHERE 班級碼='303101'")});
    f.context.school.close();
    prepare(f);
    EXPECT_EQ(columnCount(f.schoolFile, QStringLiteral("z_dept"), QStringLiteral("科別簡碼")), 1);
    EXPECT_EQ(columnCount(f.schoolFile, QStringLiteral("z_class"), QStringLiteral("簡碼")), 1);
    EXPECT_EQ(f.departmentCodes(), departments);
    classes.replace(2, QStringLiteral("303101|old"));
    EXPECT_EQ(f.classCodes(), classes);
}

TEST(ShortCodes, VocationalRunningNumberContinuesFromTheLastNumericDepartment) {
    // The last numeric department in code order has 03, the largest is 09:
    // the other departments continue from 03.
    SchoolFixture f;
    f.context.settings.vocational = 2;
    for (const char* code : {"301", "302", "A01", "B01"}) f.department(QString::fromLatin1(code));
    f.student(QStringLiteral("1090"), QStringLiteral("301"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1030"), QStringLiteral("302"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1ZZ0"), QStringLiteral("A01"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1ZZ1"), QStringLiteral("B01"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    prepare(f);
    EXPECT_EQ(f.departmentCodes(),
              (QStringList{QStringLiteral("301|09"), QStringLiteral("302|03"),
                           QStringLiteral("A01|04"), QStringLiteral("B01|05")}));
}

TEST(ShortCodes, VocationalWithoutNumericDepartmentsStartsAtOne) {
    SchoolFixture f;
    f.context.settings.vocational = 1;
    for (const char* code : {"A01", "B01"}) f.department(QString::fromLatin1(code));
    f.schoolClass(QStringLiteral("B01102"), QStringLiteral("乙一二"));
    f.student(QStringLiteral("1ab"), QStringLiteral("A01"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1cd"), QStringLiteral("B01"), QStringLiteral("1"),
              QStringLiteral("02"), QStringLiteral("01"));
    prepare(f);
    EXPECT_EQ(f.departmentCodes(),
              (QStringList{QStringLiteral("A01|01"), QStringLiteral("B01|02")}));
    EXPECT_EQ(f.classCodes(), QStringList{QStringLiteral("B01102|122")});
}

TEST(ShortCodes, VocationalOverflowRollsBackOnlyItsOwnBatch) {
    // 99 + 1 does not fit the two-character column: the other departments'
    // batch is rolled back, the numeric department keeps its code, and a
    // short code from an earlier start is not left behind.
    SchoolFixture f(true);
    f.context.settings.vocational = 1;
    for (const char* code : {"301", "A01", "B01"}) f.department(QString::fromLatin1(code));
    TestFolder::run(f.schoolFile, {QStringLiteral("UPDATE z_dept SET 科別簡碼='77'")});
    f.student(QStringLiteral("199"), QStringLiteral("301"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1aa"), QStringLiteral("A01"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    f.student(QStringLiteral("1bb"), QStringLiteral("B01"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), (QStringList{QStringLiteral("301|99"), QStringLiteral("A01|"),
                                                QStringLiteral("B01|")}));
}

TEST(ShortCodes, HighSchoolDepartmentsAndClassNames) {
    SchoolFixture f;
    f.context.settings.vocational = 0;
    for (const char* code : {"101", "201", "301"}) f.department(QString::fromLatin1(code));
    // Department 150 is missing from z_dept: it uses up 11 without effect.
    // Every student counts, graduated or not.
    f.student(QStringLiteral("1"), QStringLiteral("301"), QStringLiteral("1"), QStringLiteral("01"),
              QStringLiteral("01"));
    f.student(QStringLiteral("2"), QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("00"),
              QStringLiteral("00"), kGraduated);
    f.student(QStringLiteral("3"), QStringLiteral("150"), QStringLiteral("1"), QStringLiteral("01"),
              QStringLiteral("01"));
    f.student(QStringLiteral("4"), QStringLiteral("201"), QStringLiteral("1"), QStringLiteral("01"),
              QStringLiteral("01"));
    // Department 101: only classes with a group take their name; elsewhere
    // only classes whose number begins with 0.
    f.schoolClass(QStringLiteral("101103"), QStringLiteral("忠"), QStringLiteral("1"));
    f.schoolClass(QStringLiteral("101104"), QStringLiteral("孝"), QStringLiteral("0"));
    f.schoolClass(QStringLiteral("101204"), QStringLiteral("仁"), QString());
    f.schoolClass(QStringLiteral("201102"), QStringLiteral("愛"));
    f.schoolClass(QStringLiteral("201112"), QStringLiteral("信"));

    const QStringList classes{QStringLiteral("101103|忠"), QStringLiteral("101104|<null>"),
                              QStringLiteral("101204|<null>"), QStringLiteral("201102|愛"),
                              QStringLiteral("201112|<null>")};
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), (QStringList{QStringLiteral("101|10"), QStringLiteral("201|12"),
                                                QStringLiteral("301|13")}));
    EXPECT_EQ(f.classCodes(), classes);

    f.context.school.close();
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), (QStringList{QStringLiteral("101|10"), QStringLiteral("201|12"),
                                                QStringLiteral("301|13")}));
    EXPECT_EQ(f.classCodes(), classes);
}

TEST(ShortCodes, HighSchoolStudentsWithoutADepartmentUseUpTheFirstNumber) {
    // The students without a department sort first: their row takes 10 and
    // updates nothing, not even a department whose code is empty.
    SchoolFixture f;
    f.context.settings.vocational = 0;
    for (const char* code : {"", "101", "201"}) f.department(QString::fromLatin1(code));
    f.student(QStringLiteral("1"), QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("01"),
              QStringLiteral("01"));
    f.student(QStringLiteral("2"), QStringLiteral("201"), QStringLiteral("1"), QStringLiteral("01"),
              QStringLiteral("01"));
    TestFolder::run(
        f.schoolFile,
        {QStringLiteral("INSERT INTO sastuden (學號, 在學科別, 在學年級, 在學班次, 在學座號) "
                        "VALUES ('3', NULL, '1', '01', '01')")});
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), (QStringList{QStringLiteral("|"), QStringLiteral("101|11"),
                                                QStringLiteral("201|12")}));

    // Without that student the numbering starts at 10 again.
    TestFolder::run(f.schoolFile, {QStringLiteral("DELETE FROM sastuden WHERE 在學科別 IS NULL")});
    f.context.school.close();
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), (QStringList{QStringLiteral("|"), QStringLiteral("101|10"),
                                                QStringLiteral("201|11")}));
}

TEST(ShortCodes, HighSchoolWithMoreThanNinetyDepartmentsLeavesAllEmpty) {
    SchoolFixture f;
    f.context.settings.vocational = 0;
    for (int i = 0; i < 3; ++i) {
        const QString code = QString::number(101 + i);
        f.department(code);
        f.student(code, code, QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("01"));
    }
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), (QStringList{QStringLiteral("101|10"), QStringLiteral("102|11"),
                                                QStringLiteral("103|12")}));

    // 91 departments: the last would be numbered 100, which the column
    // refuses; the whole numbering is rolled back and the codes of the
    // earlier start are gone too.
    QStringList more;
    for (int code = 104; code <= 191; ++code)
        more << QStringLiteral("INSERT INTO z_dept (科別碼) VALUES ('%1')").arg(code)
             << QStringLiteral(
                    "INSERT INTO sastuden (學號, 在學科別, 在學年級, 在學班次, 在學座號) "
                    "VALUES ('%1', '%1', '1', '01', '01')")
                    .arg(code);
    TestFolder::run(f.schoolFile, more);
    f.context.school.close();
    prepare(f);
    const QStringList codes = f.departmentCodes();
    ASSERT_EQ(codes.size(), 91);
    for (const QString& row : codes) EXPECT_TRUE(row.endsWith(u'|')) << row.toStdString();

    // With 90 departments everything fits again, up to 99.
    TestFolder::run(f.schoolFile, {QStringLiteral("DELETE FROM sastuden WHERE 在學科別='191'")});
    f.context.school.close();
    prepare(f);
    EXPECT_EQ(f.departmentCodes().at(89), QStringLiteral("190|99"));
    EXPECT_EQ(f.departmentCodes().at(90), QStringLiteral("191|"));
}

TEST(ShortCodes, FailuresAreQuietAndLeaveNoPendingError) {
    // A school database without z_class: the class steps fail, the
    // department codes are still written, and nothing is left pending.
    SchoolFixture f;
    f.context.settings.vocational = 1;
    f.department(QStringLiteral("301"));
    f.student(QStringLiteral("105"), QStringLiteral("301"), QStringLiteral("1"),
              QStringLiteral("01"), QStringLiteral("01"));
    TestFolder::run(f.schoolFile, {QStringLiteral("DROP TABLE z_class")});
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), QStringList{QStringLiteral("301|05")});

    f.context.settings.vocational = 0;
    f.context.school.close();
    prepare(f);
    EXPECT_EQ(f.departmentCodes(), QStringList{QStringLiteral("301|10")});
}
