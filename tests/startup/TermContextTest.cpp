#include <gtest/gtest.h>
#include <QFile>

#include "SchoolFixture.h"
#include "startup/StartupSteps.h"

using namespace korvex;
using korvex::test::SchoolFixture;
using korvex::test::TestFolder;

namespace {

void setSystem(const SchoolFixture& f, const QVariant& year, const QVariant& semester) {
    TestFolder::run(f.schoolFile,
                    QStringLiteral("INSERT INTO z_system (學年度, 學期別) VALUES (?, ?)"),
                    {year, semester});
}

// After an attempt, failed or not, nothing is left pending on the connection.
void expectNoErrorsLeft(const SchoolFixture& f) { EXPECT_FALSE(f.context.school.errorPending()); }

}  // namespace

TEST(TermContext, TermComesFromTheFirstRowOfZSystemWithoutTrailingBlanks) {
    SchoolFixture f;
    setSystem(f, QStringLiteral("95 "), QStringLiteral("2"));
    setSystem(f, QStringLiteral("96"), QStringLiteral("1"));
    LoadTermContext(f.context);
    EXPECT_TRUE(f.context.schoolConnected);
    EXPECT_TRUE(f.context.school.isOpen());
    EXPECT_TRUE(f.context.schoolFailure.isEmpty());
    EXPECT_EQ(f.context.settings.year, QStringLiteral("95"));
    EXPECT_EQ(f.context.settings.semester, QStringLiteral("2"));
    expectNoErrorsLeft(f);

    // The title then names the school's term.
    BuildMainTitle(f.context);
    EXPECT_EQ(f.window.windowCaption,
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期)[高中版]"));
}

TEST(TermContext, ZSystemWithoutRowsKeepsTheTermAndConnects) {
    SchoolFixture f;
    f.context.settings.year = QStringLiteral("94");
    f.context.settings.semester = QStringLiteral("1");
    LoadTermContext(f.context);
    EXPECT_TRUE(f.context.schoolConnected);
    EXPECT_EQ(f.context.settings.year, QStringLiteral("94"));
    EXPECT_EQ(f.context.settings.semester, QStringLiteral("1"));
    expectNoErrorsLeft(f);
}

TEST(TermContext, UnreadableZSystemFailsTheAttemptAlthoughTheServerAnswered) {
    const QList<QStringList> brokenTables{
        {QStringLiteral("DROP TABLE z_system")},
        {QStringLiteral("INSERT INTO z_system VALUES ('95', '2')"),
         QStringLiteral("ALTER TABLE z_system DROP COLUMN 學期別")},
        {QStringLiteral("INSERT INTO z_system VALUES ('95', NULL)")},
        {QStringLiteral("INSERT INTO z_system VALUES (NULL, '2')")},
    };
    for (const QStringList& broken : brokenTables) {
        SCOPED_TRACE(broken.join(u';').toStdString());
        SchoolFixture f;
        TestFolder::run(f.schoolFile, broken);
        f.context.schoolConnected = true;
        LoadTermContext(f.context);
        EXPECT_FALSE(f.context.schoolConnected);
        EXPECT_TRUE(f.context.school.isOpen());
        EXPECT_FALSE(f.context.schoolFailure.isEmpty());
        // Neither half of the term is taken from a row that cannot be read whole.
        EXPECT_EQ(f.context.settings.year, QStringLiteral("94"));
        EXPECT_EQ(f.context.settings.semester, QStringLiteral("1"));
        expectNoErrorsLeft(f);
    }
}

TEST(TermContext, DatabaseThatCannotBeOpenedAndALaterAttemptThatSucceeds) {
    SchoolFixture f;
    setSystem(f, QStringLiteral("95"), QStringLiteral("2"));
    QFile junk(f.folder.file(QStringLiteral("junk.sqlite")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a database");
    junk.close();

    for (const QString& name : {QStringLiteral("missing.sqlite"), QStringLiteral("junk.sqlite")}) {
        SCOPED_TRACE(name.toStdString());
        f.context.settings.databaseName = name;
        LoadTermContext(f.context);
        EXPECT_FALSE(f.context.schoolConnected);
        EXPECT_FALSE(f.context.school.isOpen());
        EXPECT_FALSE(f.context.schoolFailure.isEmpty());
        EXPECT_EQ(f.context.settings.year, QStringLiteral("94"));
        expectNoErrorsLeft(f);
    }
    EXPECT_FALSE(QFile::exists(f.folder.file(QStringLiteral("missing.sqlite"))));

    // The user corrects the settings: the next attempt replaces the
    // connection and succeeds.
    f.context.settings.databaseName = QStringLiteral("school.sqlite");
    LoadTermContext(f.context);
    EXPECT_TRUE(f.context.schoolConnected);
    EXPECT_TRUE(f.context.schoolFailure.isEmpty());
    EXPECT_EQ(f.context.settings.year, QStringLiteral("95"));
    EXPECT_EQ(f.context.school.databaseName(), f.schoolFile);
}
