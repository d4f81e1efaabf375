#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>

#include "ModalDriver.h"
#include "StatementTable.h"
#include "TestFolder.h"
#include "db/Connection.h"
#include "db/SqlDialect.h"
#include "sample/SampleGrading.h"
#include "sample/SampleSchool.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

using namespace korvex;
using korvex::test::click;
using korvex::test::ModalDriver;
using korvex::test::setText;
using korvex::test::tableForm;
using korvex::test::TestFolder;
using Icon = MainWindowInterface::Icon;
using Answer = MainWindowInterface::Answer;

namespace {

int count(const QString& dbFile, const QString& table) {
    const QStringList rows =
        TestFolder::rows(dbFile, QStringLiteral("select count(*) from ") + table);
    return rows.isEmpty() ? -1 : rows.first().toInt();
}

// After an operation the window is usable again and the busy display gone.
void expectIdle(MainWindow& window, const char* item) {
    EXPECT_TRUE(window.isWindowEnabled()) << item;
    EXPECT_TRUE(window.menuBar()->isEnabled()) << item;
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("MsgLbl"))->isVisible()) << item;
    EXPECT_FALSE(window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->isVisible())
        << item;
}

}  // namespace

// The office's whole term on a small sample school, through the menus of the
// real window: base data, roster, grading, export, the teachers' workbooks
// and the self-check.
TEST(SampleSchoolMenus, EveryOperationRunsFromItsMenuItem) {
    TestFolder folder;
    SampleSchool::Options options;
    options.students = 80;
    options.seed = 5;
    QString error;
    ASSERT_TRUE(SampleSchool::create(folder.path(), options, nullptr, &error))
        << error.toStdString();
    const QString exam = folder.file(QStringLiteral("exam.mdb"));
    const QString school = folder.file(QStringLiteral("school.sqlite"));

    // Every statement that reaches exam.mdb is noted, to be checked against
    // the table of the statements and their Access form.
    QStringList examStatements;
    QStringList schoolStatements;
    struct ObserverGuard {
        ~ObserverGuard() { Connection::setStatementObserver({}); }
    } guard;
    Connection::setStatementObserver([&](const Connection& connection, const QString& sql) {
        if (connection.lastFile().endsWith(QLatin1String("exam.mdb"), Qt::CaseInsensitive))
            examStatements << tableForm(sql);
        else if (connection.lastFile().endsWith(QLatin1String("school.sqlite")))
            schoolStatements << tableForm(sql);
    });

    ModalDriver driver;
    driver.expect(QStringLiteral("frmLogin2"), [](QWidget* dialog) {
        setText(dialog, QStringLiteral("txtUserName"), QStringLiteral("admin"));
        setText(dialog, QStringLiteral("txtPassword"), QStringLiteral("admin"));
        click(dialog, QStringLiteral("cmdOK"));
    });
    MessageBox::Script boxes;
    MainWindow window;
    ASSERT_EQ(window.start(folder.path()), Startup::Result::Ready);
    const QString caption = window.windowTitle();
    EXPECT_TRUE(caption.contains(QStringLiteral("113學年第1學期"))) << caption.toStdString();

    struct Step {
        const char* item;
        QString lastText;
        const char* table;
        const char* operation;
    };
    const Step steps[] = {
        {"mnua_1", QStringLiteral("科別資料匯入完成!"), "dep", "departments"},
        {"mnua_2", QStringLiteral("班級資料匯入完成!"), "class", "classes"},
        // The sample school has one doubled seat, which the check reports.
        {"mnua_3", QStringLiteral("請檢查!"), "name", "students"},
        {"mnua_4", QStringLiteral("科目資料匯入完成!"), "subject", "subjects"},
        {"mnua_5", QStringLiteral("教師資料匯入完成!"), "teacher", "teachers"},
        {"mnua_6", QStringLiteral("考試科目資料匯入完成!"), "course", "courses"},
    };
    for (const Step& step : steps) {
        boxes.clear();
        window.findChild<QAction*>(QLatin1String(step.item))->trigger();
        ASSERT_FALSE(boxes.shown().isEmpty()) << step.item;
        // The last message ends with the copy of exam.mdb taken before.
        const QString last = boxes.shown().last().text;
        EXPECT_TRUE(
            last.contains(step.lastText + QStringLiteral("\r\n(原有的考試資料庫已先備份為 ")))
            << step.item << ": " << last.toStdString();
        EXPECT_TRUE(last.contains(QRegularExpression(
            QStringLiteral("-%1(-\\d+)?\\.mdb\\)$").arg(QLatin1String(step.operation)))))
            << step.item << ": " << last.toStdString();
        for (const auto& box : boxes.shown()) EXPECT_EQ(box.title, caption) << step.item;
        EXPECT_GT(count(exam, QString::fromLatin1(step.table)), 0) << step.item;
        expectIdle(window, step.item);
    }
    EXPECT_EQ(boxes.shown().last().icon, Icon::None);
    EXPECT_GE(count(exam, QStringLiteral("name")), options.students);

    // Roster, rebuilt: the question first, then the completion message.
    boxes.clear();
    boxes.answer(Answer::Yes);
    window.findChild<QAction*>(QStringLiteral("mnue_1"))->trigger();
    ASSERT_EQ(boxes.shown().size(), 2) << boxes.texts().join(u'\n').toStdString();
    EXPECT_EQ(boxes.shown().first().text,
              QStringLiteral("選擇[是]清除所有資料重新轉入, 選擇[否]更新資料, 選擇[取消]離開"));
    EXPECT_TRUE(boxes.shown().last().text.contains(QStringLiteral("考試科目資料匯入完成!")))
        << boxes.shown().last().text.toStdString();
    EXPECT_TRUE(boxes.shown().last().text.contains(
        QRegularExpression(QStringLiteral("-roster(-\\d+)?\\.mdb\\)$"))))
        << boxes.shown().last().text.toStdString();
    const int rosterRows = count(exam, QStringLiteral("periodical1"));
    EXPECT_GT(rosterRows, options.students);
    expectIdle(window, "mnue_1");

    // The grading program scores the roster; export sends every graded row.
    ASSERT_TRUE(gradeSample(folder.path(), 1, 5, nullptr, &error)) << error.toStdString();
    const int graded =
        TestFolder::rows(exam, QStringLiteral("select count(*) from periodical1 where upload = 1"))
            .value(0)
            .toInt();
    ASSERT_GT(graded, 0);
    boxes.clear();
    window.findChild<QAction*>(QStringLiteral("mnue_2"))->trigger();
    ASSERT_FALSE(boxes.shown().isEmpty());
    EXPECT_TRUE(boxes.shown().last().text.contains(QStringLiteral("考試科目成績資料匯出完成!")))
        << boxes.shown().last().text.toStdString();
    EXPECT_EQ(
        TestFolder::rows(exam, QStringLiteral("select count(*) from periodical1 where upload = 2")),
        QStringList{QString::number(graded)});
    EXPECT_GT(
        TestFolder::rows(school, QStringLiteral("select count(*) from sbscore where 學年度 = '113' "
                                                "and 學期別 = '1' and 考試成績1 is not null"))
            .value(0)
            .toInt(),
        0);
    expectIdle(window, "mnue_2");

    // Workbooks for every teacher, one file each, named after the teacher key.
    boxes.clear();
    boxes.type(QStringLiteral("All"));
    window.findChild<QAction*>(QStringLiteral("mnua_7"))->trigger();
    ASSERT_EQ(boxes.prompts().size(), 1);
    ASSERT_FALSE(boxes.shown().isEmpty());
    EXPECT_EQ(boxes.shown().last().text, QStringLiteral("產生教師登錄成績Excel檔完成! 檔案於 ") +
                                             QDir::toNativeSeparators(folder.path()) +
                                             QStringLiteral(" 資料夾下!"));
    const QStringList workbooks =
        QDir(folder.path()).entryList({QStringLiteral("*-*.xls")}, QDir::Files);
    EXPECT_FALSE(workbooks.isEmpty());
    const QStringList teachersWithCourses = TestFolder::rows(
        school,
        QStringLiteral("select count(distinct 教師碼) from sbcourse where 教師碼 is not null "
                       "and 教師碼 <> ''"));
    EXPECT_LE(workbooks.size(), teachersWithCourses.value(0).toInt());
    expectIdle(window, "mnua_7");

    // The self-check after the term's work: every line passes, in one box.
    boxes.clear();
    window.findChild<QAction*>(QStringLiteral("mnud_6"))->trigger();
    ASSERT_EQ(boxes.shown().size(), 1);
    const QString report = boxes.shown().first().text;
    EXPECT_TRUE(report.contains(QStringLiteral("失敗 0 項"))) << report.toStdString();
    // Under Wine the only warning is the missing Access driver, which the
    // SQLite stand-in of exam.mdb does not need.
    for (const QString& line : report.split(QStringLiteral("\r\n")))
        if (line.startsWith(QStringLiteral("警告  "))) {
            EXPECT_TRUE(line.contains(QStringLiteral("目前的 exam.mdb 是 SQLite 檔")))
                << line.toStdString();
        }
    expectIdle(window, "mnud_6");

    EXPECT_TRUE(driver.unexpected.isEmpty()) << driver.unexpected.join(',').toStdString();
    window.close();

    // docs/access-statements.md lists each of them with its Jet form, and
    // docs/school-statements.md each statement to the school database with
    // the form its SQLite stand-in receives.
    EXPECT_GT(examStatements.size(), 20);
    EXPECT_GT(schoolStatements.size(), 20);
    const auto unlisted = [](const char* document, const QStringList& statements,
                             SqlDialect dialect) {
        QString tableError;
        const auto table =
            korvex::test::readStatementTable(QString::fromLatin1(document), &tableError);
        EXPECT_FALSE(table.isEmpty()) << document << ": " << tableError.toStdString();
        QSet<QString> listed;
        for (const auto& row : table) listed.insert(tableForm(row.written));
        QStringList missing;
        for (const QString& statement : statements)
            if (!listed.contains(statement))
                missing << QStringLiteral("| `%1` | `%2` |")
                               .arg(statement,
                                    translateStatement(statement, dialect).join("`<br>`"));
        missing.removeDuplicates();
        return missing.join(u'\n').toStdString();
    };
    EXPECT_EQ(unlisted("access-statements.md", examStatements, SqlDialect::Access), "");
    EXPECT_EQ(unlisted("school-statements.md", schoolStatements, SqlDialect::Sqlite), "");
}
