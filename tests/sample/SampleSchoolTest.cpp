#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "TestFolder.h"
#include "sample/SamplePeople.h"
#include "sample/SampleSchool.h"
#include "settings/SettingsFile.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

int count(const QString& file, const QString& sql) {
    const QStringList r = TestFolder::rows(file, sql);
    return r.isEmpty() ? -1 : r.first().toInt();
}

// Students the program treats as active: a class and a seat above 00 and an
// empty status or extended study, in a class z_class lists.
const QString kActive = QStringLiteral(
    "SELECT s.* , s.在學科別 || s.在學年級 || s.在學班次 AS code FROM sastuden s "
    "JOIN z_class c ON c.班級碼 = s.在學科別 || s.在學年級 || s.在學班次 "
    "WHERE s.在學班次 > '00' AND s.在學座號 > '00' AND (s.在學狀態 = '' OR s.在學狀態 LIKE "
    "'延修%') "
    "AND s.在學學期 = '1'");

class SampleSchoolContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new TestFolder;
        SampleSchool::Options options;
        options.students = 240;
        options.seed = 11;
        QString error;
        ASSERT_TRUE(SampleSchool::create(s_folder->path(), options, &s_counts, &error))
            << error.toStdString();
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }
    static QString school() { return s_folder->file(QStringLiteral("school.sqlite")); }
    static QString exam() { return s_folder->file(QStringLiteral("exam.mdb")); }

    static TestFolder* s_folder;
    static SampleSchool::Counts s_counts;
};

TestFolder* SampleSchoolContent::s_folder = nullptr;
SampleSchool::Counts SampleSchoolContent::s_counts;

TEST_F(SampleSchoolContent, FilesAreTheProgramFolderBeforeItsFirstStart) {
    // exam.mdb: the grading program's empty tables, without the contact
    // columns start-up adds, and only the grading program's own subjects.
    EXPECT_EQ(count(exam(), "SELECT count(*) FROM name"), 0);
    EXPECT_EQ(count(exam(), "SELECT count(*) FROM periodical1"), 0);
    EXPECT_EQ(
        count(exam(), "SELECT count(*) FROM pragma_table_info('name') WHERE name = 'address'"), 0);
    EXPECT_EQ(TestFolder::rows(exam(), "SELECT class FROM subject ORDER BY class"),
              (QStringList{"000001", "000002"}));
    // school.sqlite: no short-code columns yet.
    EXPECT_EQ(
        count(school(), "SELECT count(*) FROM pragma_table_info('z_dept') WHERE name = '科別簡碼'"),
        0);
    EXPECT_EQ(
        count(school(), "SELECT count(*) FROM pragma_table_info('z_class') WHERE name = '簡碼'"),
        0);

    const Settings settings = readSettingsFile(s_folder->file(QStringLiteral("ASSISTANT.INI")));
    EXPECT_EQ(settings.server, QStringLiteral("sqlite"));
    EXPECT_EQ(settings.databaseName, QStringLiteral("school.sqlite"));
    EXPECT_EQ(settings.year, QStringLiteral("113"));
    EXPECT_EQ(settings.semester, QStringLiteral("1"));
    EXPECT_EQ(settings.examNo, QStringLiteral("1"));
    EXPECT_EQ(settings.examName, QStringLiteral("第一次期中考"));
    EXPECT_EQ(settings.vocational, 0);
}

TEST_F(SampleSchoolContent, TermExamNamesAndAccounts) {
    EXPECT_EQ(TestFolder::rows(school(), "SELECT 學年度, 學期別 FROM z_system"),
              QStringList{"113|1"});
    const QStringList names = TestFolder::rows(school(), "SELECT * FROM z_name");
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(names.first().startsWith(QStringLiteral("第一次期中考|第二次期中考|")));
    EXPECT_EQ(TestFolder::rows(
                  school(), "SELECT 使用者密碼, 使用者權限 FROM z_user WHERE 使用者碼 = 'admin'"),
              QStringList{"admin|A"});
    // At least one account the login must turn away for want of rights.
    EXPECT_GE(count(school(), "SELECT count(*) FROM z_user WHERE instr(使用者權限, 'A') = 0"), 1);
}

