#include <gtest/gtest.h>

#include "TestFolder.h"
#include "ops/AppContext.h"
#include "sample/SampleSchool.h"
#include "startup/StartupSteps.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

// Makes a sample school and prepares its short codes as start-up does, in
// the class-code mode the school was made for.
QString preparedSchool(const TestFolder& folder, bool vocational) {
    SampleSchool::Options options;
    options.students = 300;
    options.vocational = vocational;
    options.seed = 21;
    QString error;
    EXPECT_TRUE(SampleSchool::create(folder.path(), options, nullptr, &error))
        << error.toStdString();
    AppContext context;
    context.appPath = folder.path();
    context.settings.server = QStringLiteral("sqlite");
    context.settings.databaseName = SampleSchool::schoolFileName();
    context.settings.vocational = vocational ? 1 : 0;
    EXPECT_TRUE(openSchoolConnection(context));
    prepareShortCodes(context);
    context.school.close();
    return folder.file(SampleSchool::schoolFileName());
}

// Classes with at least one active student.
const char* kTaughtClasses =
    "SELECT DISTINCT c.班級碼, c.班級名稱, c.簡碼 FROM z_class c JOIN sastuden s ON c.班級碼 = "
    "s.在學科別 || "
    "s.在學年級 || s.在學班次 WHERE s.在學班次 > '00' AND s.在學座號 > '00' AND (s.在學狀態 = '' "
    "OR s.在學狀態 LIKE '延修%')";

void expectEveryClassCoded(const QString& school) {
    const QStringList classes = TestFolder::rows(school, kTaughtClasses);
    EXPECT_EQ(classes.size(), TestFolder::rows(school, "SELECT 班級碼 FROM z_class").size());
    QStringList codes;
    for (const QString& row : classes) {
        const QStringList parts = row.split(u'|');
        EXPECT_EQ(parts[2], parts[1]) << row.toStdString();  // short code = the class's name
        EXPECT_EQ(parts[2].size(), 3) << row.toStdString();
        codes << parts[2];
    }
    codes.removeDuplicates();
    EXPECT_EQ(codes.size(), classes.size()) << "two classes share a short code";
}

TEST(SampleShortCodes, HighSchoolModeNumbersDepartmentsAndUsesClassNames) {
    TestFolder folder;
    const QString school = preparedSchool(folder, false);
    // Numbered in code order over every student's department, the closed
    // department 105 using up 12; the department without students gets none.
    EXPECT_EQ(TestFolder::rows(school, "SELECT 科別碼, 科別簡碼 FROM z_dept ORDER BY 1"),
              (QStringList{"101|10", "102|11", "201|13", "301|14", "401|15", "501|"}));
    expectEveryClassCoded(school);
}

TEST(SampleShortCodes, VocationalModeTakesDepartmentCodesFromStudentNumbers) {
    TestFolder folder;
    const QString school = preparedSchool(folder, true);
    // A01 is numbered on from the last numeric department (402, 06).
    EXPECT_EQ(TestFolder::rows(school, "SELECT 科別碼, 科別簡碼 FROM z_dept ORDER BY 1"),
              (QStringList{"101|08", "301|01", "302|02", "303|03", "304|04", "305|", "401|05",
                           "402|06", "A01|07"}));
    expectEveryClassCoded(school);
}

}  // namespace