TEST_F(SampleSchoolContent, StudentsByStatusSeatAndClass) {
    // The enrolled students asked for, each in a seat of their own but one
    // transfer student who was given a taken seat.
    const QString enrolled = QStringLiteral(
        "FROM sastuden s JOIN z_class c ON c.班級碼 = s.在學科別 || s.在學年級 || s.在學班次 "
        "WHERE s.在學狀態 = '' AND s.在學座號 > '00' AND s.在學班次 > '00' AND s.在學學期 = '1'");
    EXPECT_EQ(
        count(school(),
              "SELECT count(DISTINCT 在學科別 || 在學年級 || 在學班次 || 在學座號) " + enrolled),
        240);
    EXPECT_EQ(count(school(), "SELECT count(*) " + enrolled), 241);
    EXPECT_EQ(s_counts.enrolled, 240);

    EXPECT_GE(count(school(), "SELECT count(*) FROM (" + kActive + ") WHERE 在學狀態 LIKE '延修%'"),
              1);
    // Graduates: a few of this term (the student import takes them) and
    // last year's whole third grade (second semester, not taken).
    EXPECT_GE(count(school(),
                    "SELECT count(*) FROM sastuden WHERE 在學狀態 LIKE '畢業%' AND 在學學期 = '1'"),
              1);
    EXPECT_GE(count(school(),
                    "SELECT count(*) FROM sastuden WHERE 在學狀態 LIKE '畢業%' AND 在學學期 = '2'"),
              60);
    EXPECT_GE(count(school(),
                    "SELECT count(DISTINCT 在學狀態) FROM sastuden WHERE 在學狀態 IN ('轉出', "
                    "'休學', '退學')"),
              2);
    EXPECT_EQ(count(school(), "SELECT count(*) FROM sastuden WHERE 在學狀態 IS NULL"), 1);
    EXPECT_GE(count(school(), "SELECT count(*) FROM sastuden WHERE 在學座號 = '00'"), 2);
    // Two active students whose classes z_class does not list, sharing a seat.
    EXPECT_EQ(
        TestFolder::rows(
            school(),
            "SELECT count(*), count(DISTINCT 在學座號) FROM sastuden s WHERE 在學狀態 = '' AND "
            "在學座號 > '00' AND 在學班次 > '00' AND NOT EXISTS (SELECT 1 FROM z_class c WHERE "
            "c.班級碼 = s.在學科別 || s.在學年級 || s.在學班次)"),
        QStringList{"2|1"});
    EXPECT_EQ(s_counts.studentRows, count(school(), "SELECT count(*) FROM sastuden"));

    // Codes of the widths the program relies on, and real people's data.
    EXPECT_EQ(
        count(school(),
              "SELECT count(*) FROM sastuden WHERE length(在學科別) <> 3 OR length(在學年級) <> 1 "
              "OR length(在學班次) <> 2 OR length(在學座號) <> 2"),
        0);
    EXPECT_EQ(count(school(), "SELECT count(DISTINCT 在學年級) FROM (" + kActive + ")"), 3);
    EXPECT_EQ(count(school(), "SELECT count(*) - count(DISTINCT 身份證號) FROM sastuden"), 0);
    const QStringList ids = TestFolder::rows(
        school(), "SELECT 身份證號 FROM sastuden UNION ALL SELECT 身份證號 FROM z_teach");
    for (const QString& id : ids) ASSERT_TRUE(sample::validNationalId(id)) << id.toStdString();
    const QRegularExpression chinese(QStringLiteral("^[\\x{4e00}-\\x{9fff}]{2,4} ?$"));
    for (const QString& name : TestFolder::rows(school(), "SELECT 姓名 FROM sastuden"))
        ASSERT_TRUE(chinese.match(name).hasMatch()) << name.toStdString();
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM sastuden WHERE 通郵遞區號 IS NOT NULL AND "
                    "length(通郵遞區號) <> 3"),
              0);
}

TEST_F(SampleSchoolContent, DepartmentsClassesAndGroups) {
    // Grouped departments (codes beginning with 10) and others; a department
    // without students, and one only old graduates still carry.
    EXPECT_EQ(TestFolder::rows(school(), "SELECT 科別碼 FROM z_dept ORDER BY 1"),
              (QStringList{"101", "102", "201", "301", "401", "501"}));
    EXPECT_EQ(TestFolder::rows(school(),
                               "SELECT DISTINCT 在學科別 FROM sastuden WHERE 在學科別 NOT IN "
                               "(SELECT 科別碼 FROM z_dept)"),
              QStringList{"105"});
    EXPECT_EQ(count(school(), "SELECT count(*) FROM sastuden WHERE 在學科別 = '501'"), 0);

    // High-school class names: 3-character codes, unique; the general
    // department's classes all carry a group, so they get their names as
    // short codes; the others have a class number beginning with 0.
    EXPECT_EQ(
        count(school(),
              "SELECT count(*) FROM z_class WHERE length(班級名稱) <> 3 OR length(班級碼) <> 6"),
        0);
    EXPECT_EQ(count(school(), "SELECT count(*) - count(DISTINCT 班級名稱) FROM z_class"), 0);
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM z_class WHERE 班級碼 LIKE '101%' AND NOT 班級類組 > '0'"),
              0);
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM z_class WHERE NOT 班級碼 LIKE '101%' AND substr(班級碼, "
                    "5, 1) <> '0'"),
              0);
    EXPECT_EQ(
        TestFolder::rows(
            school(), "SELECT DISTINCT 班級類組 FROM z_class WHERE 班級碼 LIKE '101%' ORDER BY 1"),
        (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(count(school(), "SELECT count(*) FROM z_ugroup"), 4);

    // Group strings: one digit per semester so far, the current one the
    // class's group, with a few students whose string lags behind.
    const int third =
        count(school(), "SELECT count(*) FROM (" + kActive +
                            ") WHERE 在學科別 = '101' AND 在學年級 = '3' AND 在學狀態 = ''");
    const int matching =
        count(school(),
              "SELECT count(*) FROM (" + kActive +
                  ") WHERE 在學科別 = '101' AND 在學年級 = '3' AND "
                  "在學狀態 = '' AND length(學期類組別) = 5 AND "
                  "substr(學期類組別, 5, 1) = (SELECT 班級類組 FROM z_class WHERE 班級碼 = code)");
    EXPECT_GT(third, 0);
    EXPECT_GE(matching * 10, third * 9);
    EXPECT_GE(count(school(), "SELECT count(*) FROM (" + kActive +
                                  ") WHERE 在學科別 = '101' AND 在學年級 > '1' AND "
                                  "length(學期類組別) < 2 * 在學年級 - 1"),
              1);
}

TEST_F(SampleSchoolContent, SubjectsTeachersWeightsAndScores) {
    // Subject codes of 6 characters, and some of 5 and 7 the roster skips.
    EXPECT_EQ(TestFolder::rows(school(), "SELECT DISTINCT length(科目碼) FROM sbcourse ORDER BY 1"),
              (QStringList{"5", "6", "7"}));
    EXPECT_GE(count(school(), "SELECT count(*) FROM z_course WHERE length(科目碼) <> 6"), 2);
    EXPECT_GE(count(school(),
                    "SELECT count(DISTINCT 科目碼) FROM sbcourse WHERE 科目碼 NOT IN (SELECT "
                    "科目碼 FROM z_course)"),
              1);

    // Teachers without courses and courses without teachers; every teacher
    // code of a course is a teacher.
    EXPECT_GE(count(school(),
                    "SELECT count(*) FROM z_teach WHERE 教師碼 NOT IN (SELECT 教師碼 FROM sbcourse "
                    "WHERE 教師碼 IS NOT NULL)"),
              2);
    EXPECT_GE(
        count(school(), "SELECT count(*) FROM sbcourse WHERE 教師碼 IS NULL OR trim(教師碼) = ''"),
        1);
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM sbcourse WHERE trim(教師碼) <> '' AND 教師碼 NOT IN "
                    "(SELECT 教師碼 FROM z_teach)"),
              0);

    // Weights: every exam has weighted and weightless subjects; some are NULL.
    for (int exam = 1; exam <= 5; ++exam) {
        EXPECT_GE(
            count(school(),
                  QStringLiteral("SELECT count(*) FROM sbcourse WHERE 考試比例%1 > 0").arg(exam)),
            1)
            << exam;
        EXPECT_GE(
            count(school(),
                  QStringLiteral("SELECT count(*) FROM sbcourse WHERE 考試比例%1 = 0").arg(exam)),
            1)
            << exam;
    }
    EXPECT_GE(count(school(), "SELECT count(*) FROM sbcourse WHERE 考試比例1 IS NULL"), 1);
    // Every weight is a number or NULL, as the server's numeric columns hold them.
    for (int exam = 1; exam <= 6; ++exam)
        EXPECT_EQ(
            count(school(), QStringLiteral("SELECT count(*) FROM sbcourse WHERE typeof(考試比例%1) "
                                           "NOT IN ('real', 'null')")
                                .arg(exam)),
            0)
            << exam;
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM sbcourse WHERE 考試比例1 IS NOT NULL AND "
                    "考試比例1 + 考試比例2 + 考試比例3 + 考試比例4 + 考試比例5 NOT IN (0, 100)"),
              0);

    // This term: one empty score row per active student and class subject,
    // nothing else of this term except for the students without a seat yet.
    const QString term = QStringLiteral("x.學年度 = '113' AND x.學期別 = '1'");
    EXPECT_EQ(
        count(school(),
              "SELECT count(*) FROM (" + kActive +
                  ") a JOIN sbcourse c ON c.班級碼 = a.code "
                  "WHERE NOT EXISTS (SELECT 1 FROM sbscore x WHERE " +
                  term +
                  " AND x.身份證號 = a.身份證號 AND x.科目碼 = c.科目碼 AND x.班級碼 = a.code)"),
        0);
    EXPECT_EQ(count(school(), "SELECT count(*) FROM (SELECT 1 FROM sbscore x WHERE " + term +
                                  " GROUP BY 身份證號, 科目碼 HAVING count(*) > 1)"),
              0);
    EXPECT_EQ(count(school(), "SELECT count(*) FROM sbscore x WHERE " + term +
                                  " AND NOT EXISTS (SELECT 1 FROM sbcourse c WHERE c.班級碼 = "
                                  "x.班級碼 AND c.科目碼 = x.科目碼)"),
              0);
    EXPECT_EQ(
        count(school(),
              "SELECT count(*) FROM sbscore x JOIN sastuden s ON s.身份證號 = x.身份證號 WHERE " +
                  term +
                  " AND NOT (s.在學座號 > '00' AND (s.在學狀態 = '' OR s.在學狀態 LIKE '延修%'))"),
        count(school(),
              "SELECT count(*) FROM sbscore x JOIN sastuden s ON s.身份證號 = x.身份證號 WHERE " +
                  term + " AND s.在學座號 = '00'"));
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM sbscore x WHERE " + term + " AND 考試成績1 IS NOT NULL"),
              0);
    EXPECT_EQ(count(school(), "SELECT count(*) FROM sbscore x WHERE " + term),
              s_counts.currentScoreRows);
    // Last term's rows are graded, some absent (-9).
    EXPECT_GE(count(school(),
                    "SELECT count(*) FROM sbscore WHERE 學年度 = '112' AND 學期別 = '2' AND "
                    "考試成績1 = -9"),
              1);
    EXPECT_EQ(count(school(),
                    "SELECT count(*) FROM sbscore WHERE 學年度 = '112' AND (考試成績4 < -9 OR "
                    "考試成績4 > 100)"),
              0);
}

TEST(SampleSchoolVocational, StudentNumbersCarryTheDepartmentCodes) {
    TestFolder folder;
    SampleSchool::Options options;
    options.students = 400;
    options.vocational = true;
    options.seed = 4;
    QString error;
    ASSERT_TRUE(SampleSchool::create(folder.path(), options, nullptr, &error))
        << error.toStdString();
    const QString school = folder.file(QStringLiteral("school.sqlite"));

    // Each department's active students agree on characters 2 and 3 of
    // their numbers, and no two numeric departments share the second digit
    // the class codes are built from.
    const QStringList codes = TestFolder::rows(
        school, "SELECT 在學科別, group_concat(DISTINCT substr(學號, 2, 2)) FROM (" + kActive +
                    ") GROUP BY 在學科別 ORDER BY 1");
    EXPECT_EQ(codes, (QStringList{"101|08", "301|01", "302|02", "303|03", "304|04", "401|05",
                                  "402|06", "A01|07"}));
    // Class names follow the vocational codes: grade, department digit,
    // class digit; classes of one department and grade are at most nine.
    EXPECT_EQ(
        count(school,
              "SELECT count(*) FROM z_class c JOIN (" + kActive +
                  ") a ON a.code = c.班級碼 WHERE "
                  "c.班級名稱 <> a.在學年級 || substr(a.學號, 3, 1) || substr(a.在學班次, 2, 1)"),
        0);
    EXPECT_EQ(count(school, "SELECT count(*) - count(DISTINCT 班級名稱) FROM z_class"), 0);
    // A department with no students left.
    EXPECT_EQ(
        count(school,
              "SELECT count(*) FROM z_dept WHERE 科別碼 NOT IN (SELECT 在學科別 FROM sastuden)"),
        1);

    const Settings settings = readSettingsFile(folder.file(QStringLiteral("ASSISTANT.INI")));
    EXPECT_EQ(settings.vocational, 1);
}

// Every table of both databases, row by row.
QStringList dump(const QString& folder) {
    QStringList all;
    for (const QString& file : {QStringLiteral("school.sqlite"), QStringLiteral("exam.mdb")}) {
        const QString path = QDir(folder).filePath(file);
        for (const QString& table : TestFolder::rows(
                 path, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")) {
            all << file + u':' + table;
            all << TestFolder::rows(
                path, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        }
    }
    return all;
}

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SampleSchoolDeterminism, SameSeedSameDataOtherSeedOtherData) {
    TestFolder one, two, three;
    SampleSchool::Options options;
    options.students = 150;
    options.seed = 77;
    ASSERT_TRUE(SampleSchool::create(one.path(), options));
    ASSERT_TRUE(SampleSchool::create(two.path(), options));
    options.seed = 78;
    ASSERT_TRUE(SampleSchool::create(three.path(), options));
    const QStringList first = dump(one.path());
    EXPECT_GT(first.size(), 3000);
    EXPECT_EQ(first, dump(two.path()));
    EXPECT_EQ(contents(one.file("school.sqlite")), contents(two.file("school.sqlite")));
    EXPECT_EQ(contents(one.file("ASSISTANT.INI")), contents(two.file("ASSISTANT.INI")));
    const QStringList other = dump(three.path());
    EXPECT_NE(first, other);
    // Another seed changes the people, not the shape of the school.
    const char* classes = "SELECT 班級碼, 班級名稱, 班級類組 FROM z_class ORDER BY 1";
    EXPECT_EQ(TestFolder::rows(one.file("school.sqlite"), classes),
              TestFolder::rows(three.file("school.sqlite"), classes));
}

TEST(SampleSchoolCreate, RefusesToOverwriteAndRejectsBadOptions) {
    TestFolder folder;
    QFile existing(folder.file(QStringLiteral("EXAM.MDB")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("the school's real grading data");
    existing.close();
    QString error;
    EXPECT_FALSE(SampleSchool::create(folder.path(), SampleSchool::Options(), nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("EXAM.MDB"))) << error.toStdString();
    EXPECT_EQ(contents(folder.file(QStringLiteral("EXAM.MDB"))),
              QByteArray("the school's real grading data"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("school.sqlite"))));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("ASSISTANT.INI"))));

    SampleSchool::Options tooFew;
    tooFew.students = 10;
    const QString fresh = folder.file(QStringLiteral("fresh/school"));
    EXPECT_FALSE(SampleSchool::create(fresh, tooFew, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("學生人數"))) << error.toStdString();

    // A file where the folder should be.
    EXPECT_FALSE(SampleSchool::create(folder.file(QStringLiteral("EXAM.MDB")),
                                      SampleSchool::Options(), nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("不是資料夾"))) << error.toStdString();

    // A folder that does not exist yet is made, with all three files.
    EXPECT_TRUE(SampleSchool::create(fresh, SampleSchool::Options(), nullptr, &error))
        << error.toStdString();
    for (const char* name : {"exam.mdb", "school.sqlite", "ASSISTANT.INI"})
        EXPECT_TRUE(QFile::exists(QDir(fresh).filePath(QString::fromLatin1(name)))) << name;
}

}  // namespace
